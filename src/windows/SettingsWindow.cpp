#include "windows/SettingsWindow.h"

#include "desktop/ColourDialog.h"
#include "desktop/EnterKeyPreview.h"
#include "desktop/JapaneseFont.h"
#include "desktop/MessageBox.h"
#include "desktop/Twips.h"
#include "engine/Clock.h"
#include "settings/SettingsEntry.h"
#include "windows/EntryMessages.h"
#include "windows/OptionRowFocus.h"
#include "windows/StoredColour.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// No design places these controls: they are laid out in pixels to fit the main window's size.
template <class W> W* place(W* widget, int x, int y, int width, int height) {
    widget->setGeometry(x, y, width, height);
    return widget;
}

QLabel* label(QWidget* parent, const QString& text, int x, int y, int width) {
    return place(new QLabel(text, parent), x, y, width, 22);
}

QLineEdit* edit(QWidget* parent, const char* name, int maxLength, int x, int y, int width) {
    auto* e = place(new QLineEdit(parent), x, y, width, 22);
    e->setObjectName(QLatin1String(name));
    e->setMaxLength(maxLength);
    return e;
}

QPushButton* button(QWidget* parent, const QString& text, const char* name, int x, int y,
                    int width) {
    auto* b = place(new QPushButton(text, parent), x, y, width, 24);
    b->setObjectName(QLatin1String(name));
    return b;
}

QFrame* panel(QWidget* parent, int x, int y, int width, int height) {
    auto* frame = place(new QFrame(parent), x, y, width, height);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Plain);
    return frame;
}

// Option buttons in a row, their ids the values they stand for.
QButtonGroup* optionRow(QWidget* parent, const char* name,
                        std::initializer_list<std::tuple<const char16_t*, int, int, int>> options,
                        int y) {
    auto* group = new QButtonGroup(parent);
    group->setObjectName(QLatin1String(name));
    int i = 0;
    for (const auto& [caption, value, x, width] : options) {
        auto* option =
            place(new QRadioButton(QString::fromUtf16(caption), parent), x, y, width, 22);
        option->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(name)).arg(i++));
        group->addButton(option, value);
        tabStopsWhenChosen(option);
    }
    return group;
}

QString number(std::int64_t value) {
    return QString::number(value);
}

} // namespace

SettingsWindow::SettingsWindow(const AppState& state) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral(" 設定ウィンドウ - 全て半角で記入してください - pimaru"));
    setFixedSize(twipsToPixels(5625), twipsToPixels(3330));
    setFont(msGothic(9));
    buildDesign();
    fill(state);
    previewKeysOf(this);
}

void SettingsWindow::buildDesign() {
    label(this, QStringLiteral("あなたのブログや掲示板のアドレス"), 6, 2, 220);
    label(this, QStringLiteral("http://"), 6, 22, 44);
    blogUrlEdit = edit(this, "blogUrlEdit", 256, 48, 22, 216);
    label(this, QStringLiteral("ステータスの選択"), 272, 2, 100);
    statusModeBox = place(new QComboBox(this), 272, 22, 97, 22);
    statusModeBox->setObjectName(QStringLiteral("statusModeBox"));
    // Only the series the titles know: any other name would show no title at all.
    statusModeBox->addItems({QStringLiteral("ソルジャー"), QStringLiteral("コスモ")});

    panel(this, 4, 48, 367, 30);
    textColourButton = button(this, QStringLiteral("テキストの色"), "textColourButton", 8, 51, 84);
    colourSample = place(new QLabel(QStringLiteral("サンプル色"), this), 96, 51, 72, 24);
    colourSample->setObjectName(QStringLiteral("colourSample"));
    colourSample->setAlignment(Qt::AlignCenter);
    colourSample->setAutoFillBackground(true);
    backColourButton = button(this, QStringLiteral("背景の色"), "backColourButton", 172, 51, 64);
    boxDisplayCheck = place(new QCheckBox(this), 252, 52, 18, 22);
    boxDisplayCheck->setObjectName(QStringLiteral("boxDisplayCheck"));
    label(this, QStringLiteral("箱数表示"), 270, 52, 60)->setBuddy(boxDisplayCheck);
    connect(textColourButton, &QPushButton::clicked, this, [this] { chooseColour(m_text); });
    connect(backColourButton, &QPushButton::clicked, this, [this] { chooseColour(m_background); });

    place(new QGroupBox(QStringLiteral("copy+"), this), 4, 80, 238, 42);
    copyPlusButtons =
        optionRow(this, "copyPlus",
                  {{u"OFF", 0, 10, 44}, {u"ON", 1, 56, 40}, {u"ON+喫煙年数→", 2, 98, 108}}, 96);
    smokingYearsEdit = edit(this, "smokingYearsEdit", 2, 204, 96, 22);
    label(this, QStringLiteral("年"), 227, 96, 14);
    // The years count only with "ON+喫煙年数→"; the box follows the choice at once.
    connect(copyPlusButtons, &QButtonGroup::idToggled, this,
            [this] { smokingYearsEdit->setEnabled(copyPlusButtons->checkedId() == 2); });
    label(this, QStringLiteral("税(円/千本)"), 246, 78, 68);
    tobaccoTaxEdit = edit(this, "tobaccoTaxEdit", 5, 246, 98, 56);
    label(this, QStringLiteral("消費税(％)"), 314, 78, 60);
    consumptionTaxEdit = edit(this, "consumptionTaxEdit", 2, 314, 98, 32);

    panel(this, 4, 124, 367, 70);
    label(this, QStringLiteral("ケムリン日"), 8, 126, 62);
    const struct {
        const char* name;
        int maxLength, x, width;
        const char16_t* unit;
    } parts[] = {{"yearEdit", 4, 70, 40, u"年"},
                 {"monthEdit", 2, 126, 24, u"月"},
                 {"dayEdit", 2, 166, 24, u"日"},
                 {"hourEdit", 2, 206, 24, u"時"},
                 {"minuteEdit", 2, 246, 24, u"分"}};
    for (std::size_t i = 0; i < quitMomentEdits.size(); ++i) {
        const auto& p = parts[i];
        quitMomentEdits[i] = edit(this, p.name, p.maxLength, p.x, 126, p.width);
        label(this, QString::fromUtf16(p.unit), p.x + p.width + 2, 126, 14);
    }
    label(this, QStringLiteral("一日あたりの本数"), 8, 148, 98);
    perDayEdit = edit(this, "perDayEdit", 3, 106, 148, 32);
    label(this, QStringLiteral("本"), 140, 148, 14);
    label(this, QStringLiteral("一箱（２０本）の金額"), 160, 148, 122);
    packPriceEdit = edit(this, "packPriceEdit", 4, 282, 148, 40);
    label(this, QStringLiteral("円"), 324, 148, 14);
    label(this, QStringLiteral("サイズ"), 8, 170, 40);
    sizeButtons = optionRow(
        this, "size",
        {{u"ショート", 50, 52, 76}, {u"スタンダード", 85, 130, 100}, {u"ロング", 100, 232, 62}},
        170);

    promotionButton =
        button(this, QStringLiteral("みんなでケムリン式（広告）"), "promotionButton", 6, 196, 172);
    saveButton = button(this, QStringLiteral("設定を保存"), "saveButton", 208, 196, 80);
    cancelButton = button(this, QStringLiteral("キャンセル"), "cancelButton", 292, 196, 78);
    connect(promotionButton, &QPushButton::clicked, this, &SettingsWindow::promotionRequested);
    connect(saveButton, &QPushButton::clicked, this, &SettingsWindow::save);
    connect(cancelButton, &QPushButton::clicked, this, &SettingsWindow::cancelRequested);
}

void SettingsWindow::fill(const AppState& state) {
    for (std::size_t i = 0; i < quitMomentEdits.size(); ++i)
        quitMomentEdits[i]->setText(number(state.quitMoment[i + 1]));
    perDayEdit->setText(number(state.perDay));
    packPriceEdit->setText(number(state.packPrice));
    // A size or mode the window does not offer leaves the usual choice.
    QAbstractButton* size = sizeButtons->button(state.cigLength);
    (size ? size : sizeButtons->button(85))->setChecked(true);
    QAbstractButton* copyPlus = copyPlusButtons->button(state.copyPlusMode);
    (copyPlus ? copyPlus : copyPlusButtons->button(0))->setChecked(true);
    smokingYearsEdit->setEnabled(copyPlusButtons->checkedId() == 2);
    tobaccoTaxEdit->setText(number(state.tobaccoTaxPer1000));
    consumptionTaxEdit->setText(number(state.consumptionTaxPercent));
    smokingYearsEdit->setText(number(state.smokingYears));
    boxDisplayCheck->setChecked(state.boxDisplay == 1);
    blogUrlEdit->setText(state.blogUrl);
    statusModeBox->setCurrentIndex(std::max(0, statusModeBox->findText(state.statusMode)));
    m_background = colourFromStored(state.backColour);
    m_text = colourFromStored(state.textColour);
    showColours();
}

void SettingsWindow::chooseColour(QColor& colour) {
    const std::optional<QColor> chosen = ::chooseColour(this, m_lastChosen);
    if (!chosen)
        return;
    m_lastChosen = *chosen;
    colour = *chosen;
    showColours();
}

void SettingsWindow::showColours() {
    QPalette p = colourSample->palette();
    p.setColor(QPalette::Window, m_background);
    p.setColor(QPalette::WindowText, m_text);
    colourSample->setPalette(p);
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
    // The close box leaves as Cancel does: the running window comes back.
    emit cancelRequested();
    event->accept();
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event) {
    // An open list of the status box takes its own Escape.
    if (isEscapePress(event) && static_cast<QWidget*>(watched)->window() == this) {
        cancelButton->click();
        return true;
    }
    if (isEnterPress(event)) {
        if (!pressFocusedButton(watched))
            save();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SettingsWindow::save() {
    SettingsEntry entry;
    for (std::size_t i = 0; i < quitMomentEdits.size(); ++i)
        entry.quitMoment[i] = quitMomentEdits[i]->text();
    entry.perDay = perDayEdit->text();
    entry.packPrice = packPriceEdit->text();
    entry.cigLength = sizeButtons->checkedId();
    entry.tobaccoTaxPer1000 = tobaccoTaxEdit->text();
    entry.consumptionTaxPercent = consumptionTaxEdit->text();
    entry.copyPlusMode = copyPlusButtons->checkedId();
    entry.smokingYears = smokingYearsEdit->text();
    entry.boxDisplay = boxDisplayCheck->isChecked() ? 1 : 0;
    entry.blogUrl = blogUrlEdit->text();
    entry.statusMode = statusModeBox->currentText();

    const CheckedEntry checked = checkSettingsEntry(entry, currentMinuteParts());
    switch (checked.problem) {
    case EntryProblem::OutOfRange:
        showOkMessage(this, outOfRangeMessage());
        return;
    case EntryProblem::InTheFuture:
        showOkMessage(this, futureMomentMessage());
        return;
    case EntryProblem::None:
        emit saveRequested(checked, m_background, m_text);
        return;
    }
}
