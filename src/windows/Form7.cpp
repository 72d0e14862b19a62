#include "windows/Form7.h"

#include "platform/JapaneseFont.h"

#include <QLabel>

Form7::Form7() : Label1(new QLabel(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(msGothic(9));
}

QString Form7::reportText() const {
    return Label1->text();
}

void Form7::setReportText(const QString& text) {
    Label1->setText(text);
}
