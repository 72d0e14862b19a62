#include "desktop/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void putTextOnClipboard(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}
