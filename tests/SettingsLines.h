#pragma once

#include "settings/ProgramAddresses.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

// initial.ini of a count started on 21 August 2008 at 10:23, twenty a day at 300 yen, regular
// size: five days and 1500 yen by the window tests' clock.
inline const QByteArray kFiveDaysInitial("2008,8,21,10,23,20,300,85\r\n");

// option.ini as the program writes it: code page 932 ("ソルジャー" in its bytes), CR LF.
struct OptionLine {
    int started = 1, mainLeft = 0, mainTop = 0, backColour = 9241372, textColour = 16777215;
    int windowMode = 2, miniLeft = 0, miniTop = 0, copyPlus = 0;

    QByteArray bytes() const {
        const auto n = [](int v) { return QByteArray::number(v); };
        return n(started) + ",8744,5," + n(copyPlus) + ",5,1," + n(mainLeft) + ',' + n(mainTop) +
               ',' + n(backColour) + ',' + n(textColour) + ",\"" + kDefaultBlogUrl + "\"," +
               n(windowMode) + ',' + n(miniLeft) + ',' + n(miniTop) + ',' +
               "\"\x83\x5c\x83\x8b\x83\x57\x83\x83\x81\x5b\"\r\n";
    }
};

// A file's bytes as they stand, or "<missing>".
inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
