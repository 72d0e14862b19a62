#pragma once

#include "engine/AttemptRecord.h"

#include <QWidget>

#include <vector>

class QGridLayout;
class QLabel;
class QPushButton;
class QScrollArea;

// "これまでの記録": the attempt running now, the longest one, how many there were, each that a
// slip ended with its figures and note, and what they all add up to.
class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    HistoryWindow();

    // partlyUnread: some lines of the history did not read and are left out.
    void showRecord(const AttemptRecord& record, const std::vector<PastAttempt>& past,
                    bool partlyUnread);

signals:
    void copyRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showRows(const AttemptRecord& record, const std::vector<PastAttempt>& past);

    QLabel* currentValue = nullptr;
    QLabel* bestValue = nullptr;
    QLabel* countValue = nullptr;
    QLabel* toBestLabel = nullptr;
    QLabel* unreadLabel = nullptr;
    QScrollArea* attemptRows = nullptr;
    QGridLayout* rows = nullptr;
    QLabel* totalsValue = nullptr;
    QPushButton* copyButton = nullptr;
    QPushButton* closeButton = nullptr;
};
