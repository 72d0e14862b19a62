#pragma once

#include "desktop/JapaneseFont.h"
#include "desktop/Twips.h"

#include <QWidget>

// The windows of the first run share one frame: 5415 × 3630 twips, a close box only, 9 pt
// gothic, and deleted when closed, so that closing the last one ends the program.
inline constexpr int kFirstRunClientWidth = 5415;
inline constexpr int kFirstRunClientHeight = 3630;

inline void setUpFirstRunWindow(QWidget* window, const QString& title) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window->setWindowTitle(title);
    window->setFixedSize(twipsToPixels(kFirstRunClientWidth), twipsToPixels(kFirstRunClientHeight));
    window->setFont(msGothic(9));
}
