#pragma once

#include "settings/ProgramAddresses.h"

#include <QByteArray>

// option.ini as the program writes it: code page 932 ("ソルジャー" in its bytes), CR LF.
inline QByteArray optionLine(int started, int mainLeft, int mainTop, int backColour = 9241372,
                             int textColour = 16777215) {
    return QByteArray::number(started) + ",8744,5,0,5,1," + QByteArray::number(mainLeft) + ',' +
           QByteArray::number(mainTop) + ',' + QByteArray::number(backColour) + ',' +
           QByteArray::number(textColour) + ",\"" + kDefaultBlogUrl + "\",2,0,0," +
           "\"\x83\x5c\x83\x8b\x83\x57\x83\x83\x81\x5b\"\r\n";
}

// The line a first start writes.
inline QByteArray defaultOptionLine() {
    return optionLine(0, 0, 0);
}
