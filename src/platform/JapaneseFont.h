#pragma once

#include <QFont>

// The windows ask for "ＭＳ ゴシック"; this maps it onto an installed Japanese gothic font.
void installJapaneseFontSubstitutes();

// "ＭＳ ゴシック" at the given point size.
QFont msGothic(qreal pointSize, bool bold = false);
