#pragma once

#include <QColor>

#include <functional>
#include <optional>

class QString;
class QWidget;

// The desktop's colour chooser, starting on `start`; nothing when the user cancels. On Windows
// it is Windows' own, whose custom colours last while the program runs: Qt's keeps them in the
// registry, and merely opening it makes a key there.
std::optional<QColor> chooseColour(QWidget* parent, const QColor& start);

// Qt's colour chooser keeps its custom colours in the settings of the organisation "QtProject",
// a file in the user's configuration folder; kept in `folder` instead, so that the program
// leaves nothing outside its data folder. Nothing to do on Windows.
void keepCustomColoursIn(const QString& folder);

// While a chooser is set, it answers instead of the dialog (tests).
void setColourChooser(std::function<std::optional<QColor>(const QColor& start)> chooser);
