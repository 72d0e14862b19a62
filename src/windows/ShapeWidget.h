#pragma once

#include <QColor>
#include <QWidget>

// A filled oval or rectangle, as the lung drawing is made of.
class ShapeWidget : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Oval, Rectangle };

    ShapeWidget(Kind kind, QWidget* parent);

    QColor fillColour() const { return m_fill; }
    void setFillColour(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind m_kind;
    QColor m_fill = Qt::white;
};
