#pragma once

#include "engine/BodyRecovery.h"

#include <QColor>
#include <QWidget>

#include <array>

class QLabel;
class QProgressBar;

// からだの回復: one row for each step of the body's recovery, with how far the count has come
// towards it; the next step stands out in the counter's colours with the time left.
class RecoveryWindow : public QWidget {
    Q_OBJECT
public:
    RecoveryWindow();

    void showProgress(const RecoveryProgress& progress);
    // How far the longest earlier attempt got ("最長記録では『1年』まで"); empty hides it.
    void showBestRun(const QString& text);
    // The colours of the main window's figures, which the next step is shown in.
    void setHighlightColours(const QColor& background, const QColor& text);

protected:
    // Escape closes the window, wherever the focus is.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        QLabel* when;
        QLabel* meaning;
        QWidget* barCell;
        QProgressBar* bar;
        QLabel* state; // the date reached, or the time left for the next step
    };
    void buildRows();
    void markRow(const Row& row, bool next);

    std::array<Row, kRecoveryMilestoneCount> m_rows{};
    QLabel* m_bestRun = nullptr;
    QColor m_highlight;
    QColor m_highlightText;
    std::optional<int> m_next;
};
