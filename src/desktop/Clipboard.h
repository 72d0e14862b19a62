#pragma once

#include <QString>

// Replaces the clipboard's contents with a plain Unicode text.
void putTextOnClipboard(const QString& text);
