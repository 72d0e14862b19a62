#pragma once

#include <QWidget>

class QLabel;

// The mini window: the six-line report as its only text. For now it only holds the text.
class MiniWindow : public QWidget {
    Q_OBJECT
public:
    MiniWindow();

    QString reportText() const;
    void setReportText(const QString& text);

private:
    QLabel* reportLabel;
};
