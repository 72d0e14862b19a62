#include "windows/HelpWindow.h"

#include "desktop/EnterKeyPreview.h"
#include "desktop/JapaneseFont.h"
#include "desktop/Twips.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const QString& manual) : helpText(new QPlainTextEdit(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral(" ケムリン式 - help"));
    helpText->setObjectName(QStringLiteral("helpText"));
    helpText->setFont(msGothic(12));
    helpText->setReadOnly(true);
    helpText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    helpText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    helpText->setPlainText(manual);

    // The text fills the window however it is resized; a minimised window keeps its size.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(helpText);

    resize(twipsToPixels(7575), twipsToPixels(8100));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    previewKeysOf(this);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (isEscapePress(event)) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
