#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// One character of code page 932 as the system's converter sees it: ICU's table on Debian,
// the system's own code page on Windows. TextCodec.cpp mends where the two part.

// The character a one- or two-byte unit stands for; empty when the converter cannot read it.
std::optional<char16_t> readCodePage932Unit(QByteArrayView unit);
// The bytes of one UTF-16 code unit; empty when the converter cannot write it.
std::optional<QByteArray> writeCodePage932Unit(char16_t character);
