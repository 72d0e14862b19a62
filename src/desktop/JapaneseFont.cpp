#include "desktop/JapaneseFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace {
QString msGothicFamily() {
    return QStringLiteral("ＭＳ ゴシック");
}

QStringList msGothicSubstitutes() {
#ifdef Q_OS_WIN
    // Japanese Windows has the font itself; elsewhere its English name or another Japanese
    // gothic font, else whatever Japanese font the system has (Wine: the host's fonts).
    return QStringList{QStringLiteral("MS Gothic"), QStringLiteral("Yu Gothic"),
                       QStringLiteral("Meiryo"), QStringLiteral("MS UI Gothic")} +
           QFontDatabase::families(QFontDatabase::Japanese);
#else
    return {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
            QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Noto Sans CJK JP"),
            QStringLiteral("VL Gothic")};
#endif
}
} // namespace

void installJapaneseFontSubstitutes() {
    QFont::insertSubstitutions(msGothicFamily(), msGothicSubstitutes());
}

QFont msGothic(qreal pointSize, bool bold) {
    QFont font(msGothicFamily());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}
