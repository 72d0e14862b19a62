#include "windows/StartConfirmWindow.h"

#include "windows/GreetingWindow.h"
#include "engine/Clock.h"
#include "platform/EnterKeyPreview.h"
#include "platform/JapaneseFont.h"
#include "platform/Twips.h"
#include "windows/FirstRunWindow.h"
#include "app/StartSequence.h"
#include "app/Program.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kTextLeft = 420;
constexpr int kTextWidth = kFirstRunClientWidth - 2 * kTextLeft;

QLabel* centredLabel(QWidget* parent, const QString& name, const QString& text, int top,
                     int height = 210) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    l->setGeometry(twipsRect(kTextLeft, top, kTextWidth, height));
    return l;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QRect& r) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(twipsRect(r.x(), r.y(), r.width(), r.height()));
    return b;
}

// The dates on which the start of quitting is greeted first.
bool isGreetingDay(std::int64_t month, std::int64_t day) {
    return (month == 12 && (day == 24 || day == 25)) || (month == 1 && day >= 1 && day <= 3);
}

} // namespace

StartConfirmWindow::StartConfirmWindow() {
    setUpFirstRunWindow(this, QStringLiteral(" ようこそケムリン式へ - pimaru"));
    buildDesign();
    previewKeysOf(this);
}

void StartConfirmWindow::buildDesign() {
    Label1 = centredLabel(this, QStringLiteral("Label1"), QStringLiteral("ようこそケムリン式へ"),
                          300, 255);
    Label1->setFont(msGothic(9, true));
    Label2[0] = centredLabel(this, QStringLiteral("Label2_0"),
                             QStringLiteral("これでタバコとは、永遠のサヨナラとなります。"), 780);
    Label2[1] = centredLabel(this, QStringLiteral("Label2_1"),
                             QStringLiteral("今からケムリンを開始しますか？"), 1050);
    Label3 = centredLabel(this, QStringLiteral("Label3"), QStringLiteral("どうしますか？"), 1470);

    Command1 = button(this, QStringLiteral("Command1"), QStringLiteral("ケムリンを開始する(CR)"),
                      QRect(1170, 1860, 3075, 600));
    Command2[0] = button(this, QStringLiteral("Command2_0"), QStringLiteral("もう少し考える"),
                         QRect(240, 2955, 2175, 375));
    Command2[1] = button(this, QStringLiteral("Command2_1"), QStringLiteral("また次の機会にする"),
                         QRect(3000, 2955, 2175, 375));

    connect(Command1, &QPushButton::clicked, this, &StartConfirmWindow::Command1_Click);
    for (int i = 0; i < 2; ++i)
        connect(Command2[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });

    setTabOrder(Command1, Command2[0]);
    setTabOrder(Command2[0], Command2[1]);
    Command1->setFocus();
}

bool StartConfirmWindow::eventFilter(QObject* watched, QEvent* event) {
    if (isEnterPress(event)) {
        Command1_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void StartConfirmWindow::Command1_Click() {
    AppState& state = appState();
    state.quitMoment = currentMinuteParts();
    if (isGreetingDay(state.quitMoment[2], state.quitMoment[3])) {
        // The greeting's own button starts the count; nothing is written until then.
        auto* greeting = new GreetingWindow;
        greeting->load();
        greeting->move(pos());
        greeting->show();
        hide();
        close();
        return;
    }
    runStartSequence(this);
}

void StartConfirmWindow::Command2_Click(int /*index*/) {
    // Both buttons decline alike: no window is left, so the program ends having written nothing.
    close();
}
