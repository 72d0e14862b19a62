#include "desktop/MessageBox.h"

#include "desktop/ProgramTitle.h"

#include <QMessageBox>

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

void setMessageInterceptor(std::function<void(const QString&)> newInterceptor) {
    interceptor() = std::move(newInterceptor);
}
