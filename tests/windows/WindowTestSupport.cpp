#include "WindowTestSupport.h"

#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWidget>

WindowTestEnvironment::WindowTestEnvironment()
    : clock(QDateTime(QDate(2008, 8, 26), QTime(10, 23, 41))) {
    useInstanceLockFile(m_dir.filePath(QStringLiteral("instance.lock")));
    Clock::install(&clock);
    RandomDraw::install(&draw);
    setMessageInterceptor([this](const QString& text) { messages << text; });
    program = std::make_unique<Program>(m_dir.path());
}

WindowTestEnvironment::~WindowTestEnvironment() {
    // The program first, so that closing what is left does not open its successors.
    program.reset();
    closeAllWindows();
    setMessageInterceptor({});
    RandomDraw::install(nullptr);
    Clock::install(nullptr);
}

QByteArray WindowTestEnvironment::readFile(const QString& relativePath) const {
    QFile file(m_dir.filePath(relativePath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WindowTestEnvironment::writeFile(const QString& relativePath, const QByteArray& bytes) const {
    const QString path = m_dir.filePath(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void WindowTestEnvironment::writeSettings(const QByteArray& initialLine,
                                          const QByteArray& optionLine) const {
    writeFile(kInitialFile, initialLine);
    writeFile(kOptionFile, optionLine);
}

MainWindow* WindowTestEnvironment::startProgram() {
    program->start();
    MainWindow* main = program->mainWindow();
    if (main && main->isVisible() && !QTest::qWaitForWindowExposed(main))
        return nullptr;
    return main;
}

void clickButton(QWidget* window, const QString& button) {
    QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
}

void closeAllWindows() {
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->parentWidget()) // popup menus go with their windows
            windows << w;
    }
    for (const QPointer<QWidget>& w : windows) {
        if (w)
            w->close();
        delete w.data();
    }
}
