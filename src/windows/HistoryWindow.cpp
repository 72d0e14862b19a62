#include "windows/HistoryWindow.h"

#include "desktop/EnterKeyPreview.h"
#include "desktop/JapaneseFont.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

QLabel* namedLabel(const char* name) {
    auto* l = new QLabel;
    l->setObjectName(QLatin1String(name));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

const QStringList kHeadings{QStringLiteral("始めた日時"),     QStringLiteral("終えた日時"),
                            QStringLiteral("続いた長さ"),     QStringLiteral("吸わなかった本数"),
                            QStringLiteral("節約できた金額"), QStringLiteral("メモ")};

} // namespace

HistoryWindow::HistoryWindow() {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral(" これまでの記録 - ケムリン式"));
    setFont(msGothic(9));

    auto* summary = new QFormLayout;
    currentValue = namedLabel("currentValue");
    bestValue = namedLabel("bestValue");
    countValue = namedLabel("countValue");
    summary->addRow(QStringLiteral("今回の禁煙："), currentValue);
    summary->addRow(QStringLiteral("最長記録："), bestValue);
    summary->addRow(QStringLiteral("挑戦の回数："), countValue);
    toBestLabel = namedLabel("toBestLabel");
    toBestLabel->setFont(msGothic(9, true));
    unreadLabel = new QLabel(QStringLiteral("記録の一部を読み込めなかったため、表示していない"
                                            "試みがあります。"));
    unreadLabel->setObjectName(QStringLiteral("unreadLabel"));

    auto* table = new QWidget;
    rows = new QGridLayout(table);
    rows->setHorizontalSpacing(12);
    for (int column = 0; column < kHeadings.size(); ++column) {
        auto* heading = new QLabel(kHeadings[column]);
        heading->setFont(msGothic(9, true));
        rows->addWidget(heading, 0, column);
    }
    rows->setRowStretch(1000, 1);
    attemptRows = new QScrollArea;
    attemptRows->setObjectName(QStringLiteral("attemptRows"));
    attemptRows->setWidget(table);
    attemptRows->setWidgetResizable(true);
    attemptRows->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    attemptRows->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    attemptRows->setMinimumHeight(fontMetrics().height() * 8);

    totalsValue = namedLabel("totalsValue");
    copyButton = new QPushButton(QStringLiteral("コピーする"));
    copyButton->setObjectName(QStringLiteral("copyButton"));
    closeButton = new QPushButton(QStringLiteral("閉じる"));
    closeButton->setObjectName(QStringLiteral("closeButton"));
    connect(copyButton, &QPushButton::clicked, this, &HistoryWindow::copyRequested);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copyButton);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(summary);
    layout->addWidget(toBestLabel);
    layout->addWidget(unreadLabel);
    layout->addWidget(new QLabel(QStringLiteral("これまでの試み（古い順）")));
    layout->addWidget(attemptRows, 1);
    layout->addWidget(totalsValue);
    layout->addLayout(buttons);
    copyButton->setFocus();
    previewKeysOf(this);
}

void HistoryWindow::showRecord(const AttemptRecord& record, const std::vector<PastAttempt>& past,
                               bool partlyUnread) {
    const AttemptFigures& current = record.current;
    currentValue->setText(momentText(current.start) + QStringLiteral(" から　") +
                          attemptLengthText(current.elapsed.minutes));
    const AttemptFigures& best = record.best();
    bestValue->setText(attemptLengthText(best.elapsed.minutes) + QStringLiteral("（") +
                       momentText(best.start) + QStringLiteral(" ～ ") +
                       (record.bestPast ? momentText(best.end) : QStringLiteral("今回")) +
                       QStringLiteral("）"));
    countValue->setText(QString::number(record.attemptCount()) + QStringLiteral("回目"));
    const auto left = record.minutesToBest();
    toBestLabel->setVisible(left && *left > 0);
    toBestLabel->setText(left ? toBestText(*left) : QString());
    unreadLabel->setVisible(partlyUnread);
    totalsValue->setText(
        QStringLiteral("合計　禁煙した日数 ") + attemptLengthText(record.totalMinutes) +
        QStringLiteral("　吸わなかった煙草 ") + QString::number(record.totalCigarettes) +
        QStringLiteral("本　節約できた金額 ") + QString::number(record.totalMoney) +
        QStringLiteral("円"));
    showRows(record, past);
}

void HistoryWindow::showRows(const AttemptRecord& record, const std::vector<PastAttempt>& past) {
    // A refresh writes the same rows anew; only rows added since are made.
    for (std::size_t i = 0; i < record.past.size(); ++i) {
        QStringList texts = attemptRowTexts(record.past[i]);
        texts << (i < past.size() ? past[i].note : QString());
        const int row = static_cast<int>(i) + 1;
        for (int column = 0; column < texts.size(); ++column) {
            auto* cell = qobject_cast<QLabel*>(rows->itemAtPosition(row, column)
                                                   ? rows->itemAtPosition(row, column)->widget()
                                                   : nullptr);
            if (!cell) {
                cell = new QLabel;
                cell->setObjectName(QStringLiteral("attempt%1_%2").arg(row).arg(column));
                rows->addWidget(cell, row, column);
            }
            cell->setText(texts[column]);
            cell->setFont(msGothic(9, record.bestPast == i));
        }
    }
    // Every column shows whole; the rows scroll only downwards.
    attemptRows->setMinimumWidth(attemptRows->widget()->sizeHint().width() +
                                 attemptRows->verticalScrollBar()->sizeHint().width() +
                                 2 * attemptRows->frameWidth());
}

bool HistoryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (isEscapePress(event)) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
