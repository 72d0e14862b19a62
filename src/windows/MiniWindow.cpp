#include "windows/MiniWindow.h"

#include "platform/JapaneseFont.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QMouseEvent>

MiniWindow::MiniWindow()
    : CounterWindow(QStringLiteral("標準サイズで運転する")), reportLabel(new QLabel(this)) {
    setWindowTitle(QStringLiteral(" ケムリン式 mini mode"));
    setAutoFillBackground(true);
    reportLabel->setObjectName(QStringLiteral("reportLabel"));
    reportLabel->setFont(msGothic(9));
    reportLabel->setAutoFillBackground(true);
    reportLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Wider than the window, as designed: long lines run past its right edge. The design's six
    // lines are 12 pixels each; a font with taller lines gets the room it needs.
    QRect label = twipsRect(120, 120, 5000, 1095);
    label.setHeight(std::max(label.height(), 6 * reportLabel->fontMetrics().lineSpacing()));
    reportLabel->setGeometry(label);
    setFixedSize(twipsToPixels(4230),
                 std::max(twipsToPixels(1320), label.bottom() + 1 + label.top()));
}

QString MiniWindow::reportText() const {
    return m_report;
}

void MiniWindow::setReportText(const QString& text) {
    m_report = text;
    // Laying out six lines costs as much as a refresh: a hidden window does it when it shows.
    if (isVisible())
        reportLabel->setText(text);
}

void MiniWindow::showEvent(QShowEvent* event) {
    reportLabel->setText(m_report);
    CounterWindow::showEvent(event);
}

void MiniWindow::setColours(const QColor& background, const QColor& text) {
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    setPalette(p);
    reportLabel->setPalette(p);
}

void MiniWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton)
        showPopupMenu(event->globalPosition().toPoint());
}

void MiniWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        hideToTray();
}
