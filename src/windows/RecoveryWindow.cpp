#include "windows/RecoveryWindow.h"

#include "desktop/EnterKeyPreview.h"
#include "desktop/JapaneseFont.h"
#include "desktop/Twips.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QColor kSurface(0xC0, 0xC0, 0xC0);
const QColor kComing(0x50, 0x50, 0x50);

QLabel* rowLabel(const QString& text, const QString& name) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setFont(msGothic(9));
    // Cells meet without a gap, so that the next step's colour runs along the row.
    label->setContentsMargins(twipsToPixels(90), twipsToPixels(30), twipsToPixels(90),
                              twipsToPixels(30));
    return label;
}

QLabel* noteLabel(const QString& text, const QString& name) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setFont(msGothic(9));
    return label;
}

void paint(QWidget* cell, bool filled, const QColor& background, const QColor& text) {
    QPalette p = cell->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    cell->setPalette(p);
    cell->setAutoFillBackground(filled);
}

} // namespace

RecoveryWindow::RecoveryWindow() : m_highlight(Qt::darkBlue), m_highlightText(Qt::white) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("からだの回復"));
    QPalette surface = palette();
    surface.setColor(QPalette::Window, kSurface);
    setPalette(surface);
    setAutoFillBackground(true);
    buildRows();
    // In the middle of the screen at the size the texts take; never above or left of it.
    layout()->activate();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QPoint centred = area.center() - rect().center();
        move(std::max(centred.x(), area.left()), std::max(centred.y(), area.top()));
    }
    previewKeysOf(this);
}

void RecoveryWindow::showBestRun(const QString& text) {
    m_bestRun->setText(text);
    m_bestRun->setVisible(!text.isEmpty());
}

void RecoveryWindow::buildRows() {
    auto* layout = new QVBoxLayout(this);
    // The window takes the size its texts need, at any scale, and keeps it.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    const int margin = twipsToPixels(180);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(noteLabel(QStringLiteral("ケムリンした時から数えた、からだの回復の目安です"),
                                QStringLiteral("introNote")));
    m_bestRun = noteLabel(QString(), QStringLiteral("bestRunNote"));
    m_bestRun->hide();
    layout->addWidget(m_bestRun);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(twipsToPixels(30));
    const auto& milestones = recoveryMilestones();
    for (int i = 0; i < kRecoveryMilestoneCount; ++i) {
        const RecoveryMilestone& m = milestones[i];
        Row& row = m_rows[i];
        row.when = rowLabel(QString::fromUtf16(m.when), QStringLiteral("when%1").arg(i));
        row.when->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row.meaning = rowLabel(QString::fromUtf16(m.meaning), QStringLiteral("meaning%1").arg(i));
        row.meaning->setToolTip(QStringLiteral("出典：") + QString::fromUtf16(m.source));
        row.barCell = new QWidget;
        row.barCell->setObjectName(QStringLiteral("barCell%1").arg(i));
        auto* cell = new QHBoxLayout(row.barCell);
        cell->setContentsMargins(twipsToPixels(90), twipsToPixels(30), twipsToPixels(90),
                                 twipsToPixels(30));
        row.bar = new QProgressBar;
        row.bar->setObjectName(QStringLiteral("bar%1").arg(i));
        row.bar->setRange(0, 100);
        row.bar->setTextVisible(false);
        row.bar->setFixedSize(twipsToPixels(1500), twipsToPixels(150));
        cell->addWidget(row.bar);
        row.state = rowLabel(QString(), QStringLiteral("state%1").arg(i));
        grid->addWidget(row.when, i, 0);
        grid->addWidget(row.meaning, i, 1);
        grid->addWidget(row.barCell, i, 2);
        grid->addWidget(row.state, i, 3);
    }
    // Room for the longest time left, so the window keeps its width as the count goes on.
    m_rows[0].state->setMinimumWidth(
        m_rows[0].state->fontMetrics().horizontalAdvance(QStringLiteral("あと 9999日23時間59分")) +
        2 * twipsToPixels(90));
    layout->addLayout(grid);

    layout->addSpacing(twipsToPixels(120));
    layout->addWidget(noteLabel(QStringLiteral("出典：厚生労働省 e-ヘルスネット「禁煙の効果」、"
                                               "WHO（世界保健機関）、NHS（英国保健サービス）"),
                                QStringLiteral("sourceNote")));
    layout->addWidget(noteLabel(QStringLiteral("どれも一般的な目安で、あなたへの医学的な助言では"
                                               "ありません。"),
                                QStringLiteral("adviceNote")));
}

void RecoveryWindow::setHighlightColours(const QColor& background, const QColor& text) {
    m_highlight = background;
    m_highlightText = text;
    if (m_next)
        markRow(m_rows[*m_next], true);
}

void RecoveryWindow::showProgress(const RecoveryProgress& progress) {
    if (m_next && m_next != progress.next)
        markRow(m_rows[*m_next], false);
    m_next = progress.next;
    for (int i = 0; i < kRecoveryMilestoneCount; ++i) {
        const RecoveryRow& step = progress.rows[i];
        const Row& row = m_rows[i];
        row.bar->setValue(step.percent);
        row.state->setText(step.reached         ? recoveryDateText(step.moment)
                           : i == progress.next ? recoveryTimeLeftText(progress.minutesLeft)
                                                : QString());
        // A step already come reads as plainly as the figures; the ones to come are dimmer.
        if (i != progress.next)
            for (QLabel* label : {row.when, row.meaning, row.state})
                paint(label, false, kSurface, step.reached ? Qt::black : kComing);
    }
    if (m_next)
        markRow(m_rows[*m_next], true);
}

void RecoveryWindow::markRow(const Row& row, bool next) {
    for (QLabel* label : {row.when, row.meaning, row.state}) {
        label->setFont(msGothic(9, next));
        if (next)
            paint(label, true, m_highlight, m_highlightText);
    }
    paint(row.barCell, next, m_highlight, m_highlightText);
}

bool RecoveryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (isEscapePress(event)) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
