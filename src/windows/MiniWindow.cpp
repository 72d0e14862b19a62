#include "windows/MiniWindow.h"

#include "desktop/JapaneseFont.h"
#include "desktop/Twips.h"

#include <QLabel>
#include <QMouseEvent>

MiniWindow::MiniWindow()
    : CounterWindow(QStringLiteral("標準サイズで運転する")), reportLabel(new QLabel(this)) {
    setWindowTitle(QStringLiteral(" ケムリン式 mini mode"));
    setAutoFillBackground(true);
    reportLabel->setObjectName(QStringLiteral("reportLabel"));
    reportLabel->setFont(msGothic(9));
    reportLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    reportLabel->move(twipsToPixels(120), twipsToPixels(120));
    fitToReport();
}

void MiniWindow::fitToReport() {
    // The designed size is the least: a report's longest line widens the window, keeping the
    // label's margin on the right too, and there is room for six lines whatever their height.
    const QSize margins = 2 * QSize(reportLabel->x(), reportLabel->y());
    const QSize text =
        reportLabel->sizeHint().expandedTo(QSize(0, 6 * reportLabel->fontMetrics().lineSpacing()));
    const QSize size = QSize(twipsToPixels(4230), twipsToPixels(1320)).expandedTo(text + margins);
    reportLabel->resize(size - margins);
    setFixedSize(size);
}

QString MiniWindow::reportText() const {
    return m_report;
}

void MiniWindow::setReportText(const QString& text) {
    m_report = text;
    // Laying out six lines costs as much as a refresh: a hidden window does it when it shows.
    if (isVisible()) {
        reportLabel->setText(text);
        fitToReport();
    }
}

void MiniWindow::showEvent(QShowEvent* event) {
    reportLabel->setText(m_report);
    fitToReport();
    CounterWindow::showEvent(event);
}

void MiniWindow::setColours(const QColor& background, const QColor& text) {
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    setPalette(p); // the report inherits it
}

void MiniWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton)
        showPopupMenu(event->globalPosition().toPoint());
}

void MiniWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        hideToTray();
}
