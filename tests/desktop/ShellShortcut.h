#pragma once

// A shortcut file as the shell reads it, through its own IShellLinkW, as Windows does at sign-in.
// COM must be initialised on the calling thread.

#include <QDir>
#include <QString>

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

inline const wchar_t* wideText(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

struct ShellShortcut {
    QString target, folder, arguments, description;
};

// Empty fields when the shell cannot read it.
inline ShellShortcut readShellShortcut(const QString& path) {
    ShellShortcut read;
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(wideText(QDir::toNativeSeparators(path)), STGM_READ))) {
        wchar_t text[INFOTIPSIZE] = {};
        if (SUCCEEDED(link->GetPath(text, INFOTIPSIZE, nullptr, SLGP_RAWPATH)))
            read.target = QDir::fromNativeSeparators(QString::fromWCharArray(text));
        if (SUCCEEDED(link->GetWorkingDirectory(text, INFOTIPSIZE)))
            read.folder = QDir::fromNativeSeparators(QString::fromWCharArray(text));
        if (SUCCEEDED(link->GetArguments(text, INFOTIPSIZE)))
            read.arguments = QString::fromWCharArray(text);
        if (SUCCEEDED(link->GetDescription(text, INFOTIPSIZE)))
            read.description = QString::fromWCharArray(text);
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    return read;
}
