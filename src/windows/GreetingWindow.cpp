#include "windows/GreetingWindow.h"

#include "platform/EnterKeyPreview.h"
#include "platform/JapaneseFont.h"
#include "platform/Twips.h"
#include "windows/FirstRunWindow.h"
#include "app/StartSequence.h"
#include "app/Program.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int kLabelLeft = 480;
constexpr int kLabelWidth = 4575;

QLabel* centredLabel(QWidget* parent, const QString& name, const QString& text, int top, int height,
                     const QFont& font) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setFont(font);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    l->setGeometry(twipsRect(kLabelLeft, top, kLabelWidth, height));
    return l;
}

void moveTop(QWidget* w, int topTwips) {
    w->move(w->x(), twipsToPixels(topTwips));
}

// A text wider than its label grows the label evenly on both sides, within the window, so
// that it stays centred where it was and shows whole.
void widenToFit(QLabel* label) {
    const int needed = label->sizeHint().width();
    if (needed <= label->width())
        return;
    const int parentWidth = label->parentWidget()->width();
    const int width = std::min(needed, parentWidth);
    const int centre = label->x() + label->width() / 2;
    const int left = std::clamp(centre - width / 2, 0, parentWidth - width);
    label->setGeometry(left, label->y(), width, label->height());
}

} // namespace

GreetingWindow::GreetingWindow() {
    setUpFirstRunWindow(this, QStringLiteral(" メリークリスマス - pimaru"));
    buildDesign();
    previewKeysOf(this);
}

void GreetingWindow::buildDesign() {
    Label1 =
        centredLabel(this, QStringLiteral("Label1"),
                     QStringLiteral("クリスマス限定スペシャルメッセージ"), 480, 240, msGothic(9));

    // The ornament is kept as a two-frame animation; the window shows its first frame.
    const QPixmap ornament(QStringLiteral(":/ornament.png"));
    const std::array<int, 3> imageLefts{1200, 2570, 3960};
    for (int i = 0; i < 3; ++i) {
        Image1[i] = new QLabel(this);
        Image1[i]->setObjectName(QStringLiteral("Image1_%1").arg(i));
        Image1[i]->setPixmap(ornament);
        Image1[i]->setGeometry(twipsRect(imageLefts[i], 900, 375, 345));
    }

    // Created after the pictures so that on Christmas Day the text lies above them.
    Label2 = centredLabel(this, QStringLiteral("Label2"), QStringLiteral("メリークリスマス"), 960,
                          300, msGothic(12, true));
    Label3[0] =
        centredLabel(this, QStringLiteral("Label3_0"), QStringLiteral("聖なる日のケムリンが"), 1560,
                     360, msGothic(14.25, true));
    Label3[1] = centredLabel(this, QStringLiteral("Label3_1"), QStringLiteral("成功しますように！"),
                             1920, 360, msGothic(14.25, true));

    Command1 = new QPushButton(QStringLiteral("ケムリンを開始する(CR)"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(1560, 2760, 2295, 375));
    connect(Command1, &QPushButton::clicked, this, &GreetingWindow::Command1_Click);
    Command1->setFocus();
}

void GreetingWindow::load() {
    for (QLabel* image : Image1)
        image->hide();
    Label1->clear();
    Label2->clear();
    Label3[0]->clear();
    Label3[1]->clear();

    const AppState& state = appState();
    const auto month = state.quitMoment[2];
    const auto day = state.quitMoment[3];
    if (month == 12 && day == 24) {
        setWindowTitle(QStringLiteral("クリスマスイブ - pmrsoft"));
        Label1->setText(QStringLiteral("クリスマスイブ限定スペシャルメッセージ"));
        Label3[0]->setText(QStringLiteral("聖なる日のケムリンが"));
        Label3[1]->setText(QStringLiteral("成功しますように！"));
        Image1[1]->show();
    }
    if (month == 12 && day == 25) {
        setWindowTitle(QStringLiteral("メリークリスマス - pmrsoft"));
        Label1->setText(QStringLiteral("クリスマス限定スペシャルメッセージ"));
        Label2->setText(QStringLiteral("メリークリスマス"));
        Label3[0]->setText(QStringLiteral("聖なる日のケムリンが"));
        Label3[1]->setText(QStringLiteral("成功しますように！"));
        Image1[0]->show();
        Image1[2]->show();
    }
    if (month == 1 && day >= 1 && day <= 3) {
        setWindowTitle(QStringLiteral("謹賀新年 - pmrsoft"));
        Label1->setText(QStringLiteral("お正月限定スペシャルメッセージ"));
        // The two texts take the place of the picture row, which stays empty.
        Label2->setText(QStringLiteral("あけましておめでとうございます"));
        moveTop(Label2, 1200);
        Label3[1]->setText(QStringLiteral("貴方のケムリンが成功しますように！"));
        moveTop(Label3[1], 1800);
    }
    for (QLabel* label : {Label1, Label2, Label3[0], Label3[1]})
        widenToFit(label);
}

bool GreetingWindow::eventFilter(QObject* watched, QEvent* event) {
    if (isEnterPress(event)) {
        Command1_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void GreetingWindow::Command1_Click() {
    runStartSequence(this);
}
