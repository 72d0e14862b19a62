#pragma once

#include <QWidget>

#include <array>

class QPushButton;

// The start confirmation: asks whether the count starts now.
class StartConfirmWindow : public QWidget {
    Q_OBJECT
public:
    StartConfirmWindow();

signals:
    void startRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildDesign();

    QPushButton* startButton = nullptr;
    std::array<QPushButton*, 2> declineButtons{};
};
