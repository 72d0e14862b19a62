#include "desktop/Manual.h"

#include <QFile>

// help.txt is one text for every system: a line "#if windows" or "#if linux" opens a part only
// that system's users read, "#endif" closes it; the marker lines themselves are never shown.
QString manual(ManualSystem system) {
    QFile file(QStringLiteral(":/help.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString own = system == ManualSystem::Windows ? QStringLiteral("#if windows")
                                                        : QStringLiteral("#if linux");
    QString text;
    bool shown = true;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(QLatin1String("#if ")))
            shown = line == own;
        else if (line == QLatin1String("#endif"))
            shown = true;
        else if (shown)
            text += line + u'\n';
    }
    text.chop(1);
    return text;
}
