#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;

// The start confirmation: confirming makes the current minute the quit moment.
class StartConfirmWindow : public QWidget {
    Q_OBJECT
public:
    StartConfirmWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildDesign();
    void Command1_Click();
    void Command2_Click(int index);

    QLabel* Label1 = nullptr;
    std::array<QLabel*, 2> Label2{};
    QLabel* Label3 = nullptr;
    QPushButton* Command1 = nullptr;
    std::array<QPushButton*, 2> Command2{};
};
