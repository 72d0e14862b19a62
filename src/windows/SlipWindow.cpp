#include "windows/SlipWindow.h"

#include "desktop/EnterKeyPreview.h"
#include "desktop/JapaneseFont.h"
#include "desktop/MessageBox.h"
#include "engine/Clock.h"
#include "settings/SlipEntry.h"
#include "windows/EntryMessages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QPushButton* button(const QString& text, const char* name) {
    auto* b = new QPushButton(text);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

SlipWindow::SlipWindow(const DateTimeParts& currentStart, const DateTimeParts& now)
    : m_currentStart(currentStart) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral(" 吸ってしまった… - ケムリン式"));
    setFont(msGothic(9));

    auto* words = new QLabel(
        QStringLiteral("一本吸ってしまっても、ここまでの禁煙が消えるわけではありません。\n"
                       "これまでの時間は記録に残し、もう一度ここから数え直します。\n"
                       "つまずいた日も、次の一歩のうちです。"));
    words->setObjectName(QStringLiteral("wordsLabel"));

    nowOption = new QRadioButton(QStringLiteral("今から数え直す"));
    nowOption->setObjectName(QStringLiteral("nowOption"));
    momentOption = new QRadioButton(QStringLiteral("日時を指定する"));
    momentOption->setObjectName(QStringLiteral("momentOption"));
    nowOption->setChecked(true);

    auto* momentRow = new QHBoxLayout;
    momentRow->addSpacing(20);
    const struct {
        const char* name;
        int maxLength, width;
        const char16_t* unit;
    } parts[] = {{"yearEdit", 4, 40, u"年"},
                 {"monthEdit", 2, 24, u"月"},
                 {"dayEdit", 2, 24, u"日"},
                 {"hourEdit", 2, 24, u"時"},
                 {"minuteEdit", 2, 24, u"分"}};
    for (std::size_t i = 0; i < momentEdits.size(); ++i) {
        auto* edit = new QLineEdit(QString::number(now[i + 1]));
        edit->setObjectName(QLatin1String(parts[i].name));
        edit->setMaxLength(parts[i].maxLength);
        edit->setFixedWidth(fontMetrics().horizontalAdvance(u'0') * parts[i].maxLength +
                            parts[i].width / 2);
        edit->setEnabled(false);
        momentEdits[i] = edit;
        momentRow->addWidget(edit);
        momentRow->addWidget(new QLabel(QString::fromUtf16(parts[i].unit)));
    }
    momentRow->addStretch();
    // The typed moment counts only when chosen; the boxes follow the choice at once.
    connect(momentOption, &QRadioButton::toggled, this, [this](bool chosen) {
        for (QLineEdit* edit : momentEdits)
            edit->setEnabled(chosen);
    });

    noteEdit = new QLineEdit;
    noteEdit->setObjectName(QStringLiteral("noteEdit"));
    noteEdit->setMaxLength(40);
    auto* noteRow = new QHBoxLayout;
    noteRow->addWidget(new QLabel(QStringLiteral("メモ（なくてもかまいません）")));
    noteRow->addWidget(noteEdit, 1);

    recordButton = button(QStringLiteral("記録する"), "recordButton");
    cancelButton = button(QStringLiteral("やめる"), "cancelButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(recordButton);
    buttons->addWidget(cancelButton);
    connect(recordButton, &QPushButton::clicked, this, &SlipWindow::record);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(words);
    layout->addSpacing(6);
    layout->addWidget(new QLabel(QStringLiteral("数え直しを始める日時")));
    // As wide as their captions: a click beside one is no choice.
    layout->addWidget(nowOption, 0, Qt::AlignLeft);
    layout->addWidget(momentOption, 0, Qt::AlignLeft);
    layout->addLayout(momentRow);
    layout->addSpacing(6);
    layout->addLayout(noteRow);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    recordButton->setDefault(true);
    recordButton->setFocus();
    previewKeysOf(this);
}

void SlipWindow::record() {
    SlipEntry entry;
    if (momentOption->isChecked()) {
        std::array<QString, 5> typed;
        for (std::size_t i = 0; i < typed.size(); ++i)
            typed[i] = momentEdits[i]->text();
        entry.restart = typed;
    }
    entry.note = noteEdit->text();
    const CheckedSlip checked = checkSlipEntry(entry, m_currentStart, currentMinuteParts());
    switch (checked.problem) {
    case SlipProblem::OutOfRange:
        showOkMessage(this, outOfRangeMessage());
        return;
    case SlipProblem::InTheFuture:
        showOkMessage(this, futureMomentMessage());
        return;
    case SlipProblem::BeforeStart:
        showOkMessage(this, QStringLiteral("今回の禁煙を始めた日時より前の日時は設定できません"));
        return;
    case SlipProblem::NoteNotStorable:
        showOkMessage(this, QStringLiteral("メモには、シフトJISで保存できない文字と「\"」は"
                                           "使えません"));
        noteEdit->setFocus();
        return;
    case SlipProblem::None:
        emit recordRequested(checked.restart, entry.note);
        return;
    }
}

bool SlipWindow::eventFilter(QObject* watched, QEvent* event) {
    if (isEscapePress(event) && static_cast<QWidget*>(watched)->window() == this) {
        close();
        return true;
    }
    if (isEnterPress(event) && static_cast<QWidget*>(watched)->window() == this) {
        if (!pressFocusedButton(watched))
            record();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
