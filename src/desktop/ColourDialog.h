#pragma once

#include <QColor>

#include <functional>
#include <optional>

class QWidget;

// The desktop's colour chooser, starting on `start`; nothing when the user cancels.
std::optional<QColor> chooseColour(QWidget* parent, const QColor& start);

// While a chooser is set, it answers instead of the dialog (tests).
void setColourChooser(std::function<std::optional<QColor>(const QColor& start)> chooser);
