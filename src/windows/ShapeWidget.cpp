#include "windows/ShapeWidget.h"

#include <QPainter>

ShapeWidget::ShapeWidget(Kind kind, QWidget* parent) : QWidget(parent), m_kind(kind) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::setFillColour(const QColor& colour) {
    if (colour == m_fill)
        return;
    m_fill = colour;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, m_kind == Kind::Oval);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_fill);
    if (m_kind == Kind::Oval)
        painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    else
        painter.drawRect(rect());
}
