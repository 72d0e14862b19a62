#include "windows/MiniWindow.h"

#include "platform/JapaneseFont.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QMouseEvent>

MiniWindow::MiniWindow()
    : CounterWindow(QStringLiteral("標準サイズで運転する")), reportLabel(new QLabel(this)) {
    setWindowTitle(QStringLiteral(" ケムリン式 mini mode"));
    setFixedSize(twipsToPixels(4230), twipsToPixels(1320));
    setAutoFillBackground(true);
    reportLabel->setObjectName(QStringLiteral("reportLabel"));
    reportLabel->setFont(msGothic(9));
    reportLabel->setAutoFillBackground(true);
    reportLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Wider than the window, as designed: long lines run past its right edge.
    reportLabel->setGeometry(twipsRect(120, 120, 5000, 1095));
}

QString MiniWindow::reportText() const {
    return reportLabel->text();
}

void MiniWindow::setReportText(const QString& text) {
    reportLabel->setText(text);
    // The design's six lines are 12 pixels each; a font with taller lines gets the room it needs.
    const QRect design = twipsRect(120, 120, 5000, 1095);
    reportLabel->resize(design.width(),
                        std::max(design.height(), reportLabel->sizeHint().height()));
    setFixedSize(
        twipsToPixels(4230),
        std::max(twipsToPixels(1320), reportLabel->geometry().bottom() + 1 + design.top()));
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
