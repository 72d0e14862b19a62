#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The first-run setup window: cigarettes a day, pack price and cigarette size.
class SetupWindow : public QWidget {
    Q_OBJECT
public:
    SetupWindow();

    // Ends the process at once when another instance of the program runs.
    void load();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildDesign();
    void Command1_Click();

    std::array<QLabel*, 4> Label2{};
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    std::array<QLineEdit*, 2> Text1{};
    std::array<QRadioButton*, 3> Option1{};
    QPushButton* Command1 = nullptr;
};

// Start-up's way in while quitting has not been started: the setup window, loaded and shown.
void showFirstRunWindow();
