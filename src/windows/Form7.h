#pragma once

#include <QWidget>

class QLabel;

// The mini window: the six-line report as its only text. For now it only holds the text.
class Form7 : public QWidget {
    Q_OBJECT
public:
    Form7();

    QString reportText() const;
    void setReportText(const QString& text);

private:
    QLabel* Label1;
};
