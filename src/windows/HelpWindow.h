#pragma once

#include <QWidget>

class QPlainTextEdit;

// The manual it is given, in one scrolling text that fills the window at every size.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& manual);

protected:
    // Escape closes the window, wherever the focus is.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* helpText;
};
