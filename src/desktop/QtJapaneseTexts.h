#pragma once

// Qt's own texts in Japanese, whatever the desktop's language: the colour dialog, the text
// boxes' menu, the message boxes' buttons. The program's own texts are Japanese already.
void installQtJapaneseTexts();
