#include "desktop/SessionAutostart.h"

#include "desktop/ProgramTitle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

// The Desktop Entry Specification, version 1.5: string values escape backslashes and control
// characters, and Exec quotes each argument that holds a reserved character.
namespace {

QString escapedValue(QString text) {
    text.replace(u'\\', QLatin1String("\\\\"));
    text.replace(u'\n', QLatin1String("\\n"));
    text.replace(u'\t', QLatin1String("\\t"));
    text.replace(u'\r', QLatin1String("\\r"));
    if (text.startsWith(u' '))
        text.replace(0, 1, QLatin1String("\\s"));
    return text;
}

QString unescapedValue(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        switch (text[++i].unicode()) {
        case 's':
            plain += u' ';
            break;
        case 'n':
            plain += u'\n';
            break;
        case 't':
            plain += u'\t';
            break;
        case 'r':
            plain += u'\r';
            break;
        default:
            plain += text[i];
        }
    }
    return plain;
}

QString execArgument(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString quoted;
    bool quote = argument.isEmpty();
    for (const QChar c : argument) {
        quote = quote || reserved.contains(c);
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted.replace(u'%', QLatin1String("%%"));
    return quote ? u'"' + quoted + u'"' : quoted;
}

// Exec's arguments, its value unescaped already; field codes are left as they stand.
QStringList execArguments(const QString& exec) {
    QStringList arguments;
    QString current;
    bool inWord = false, quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted && c == u'\\' && i + 1 < exec.size()) {
            current += exec[++i];
        } else if (c == u'"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && c == u' ') {
            if (inWord)
                arguments << current;
            current.clear();
            inWord = false;
        } else {
            current += c;
            inWord = true;
        }
    }
    if (inWord)
        arguments << current;
    for (QString& argument : arguments)
        argument.replace(QLatin1String("%%"), QLatin1String("%"));
    return arguments;
}

// The keys of the file's [Desktop Entry] group, their values unescaped.
QHash<QString, QString> desktopEntry(const QByteArray& bytes) {
    QHash<QString, QString> keys;
    bool inGroup = false;
    for (const QString& line : QString::fromUtf8(bytes).split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[')) {
            inGroup = trimmed == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inGroup || trimmed.startsWith(u'#') || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        if (!keys.contains(key))
            keys.insert(key, unescapedValue(line.mid(equals + 1).trimmed()));
    }
    return keys;
}

} // namespace

QString sessionAutostartPath() {
    // XDG_CONFIG_HOME when it is an absolute path, ~/.config otherwise.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/jp.example.kemurin.desktop");
}

AutostartEntry sessionAutostartEntry(const SessionStart& start) {
    // A link that leads nowhere starts nothing either.
    QFile file(sessionAutostartPath());
    if (!QFileInfo::exists(file.fileName()))
        return AutostartEntry::None;
    if (!file.open(QIODevice::ReadOnly))
        return AutostartEntry::Other;
    // An entry is a few lines: the head of a huge file is enough to tell it is not ours.
    const QHash<QString, QString> keys = desktopEntry(file.read(64 * 1024));
    // Turned off in the desktop's settings, it starts nothing: ticking turns it on again.
    if (keys.value(QStringLiteral("Hidden")) == QLatin1String("true") ||
        keys.value(QStringLiteral("X-GNOME-Autostart-enabled")) == QLatin1String("false"))
        return AutostartEntry::None;
    const QStringList exec = execArguments(keys.value(QStringLiteral("Exec")));
    const bool ours = !exec.isEmpty() && exec.first() == start.program &&
                      keys.value(QStringLiteral("Path")) == start.folder;
    return ours ? AutostartEntry::Ours : AutostartEntry::Other;
}

bool addSessionAutostart(const SessionStart& start) {
    const QString path = sessionAutostartPath();
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    // A link stands where the entry goes: the entry replaces the link, never what it points at.
    if (QFileInfo(path).isSymLink() && !QFile::remove(path))
        return false;
    QStringList lines{QStringLiteral("[Desktop Entry]"), QStringLiteral("Type=Application"),
                      QStringLiteral("Name=") + escapedValue(programTitle()),
                      QStringLiteral("Exec=") +
                          escapedValue(execArgument(start.program) + QStringLiteral(" --tray")),
                      QStringLiteral("Terminal=false")};
    if (!start.folder.isEmpty())
        lines << QStringLiteral("Path=") + escapedValue(start.folder);
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write((lines.join(u'\n') + u'\n').toUtf8()) >= 0 && file.commit();
}

bool removeSessionAutostart(const SessionStart& start) {
    if (sessionAutostartEntry(start) != AutostartEntry::Ours)
        return true;
    return QFile::remove(sessionAutostartPath());
}
