#include "desktop/ColourDialog.h"

#ifdef Q_OS_WIN
#include <QWidget>

#include <qt_windows.h>

#include <array>
#include <commdlg.h>
#else
#include <QColorDialog>
#include <QSettings>
#endif

namespace {
std::function<std::optional<QColor>(const QColor&)>& chooser() {
    static std::function<std::optional<QColor>(const QColor&)> instance;
    return instance;
}

#ifdef Q_OS_WIN
std::optional<QColor> chooseWithWindows(QWidget* parent, const QColor& start) {
    static std::array<COLORREF, 16> custom = [] {
        std::array<COLORREF, 16> white;
        white.fill(RGB(255, 255, 255));
        return white;
    }();
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = parent ? reinterpret_cast<HWND>(parent->window()->winId()) : nullptr;
    dialog.rgbResult = RGB(start.red(), start.green(), start.blue());
    dialog.lpCustColors = custom.data();
    dialog.Flags = CC_RGBINIT;
    if (!ChooseColorW(&dialog))
        return std::nullopt;
    return QColor(GetRValue(dialog.rgbResult), GetGValue(dialog.rgbResult),
                  GetBValue(dialog.rgbResult));
}
#endif
} // namespace

std::optional<QColor> chooseColour(QWidget* parent, const QColor& start) {
    if (chooser())
        return chooser()(start);
#ifdef Q_OS_WIN
    return chooseWithWindows(parent, start);
#else
    const QColor chosen = QColorDialog::getColor(start, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
#endif
}

void keepCustomColoursIn([[maybe_unused]] const QString& folder) {
#ifndef Q_OS_WIN
    // Qt's chooser reads and writes them through QSettings' native format, which is a file
    // here; the program keeps no settings of its own that way.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
#endif
}

void setColourChooser(std::function<std::optional<QColor>(const QColor& start)> newChooser) {
    chooser() = std::move(newChooser);
}
