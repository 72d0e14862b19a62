#pragma once

#include <QString>
#include <QtGlobal>

// The systems the manual has parts for: how a user starts, finds, moves and removes the program
// differs between them.
enum class ManualSystem { Linux, Windows };

#ifdef Q_OS_WIN
inline constexpr ManualSystem kThisSystem = ManualSystem::Windows;
#else
inline constexpr ManualSystem kThisSystem = ManualSystem::Linux;
#endif

// The manual as a user of `system` reads it: the common text with that system's own parts.
QString manual(ManualSystem system = kThisSystem);
