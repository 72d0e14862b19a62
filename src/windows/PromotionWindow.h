#pragma once

#include <QWidget>

// The edition for groups, in a few lines, with a button to its page.
class PromotionWindow : public QWidget {
    Q_OBJECT
public:
    PromotionWindow();

signals:
    void pageRequested();
    // The window closes, by its button or its close box.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape closes the window; Enter presses the focused button.
    bool eventFilter(QObject* watched, QEvent* event) override;
};
