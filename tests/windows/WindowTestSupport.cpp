#include "WindowTestSupport.h"

#include "app/ApplicationLook.h"
#include "desktop/MessageBox.h"
#include "desktop/TrayIcon.h"
#include "desktop/WebAddress.h"

#include <QInputMethodEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

// Sees the application asked to end, which no test of its own does.
class QuitWatch : public QObject {
public:
    QuitWatch() { qApp->installEventFilter(this); }
    ~QuitWatch() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* target, QEvent* event) override {
        asked = asked || (target == qApp && event->type() == QEvent::Quit);
        return false;
    }
    bool asked = false;
};

} // namespace

WindowTestEnvironment::WindowTestEnvironment()
    : clock(QDateTime(QDate(2008, 8, 26), QTime(10, 23, 41))) {
    // The program's fonts and icon, as at its start.
    [[maybe_unused]] static const bool looked = (prepareApplicationLook(), true);
    // The user's lock and the socket a second start calls are the test's own.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path()));
    Clock::install(&clock);
    RandomDraw::install(&draw);
    TrayIcon::assumeAvailable(true);
    setMessageInterceptor([this](const QString& text) { messages << text; });
    setWebAddressOpener([this](const QUrl& url) { return (opened << url.toString(), opens); });
    program = std::make_unique<Program>(m_dir.path());
}

WindowTestEnvironment::~WindowTestEnvironment() {
    // The program first, so that closing what is left does not open its successors.
    program.reset();
    // Then every window left over; popup menus go with their windows.
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows << (w->parentWidget() ? nullptr : w);
    for (const QPointer<QWidget>& w : windows) {
        if (w)
            w->close();
        delete w.data();
    }
    setMessageInterceptor({});
    setWebAddressOpener({});
    TrayIcon::assumeAvailable(std::nullopt);
    RandomDraw::install(nullptr);
    Clock::install(nullptr);
}

MainWindow* WindowTestEnvironment::startCounting(const OptionLine& option,
                                                 const QByteArray& initial) {
    writeSettings(initial, option.bytes());
    program->start();
    if (!QTest::qWaitForWindowExposed(shown<CounterWindow>()))
        qFatal("no counter window");
    return program->mainWindow();
}

bool WindowTestEnvironment::startAnsweringMessages() {
    setMessageInterceptor({});
    QuitWatch quit;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        user.stop();
        if (QTest::qWaitForWindowExposed(box, 2000)) {
            messages << box->text();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        }
        user.start();
    });
    user.start(20);
    QTimer::singleShot(0, [this] {
        program->start();
        QCoreApplication::exit();
    });
    QApplication::exec();
    setMessageInterceptor([this](const QString& text) { messages << text; });
    return !quit.asked;
}

QString WindowTestEnvironment::answerQuestion(bool yes, const std::function<void()>& ask) {
    setMessageInterceptor({});
    QString asked;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !QTest::qWaitForWindowExposed(box))
            return;
        if (box->defaultButton() == box->button(QMessageBox::No))
            asked = box->text();
        QTest::mouseClick(box->button(yes ? QMessageBox::Yes : QMessageBox::No), Qt::LeftButton);
    });
    ask();
    setMessageInterceptor([this](const QString& text) { messages << text; });
    return asked;
}

bool programEndsAfter(const std::function<void()>& action) {
    QObject giveUp; // gone with this call, so its timer cannot cut a later loop short
    QTimer::singleShot(0, action);
    QTimer::singleShot(500, &giveUp, [] { QCoreApplication::exit(1); });
    return QApplication::exec() == 0;
}

void typeInto(QLineEdit* edit, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(edit, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(edit, &commit);
        }
    }
}

StartConfirmWindow* acceptSetup(const QString& perDay, const QString& price) {
    SetupWindow* setup = shown<SetupWindow>();
    if (!setup)
        return nullptr;
    typeInto(control<QLineEdit>(setup, QStringLiteral("perDayEdit")), perDay);
    typeInto(control<QLineEdit>(setup, QStringLiteral("packPriceEdit")), price);
    clickButton(setup, QStringLiteral("acceptButton"));
    return shown<StartConfirmWindow>();
}

QString cutOff(QWidget* window) {
    for (QWidget* c : window->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(c);
        const auto* button = qobject_cast<QAbstractButton*>(c);
        const QString text = label ? label->text() : button ? button->text() : QString();
        if (text.isEmpty() || !c->isVisibleTo(window))
            continue;
        // A push button's hint has a floor of its own: its text must fit, with the frame.
        const int needs = qobject_cast<QPushButton*>(c)
                              ? c->fontMetrics().horizontalAdvance(text) + 6
                              : c->sizeHint().width();
        if (!window->rect().contains(c->geometry()) || needs > c->width())
            return text;
    }
    return {};
}
