#pragma once

#include <QAbstractButton>

// Tab stops at the chosen option of a row only, as in a dialog; the arrow keys move within it.
inline void tabStopsWhenChosen(QAbstractButton* option) {
    const auto follow = [option](bool chosen) {
        option->setFocusPolicy(chosen ? Qt::StrongFocus : Qt::ClickFocus);
    };
    follow(option->isChecked());
    QObject::connect(option, &QAbstractButton::toggled, option, follow);
}
