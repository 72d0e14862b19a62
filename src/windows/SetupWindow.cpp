#include "windows/SetupWindow.h"

#include "platform/EnterKeyPreview.h"
#include "platform/JapaneseFont.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "windows/FirstRunWindow.h"
#include "windows/StartConfirmWindow.h"
#include "settings/LenientNumber.h"
#include "app/Program.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {

constexpr int kLabelHeight = 210;
constexpr int kPromptLeft = 360;
constexpr int kIndentLeft = 600;
constexpr int kTextWidth = 4695;

constexpr std::array<std::int32_t, 3> kSizes{50, 85, 100};

QLabel* label(QWidget* parent, const QString& name, const QString& text, int left, int top) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
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
    Label2[0] = label(this, QStringLiteral("Label2_0"), QStringLiteral("初期値を設定してください"),
                      kPromptLeft, 180);
    Label2[0]->setFont(msGothic(9, true));

    Label2[1] = label(this, QStringLiteral("Label2_1"),
                      QStringLiteral("一日あたりに吸っているタバコの本数"), kPromptLeft, 585);
    Label1 = label(this, QStringLiteral("Label1"),
                   QStringLiteral("（１から２００までの半角数字で記入）"), kIndentLeft, 810);
    Text1[0] = new QLineEdit(this);
    Text1[0]->setObjectName(QStringLiteral("Text1_0"));
    Text1[0]->setGeometry(twipsRect(kIndentLeft, 1050, 735, 300));
    Text1[0]->setMaxLength(3);

    Label2[2] = label(this, QStringLiteral("Label2_2"),
                      QStringLiteral("一箱（２０本）あたりのタバコの金額"), kPromptLeft, 1485);
    Label3 = label(this, QStringLiteral("Label3"),
                   QStringLiteral("（１から２０００の半角数字で記入）"), kIndentLeft, 1710);
    Text1[1] = new QLineEdit(this);
    Text1[1]->setObjectName(QStringLiteral("Text1_1"));
    Text1[1]->setGeometry(twipsRect(kIndentLeft, 1950, 735, 300));
    Text1[1]->setMaxLength(4);

    Label2[3] = label(this, QStringLiteral("Label2_3"),
                      QStringLiteral("あなたの吸っているタバコのサイズ"), kPromptLeft, 2385);
    const std::array<QString, 3> sizeNames{
        QStringLiteral("ショート"), QStringLiteral("スタンダード"), QStringLiteral("ロング")};
    const std::array<int, 4> sizeLefts{kIndentLeft, 1920, 3480, kPromptLeft + kTextWidth};
    for (int i = 0; i < 3; ++i) {
        Option1[i] = new QRadioButton(sizeNames[i], this);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Option1[i]->setGeometry(
            twipsRect(sizeLefts[i], 2610, sizeLefts[i + 1] - sizeLefts[i], 285));
        // Tab stops at the chosen size only and arrows move within the row, as in a dialog.
        connect(Option1[i], &QRadioButton::toggled, Option1[i], [button = Option1[i]](bool on) {
            button->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
        });
        Option1[i]->setFocusPolicy(Qt::ClickFocus);
    }
    Option1[1]->setChecked(true);

    Command1 = new QPushButton(QStringLiteral("設定する"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(1980, 3090, 1455, 375));
    connect(Command1, &QPushButton::clicked, this, &SetupWindow::Command1_Click);

    setTabOrder(Text1[0], Text1[1]);
    setTabOrder(Text1[1], Option1[0]);
    setTabOrder(Option1[0], Option1[1]);
    setTabOrder(Option1[1], Option1[2]);
    setTabOrder(Option1[2], Command1);
    Text1[0]->setFocus();
}

void SetupWindow::load() {
    endIfAlreadyRunning();
}

bool SetupWindow::eventFilter(QObject* watched, QEvent* event) {
    if (isEnterPress(event)) {
        Command1_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SetupWindow::Command1_Click() {
    // A number too large for 32 bits is just another entry out of range.
    const std::optional<std::int32_t> perDay = readLenientNumber(Text1[0]->text());
    const std::optional<std::int32_t> packPrice = readLenientNumber(Text1[1]->text());
    int errors = 0;
    if (!inRange(perDay, 1, 200))
        ++errors;
    if (!inRange(packPrice, 1, 2000))
        ++errors;
    if (errors != 0) {
        showOkMessage(this, QStringLiteral("有効範囲内にある半角数字を入れてください"));
        return;
    }

    AppState& state = appState();
    state.perDay = *perDay;
    state.packPrice = *packPrice;
    for (std::size_t i = 0; i < Option1.size(); ++i) {
        if (Option1[i]->isChecked()) {
            state.cigLength = kSizes[i];
            break;
        }
    }

    auto* next = new StartConfirmWindow;
    next->move(pos());
    next->show();
    hide();
    close();
}

void showFirstRunWindow() {
    auto* form = new SetupWindow;
    form->load();
    // The first window of a run stands in the middle of the screen; the ones after it take
    // the place of the one they replace.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        form->move(area.center() - QPoint(form->width() / 2, form->height() / 2));
    }
    form->show();
}
