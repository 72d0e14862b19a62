#include "engine/WideDigits.h"

QString wideNumber(std::int64_t value) {
    QString text = QString::number(value);
    for (QChar& c : text) {
        if (c.isDigit())
            c = QChar(u'０' + (c.unicode() - u'0'));
        else if (c == u'-')
            c = QChar(u'－');
    }
    return text;
}
