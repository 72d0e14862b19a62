#pragma once

#include <QSize>

// Size of the primary screen in twips.
QSize primaryScreenTwips();

// False where the desktop places windows itself and does not tell a window where it stands
// (Wayland): there the saved places are kept as they are and no window is moved.
bool windowsCanBePlaced();
