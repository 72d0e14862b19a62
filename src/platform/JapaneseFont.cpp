#include "platform/JapaneseFont.h"

#include <QStringList>

namespace {
QString msGothicFamily() {
    return QStringLiteral("ＭＳ ゴシック");
}
} // namespace

void installJapaneseFontSubstitutes() {
    QFont::insertSubstitutions(msGothicFamily(),
                               {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                                QStringLiteral("Noto Sans Mono CJK JP"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic")});
}

QFont msGothic(qreal pointSize, bool bold) {
    QFont font(msGothicFamily());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}
