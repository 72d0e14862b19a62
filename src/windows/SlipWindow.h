#pragma once

#include "settings/AppState.h"

#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;
class QRadioButton;

// "吸ってしまった…": says kindly what recording a slip does, and asks when counting starts again
// and for a note. What it hands over has passed its check; its owner records it.
class SlipWindow : public QWidget {
    Q_OBJECT
public:
    // The typed moment starts out as `now`; it may not lie before currentStart.
    SlipWindow(const DateTimeParts& currentStart, const DateTimeParts& now);

signals:
    void recordRequested(const DateTimeParts& restart, const QString& note);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void record();

    DateTimeParts m_currentStart;
    QRadioButton* nowOption = nullptr;
    QRadioButton* momentOption = nullptr;
    std::array<QLineEdit*, 5> momentEdits{};
    QLineEdit* noteEdit = nullptr;
    QPushButton* recordButton = nullptr;
    QPushButton* cancelButton = nullptr;
};
