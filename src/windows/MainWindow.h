#pragma once

#include "engine/StatusEngine.h"
#include "engine/StatusReport.h"

#include <QWidget>

#include <array>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class ShapeWidget;

// The main window: the figures since quitting, refreshed every 30 seconds.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow();

    // Reads both settings files, runs the first refresh and places the window.
    void load();
    // Writes one refresh's texts, lung colour, pictures and progress bar.
    void showStatus(const StatusSnapshot& status);
    // The texts the report copies, as they are shown now.
    ShownTexts shownTexts() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildDesign();
    void placeOnScreen();
    void colourValueLabels();
    void Command3_Click();
    void Label2_Click(int index);

    std::array<QLabel*, 6> Label2{};
    std::array<QLabel*, 3> Image1{}; // items 10, 11, 12
    std::array<QLabel*, 3> Image3{}; // items 0, 1, 2
    std::array<ShapeWidget*, 2> Shape2{};
    ShapeWidget* Shape1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QTimer* Timer1 = nullptr;
    bool m_unloaded = false;
};
