#include "desktop/ColourDialog.h"

#include <QColorDialog>

namespace {
std::function<std::optional<QColor>(const QColor&)>& chooser() {
    static std::function<std::optional<QColor>(const QColor&)> instance;
    return instance;
}
} // namespace

std::optional<QColor> chooseColour(QWidget* parent, const QColor& start) {
    if (chooser())
        return chooser()(start);
    const QColor chosen = QColorDialog::getColor(start, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

void setColourChooser(std::function<std::optional<QColor>(const QColor& start)> newChooser) {
    chooser() = std::move(newChooser);
}
