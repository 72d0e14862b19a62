#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;

// The seasonal greeting shown before the count starts on 24/25 December and 1-3 January.
class GreetingWindow : public QWidget {
    Q_OBJECT
public:
    GreetingWindow();

    // Chooses the greeting for the quit date that the start confirmation has just set.
    void load();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildDesign();
    void Command1_Click();

    QLabel* Label1 = nullptr;
    std::array<QLabel*, 3> Image1{};
    QLabel* Label2 = nullptr;
    std::array<QLabel*, 2> Label3{};
    QPushButton* Command1 = nullptr;
};
