#include "desktop/MessageBox.h"

#include "desktop/ProgramTitle.h"

#include <QMessageBox>
#include <QPushButton>

namespace {
std::function<void(const QString&)>& interceptor() {
    static std::function<void(const QString&)> instance;
    return instance;
}
} // namespace

void showOkMessage(QWidget* parent, const QString& text) {
    if (interceptor()) {
        interceptor()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, programTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool askYesNo(QWidget* parent, const QString& text) {
    if (interceptor()) {
        interceptor()(text);
        return false;
    }
    QMessageBox box(QMessageBox::NoIcon, programTitle(), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void setMessageInterceptor(std::function<void(const QString&)> newInterceptor) {
    interceptor() = std::move(newInterceptor);
}
