// Prints what the shell reads from the program's shortcut in the Startup folder, a field a line in
// UTF-8: target, working folder, arguments, description. test-wine.sh compares them with the
// program that made it. Status 1 when there is no shortcut the shell can read.
#include "ShellShortcut.h"

#include "desktop/SessionAutostart.h"

#include <cstdio>

int main() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    const ShellShortcut read = readShellShortcut(sessionAutostartPath());
    CoUninitialize();
    if (read.target.isEmpty())
        return 1;
    for (const QString& field : {read.target, read.folder, read.arguments, read.description})
        std::printf("%s\n", field.toUtf8().constData());
    return 0;
}
