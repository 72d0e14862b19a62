#include "desktop/CommandLine.h"

#include "desktop/ProgramTitle.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

#ifdef Q_OS_WIN
constexpr bool kSlashOptions = true;
#else
constexpr bool kSlashOptions = false;
#endif

QString usage() {
    if (kSlashOptions)
        return QStringLiteral("kemurin.exe [/tray]\n\n"
                              "/tray\tウィンドウを出さずに、通知領域のアイコンにしまって"
                              "起動します。\n"
                              "/?\tこの説明を表示します。");
    return QStringLiteral("使い方: kemurin [オプション]\n"
                          "禁煙してからの時間、節約したお金、吸わなかったタバコの本数を"
                          "数えます。\n\n"
                          "  --tray     ウィンドウを出さずに、通知領域のアイコンにしまって"
                          "起動します\n"
                          "  --help     この説明を表示して終了します\n"
                          "  --version  バージョンを表示して終了します\n");
}

void tell(const QString& text, FILE* stream) {
#ifdef Q_OS_WIN
    Q_UNUSED(stream);
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.utf16()),
                reinterpret_cast<const wchar_t*>(programTitle().utf16()),
                MB_OK | (stream == stderr ? MB_ICONWARNING : MB_ICONINFORMATION));
#else
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
#endif
}

} // namespace

CommandLine readCommandLine(const QStringList& words, bool qtTookItsOwn) {
    CommandLine line;
    bool afterQtOption = false;
    for (const QString& word : words) {
        const bool slash = kSlashOptions && word.startsWith(u'/');
        const QString option = slash ? QStringLiteral("--") + word.mid(1).toLower() : word;
        if (option == QLatin1String("--tray")) {
            line.tray = true;
        } else if (option == QLatin1String("--help") || (slash && word == QLatin1String("/?"))) {
            line.answer = CommandLine::Help;
            return line;
        } else if (option == QLatin1String("--version")) {
            line.answer = CommandLine::Version;
            return line;
        } else if (!qtTookItsOwn && !slash && !option.startsWith(QLatin1String("--")) &&
                   (option.startsWith(u'-') || afterQtOption)) {
            // Qt's, or the value of one of Qt's.
            afterQtOption = option.startsWith(u'-');
            continue;
        } else if (line.refused.isEmpty() &&
                   (qtTookItsOwn || slash || option.startsWith(QLatin1String("--")))) {
            line.refused = word;
        }
        afterQtOption = false;
    }
    if (!line.refused.isEmpty())
        line.answer = CommandLine::Refused;
    return line;
}

int answerCommandLine(const CommandLine& line) {
    switch (line.answer) {
    case CommandLine::Help:
        tell(usage(), stdout);
        return 0;
    case CommandLine::Version:
        tell(QStringLiteral("kemurin ") + programVersion() +
                 QStringLiteral("\nCopyright (C) 2026 ") + programAuthor() + u'\n',
             stdout);
        return 0;
    case CommandLine::Refused:
        tell(QStringLiteral("kemurin: 不明な引数です: ") + line.refused + u'\n' +
                 (kSlashOptions ? u'\n' + usage()
                                : QStringLiteral("使えるオプションは kemurin --help で"
                                                 "表示できます。\n")),
             stderr);
        return 2;
    case CommandLine::Run:
        break;
    }
    return 0;
}
