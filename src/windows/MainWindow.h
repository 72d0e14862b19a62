#pragma once

#include "engine/StatusEngine.h"
#include "windows/CounterWindow.h"

#include <array>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class ShapeWidget;

// The main window: the figures since quitting, refreshed every 30 seconds.
class MainWindow : public CounterWindow {
    Q_OBJECT
public:
    MainWindow();

    // Writes one refresh's texts, lung colour, pictures and progress bar; ends the detail view.
    void showStatus(const StatusSnapshot& status);
    void setValueColours(const QColor& background, const QColor& text);
    // True while the elapsed time is shown in days, hours and minutes.
    bool isDetailed() const { return m_detailed; }

signals:
    void refreshDue();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // A click on the lung picture asks for the body's recovery.
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildDesign();
    void toggleDetailView();
    // True where the window's own surface shows, not a label, picture or button.
    bool isOwnSurface(const QPointF& position) const;
    bool isOnLungs(const QPointF& position) const;

    QLabel* elapsedValue = nullptr;
    QLabel* lifeValue = nullptr;
    QLabel* moneyValue = nullptr;
    QLabel* statusValue = nullptr;
    QLabel* cigarettesValue = nullptr;
    QLabel* messageValue = nullptr;
    std::array<QLabel*, 3> ducks{};
    std::array<QLabel*, 3> happyDucks{};
    ShapeWidget* lungLeft = nullptr;
    ShapeWidget* lungRight = nullptr;
    ShapeWidget* lungBridge = nullptr;
    QProgressBar* milestoneProgress = nullptr;
    QPushButton* settingsButton = nullptr;
    QPushButton* blogButton = nullptr;
    QPushButton* copyButton = nullptr;
    QPushButton* helpButton = nullptr;
    QTimer* refreshTimer = nullptr;
    ElapsedTime m_elapsed;
    bool m_detailed = false;
    // The release that ends a double click on the elapsed time does not toggle it back.
    bool m_skipNextRelease = false;
};
