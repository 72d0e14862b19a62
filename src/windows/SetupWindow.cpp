#include "windows/SetupWindow.h"

#include "desktop/EnterKeyPreview.h"
#include "desktop/JapaneseFont.h"
#include "desktop/MessageBox.h"
#include "desktop/Twips.h"
#include "settings/LenientNumber.h"
#include "windows/EntryMessages.h"
#include "windows/FirstRunWindow.h"
#include "windows/OptionRowFocus.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int kLabelHeight = 210;
constexpr int kPromptLeft = 360;
constexpr int kIndentLeft = 600;
constexpr int kTextWidth = 4695;

constexpr std::array<std::int32_t, 3> kSizes{50, 85, 100};

QLabel* label(QWidget* parent, const QString& text, int left, int top) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(twipsRect(left, top, kTextWidth - (left - kPromptLeft), kLabelHeight));
    return l;
}

bool inRange(std::optional<std::int32_t> value, std::int32_t low, std::int32_t high) {
    return value && *value >= low && *value <= high;
}

} // namespace

SetupWindow::SetupWindow() {
    setUpFirstRunWindow(this, QStringLiteral(" ケムリン式初期設定 - pimaru"));
    buildDesign();
    previewKeysOf(this);
}

void SetupWindow::buildDesign() {
    label(this, QStringLiteral("初期値を設定してください"), kPromptLeft, 180)
        ->setFont(msGothic(9, true));

    label(this, QStringLiteral("一日あたりに吸っているタバコの本数"), kPromptLeft, 585);
    label(this, QStringLiteral("（１から２００までの半角数字で記入）"), kIndentLeft, 810);
    perDayEdit = new QLineEdit(this);
    perDayEdit->setObjectName(QStringLiteral("perDayEdit"));
    perDayEdit->setGeometry(twipsRect(kIndentLeft, 1050, 735, 300));
    perDayEdit->setMaxLength(3);

    label(this, QStringLiteral("一箱（２０本）あたりのタバコの金額"), kPromptLeft, 1485);
    label(this, QStringLiteral("（１から２０００の半角数字で記入）"), kIndentLeft, 1710);
    packPriceEdit = new QLineEdit(this);
    packPriceEdit->setObjectName(QStringLiteral("packPriceEdit"));
    packPriceEdit->setGeometry(twipsRect(kIndentLeft, 1950, 735, 300));
    packPriceEdit->setMaxLength(4);

    label(this, QStringLiteral("あなたの吸っているタバコのサイズ"), kPromptLeft, 2385);
    const std::array<QString, 3> sizeNames{
        QStringLiteral("ショート"), QStringLiteral("スタンダード"), QStringLiteral("ロング")};
    const std::array<int, 4> sizeLefts{kIndentLeft, 1920, 3480, kPromptLeft + kTextWidth};
    for (int i = 0; i < 3; ++i) {
        sizeButtons[i] = new QRadioButton(sizeNames[i], this);
        sizeButtons[i]->setObjectName(QStringLiteral("sizeButton%1").arg(i));
        sizeButtons[i]->setGeometry(
            twipsRect(sizeLefts[i], 2610, sizeLefts[i + 1] - sizeLefts[i], 285));
        tabStopsWhenChosen(sizeButtons[i]);
    }
    sizeButtons[1]->setChecked(true);

    acceptButton = new QPushButton(QStringLiteral("設定する"), this);
    acceptButton->setObjectName(QStringLiteral("acceptButton"));
    acceptButton->setGeometry(twipsRect(1980, 3090, 1455, 375));
    connect(acceptButton, &QPushButton::clicked, this, &SetupWindow::accept);

    setTabOrder(perDayEdit, packPriceEdit);
    setTabOrder(packPriceEdit, sizeButtons[0]);
    setTabOrder(sizeButtons[0], sizeButtons[1]);
    setTabOrder(sizeButtons[1], sizeButtons[2]);
    setTabOrder(sizeButtons[2], acceptButton);
    perDayEdit->setFocus();
}

bool SetupWindow::eventFilter(QObject* watched, QEvent* event) {
    if (isEnterPress(event)) {
        accept();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SetupWindow::accept() {
    // A number too large for 32 bits is just another entry out of range.
    const std::optional<std::int32_t> perDay = readLenientNumber(perDayEdit->text());
    const std::optional<std::int32_t> packPrice = readLenientNumber(packPriceEdit->text());
    int errors = 0;
    if (!inRange(perDay, 1, 200))
        ++errors;
    if (!inRange(packPrice, 1, 2000))
        ++errors;
    if (errors != 0) {
        showOkMessage(this, outOfRangeMessage());
        return;
    }

    for (std::size_t i = 0; i < sizeButtons.size(); ++i) {
        if (sizeButtons[i]->isChecked()) {
            emit accepted(*perDay, *packPrice, kSizes[i]);
            return;
        }
    }
}
