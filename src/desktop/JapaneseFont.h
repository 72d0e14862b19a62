#pragma once

#include <QFont>

// The windows ask for "ＭＳ ゴシック"; where the system lacks it, this maps it onto an installed
// Japanese gothic font (needs the application object).
void installJapaneseFontSubstitutes();

// "ＭＳ ゴシック" at the given point size.
QFont msGothic(qreal pointSize, bool bold = false);
