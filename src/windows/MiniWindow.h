#pragma once

#include "windows/CounterWindow.h"

class QLabel;

// The mini window: the six-line report as its only text; every command is in its popup menu.
class MiniWindow : public CounterWindow {
    Q_OBJECT
public:
    MiniWindow();

    QString reportText() const;
    void setReportText(const QString& text);
    void setColours(const QColor& background, const QColor& text);

protected:
    void showEvent(QShowEvent* event) override;
    // The label lets mouse presses through, so these cover the whole window.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Sizes the window to the report it shows.
    void fitToReport();

    QLabel* reportLabel;
    QString m_report;
};
