#include "windows/MiniWindow.h"

#include "platform/JapaneseFont.h"

#include <QLabel>

MiniWindow::MiniWindow() : Label1(new QLabel(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(msGothic(9));
}

QString MiniWindow::reportText() const {
    return Label1->text();
}

void MiniWindow::setReportText(const QString& text) {
    Label1->setText(text);
}
