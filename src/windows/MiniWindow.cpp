#include "windows/MiniWindow.h"

#include "platform/JapaneseFont.h"

#include <QLabel>

MiniWindow::MiniWindow() : reportLabel(new QLabel(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    reportLabel->setObjectName(QStringLiteral("reportLabel"));
    reportLabel->setFont(msGothic(9));
}

QString MiniWindow::reportText() const {
    return reportLabel->text();
}

void MiniWindow::setReportText(const QString& text) {
    reportLabel->setText(text);
}
