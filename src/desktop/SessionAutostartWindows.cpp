#include "desktop/SessionAutostart.h"

#include "desktop/ProgramTitle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace {

// COM for the calling thread, as long as the object lives; a thread that has it already keeps it.
class ComScope {
public:
    ComScope() : m_ok(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (m_ok)
            CoUninitialize();
    }

private:
    bool m_ok;
};

template <class T> class ComPointer {
public:
    ~ComPointer() {
        if (m_p)
            m_p->Release();
    }
    T* operator->() const { return m_p; }
    T** out() { return &m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

QString sameFileName(const QString& path) {
    return QDir::cleanPath(QDir::fromNativeSeparators(path)).toCaseFolded();
}

struct ShortcutTarget {
    QString program;
    QString folder;
};

std::optional<ShortcutTarget> readShortcut(const QString& path) {
    ComPointer<IShellLinkW> link;
    ComPointer<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.out()))) ||
        FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out()))) ||
        FAILED(file->Load(wide(QDir::toNativeSeparators(path)), STGM_READ)))
        return std::nullopt;
    wchar_t program[MAX_PATH * 4] = {};
    wchar_t folder[MAX_PATH * 4] = {};
    // SLGP_RAWPATH: the path as written, not one the shell looked for elsewhere.
    if (FAILED(link->GetPath(program, MAX_PATH * 4, nullptr, SLGP_RAWPATH)) ||
        FAILED(link->GetWorkingDirectory(folder, MAX_PATH * 4)))
        return std::nullopt;
    return ShortcutTarget{QString::fromWCharArray(program), QString::fromWCharArray(folder)};
}

bool writeShortcut(const QString& path, const SessionStart& start) {
    ComPointer<IShellLinkW> link;
    ComPointer<IPersistFile> file;
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, reinterpret_cast<void**>(link.out()))) &&
           SUCCEEDED(link->SetPath(wide(QDir::toNativeSeparators(start.program)))) &&
           SUCCEEDED(link->SetWorkingDirectory(wide(QDir::toNativeSeparators(start.folder)))) &&
           SUCCEEDED(link->SetArguments(L"/tray")) &&
           SUCCEEDED(link->SetDescription(wide(programTitle()))) &&
           SUCCEEDED(
               link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out()))) &&
           SUCCEEDED(file->Save(wide(QDir::toNativeSeparators(path)), TRUE));
}

} // namespace

QString sessionAutostartPath() {
    PWSTR folder = nullptr;
    QString path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, KF_FLAG_DEFAULT, nullptr, &folder)))
        path = QDir::fromNativeSeparators(QString::fromWCharArray(folder)) + u'/' + programTitle() +
               QStringLiteral(".lnk");
    CoTaskMemFree(folder);
    return path;
}

AutostartEntry sessionAutostartEntry(const SessionStart& start) {
    const QString path = sessionAutostartPath();
    // The file itself: Qt's QFileInfo follows a shortcut to its target, and one whose program
    // is gone is still there to keep.
    if (path.isEmpty() ||
        GetFileAttributesW(wide(QDir::toNativeSeparators(path))) == INVALID_FILE_ATTRIBUTES)
        return AutostartEntry::None;
    ComScope com;
    const std::optional<ShortcutTarget> target = readShortcut(path);
    const bool ours = target && sameFileName(target->program) == sameFileName(start.program) &&
                      sameFileName(target->folder) == sameFileName(start.folder);
    return ours ? AutostartEntry::Ours : AutostartEntry::Other;
}

bool addSessionAutostart(const SessionStart& start) {
    const QString path = sessionAutostartPath();
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).path()))
        return false;
    // Saved beside it under another name, then put in its place: a shortcut half written
    // never stands in the Startup folder.
    const QString writing = path + QStringLiteral(".new");
    ComScope com;
    const bool written =
        writeShortcut(writing, start) &&
        MoveFileExW(wide(QDir::toNativeSeparators(writing)), wide(QDir::toNativeSeparators(path)),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!written)
        QFile::remove(writing);
    return written;
}

bool removeSessionAutostart(const SessionStart& start) {
    if (sessionAutostartEntry(start) != AutostartEntry::Ours)
        return true;
    return QFile::remove(sessionAutostartPath());
}
