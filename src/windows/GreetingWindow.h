#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

class QLabel;
class QPushButton;

// The seasonal greeting shown before the count starts on 24/25 December and 1-3 January.
class GreetingWindow : public QWidget {
    Q_OBJECT
public:
    // The greeting for the quit date just fixed.
    GreetingWindow(std::int64_t month, std::int64_t day);

    // The dates on which the start of quitting is greeted first.
    static bool greets(std::int64_t month, std::int64_t day);

signals:
    void startRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildDesign();
    void showGreeting(std::int64_t month, std::int64_t day);

    QLabel* occasionLabel = nullptr;
    std::array<QLabel*, 3> ornaments{};
    QLabel* greetingLabel = nullptr;
    std::array<QLabel*, 2> wishLabels{};
    QPushButton* startButton = nullptr;
};
