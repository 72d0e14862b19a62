#include "windows/GreetingWindow.h"

#include "desktop/EnterKeyPreview.h"
#include "desktop/JapaneseFont.h"
#include "desktop/Twips.h"
#include "windows/FirstRunWindow.h"

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

GreetingWindow::GreetingWindow(std::int64_t month, std::int64_t day) {
    setUpFirstRunWindow(this, QStringLiteral(" メリークリスマス - pimaru"));
    buildDesign();
    showGreeting(month, day);
    previewKeysOf(this);
}

bool GreetingWindow::greets(std::int64_t month, std::int64_t day) {
    return (month == 12 && (day == 24 || day == 25)) || (month == 1 && day >= 1 && day <= 3);
}

void GreetingWindow::buildDesign() {
    occasionLabel =
        centredLabel(this, QStringLiteral("occasionLabel"),
                     QStringLiteral("クリスマス限定スペシャルメッセージ"), 480, 240, msGothic(9));

    // The ornament is kept as a two-frame animation; the window shows its first frame.
    const QPixmap ornament(QStringLiteral(":/ornament.png"));
    const std::array<int, 3> imageLefts{1200, 2570, 3960};
    for (int i = 0; i < 3; ++i) {
        ornaments[i] = new QLabel(this);
        ornaments[i]->setObjectName(QStringLiteral("ornament%1").arg(i));
        ornaments[i]->setPixmap(ornament);
        ornaments[i]->setGeometry(twipsRect(imageLefts[i], 900, 375, 345));
    }

    // Created after the pictures so that on Christmas Day the text lies above them.
    greetingLabel = centredLabel(this, QStringLiteral("greetingLabel"),
                                 QStringLiteral("メリークリスマス"), 960, 300, msGothic(12, true));
    wishLabels[0] =
        centredLabel(this, QStringLiteral("wishLabel0"), QStringLiteral("聖なる日のケムリンが"),
                     1560, 360, msGothic(14.25, true));
    wishLabels[1] =
        centredLabel(this, QStringLiteral("wishLabel1"), QStringLiteral("成功しますように！"), 1920,
                     360, msGothic(14.25, true));

    startButton = new QPushButton(QStringLiteral("ケムリンを開始する(CR)"), this);
    startButton->setObjectName(QStringLiteral("startButton"));
    startButton->setGeometry(twipsRect(1560, 2760, 2295, 375));
    connect(startButton, &QPushButton::clicked, this, &GreetingWindow::startRequested);
    startButton->setFocus();
}

void GreetingWindow::showGreeting(std::int64_t month, std::int64_t day) {
    for (QLabel* image : ornaments)
        image->hide();
    occasionLabel->clear();
    greetingLabel->clear();
    wishLabels[0]->clear();
    wishLabels[1]->clear();

    if (month == 12 && day == 24) {
        setWindowTitle(QStringLiteral("クリスマスイブ - pmrsoft"));
        occasionLabel->setText(QStringLiteral("クリスマスイブ限定スペシャルメッセージ"));
        wishLabels[0]->setText(QStringLiteral("聖なる日のケムリンが"));
        wishLabels[1]->setText(QStringLiteral("成功しますように！"));
        ornaments[1]->show();
    }
    if (month == 12 && day == 25) {
        setWindowTitle(QStringLiteral("メリークリスマス - pmrsoft"));
        occasionLabel->setText(QStringLiteral("クリスマス限定スペシャルメッセージ"));
        greetingLabel->setText(QStringLiteral("メリークリスマス"));
        wishLabels[0]->setText(QStringLiteral("聖なる日のケムリンが"));
        wishLabels[1]->setText(QStringLiteral("成功しますように！"));
        ornaments[0]->show();
        ornaments[2]->show();
    }
    if (month == 1 && day >= 1 && day <= 3) {
        setWindowTitle(QStringLiteral("謹賀新年 - pmrsoft"));
        occasionLabel->setText(QStringLiteral("お正月限定スペシャルメッセージ"));
        // The two texts take the place of the picture row, which stays empty.
        greetingLabel->setText(QStringLiteral("あけましておめでとうございます"));
        moveTop(greetingLabel, 1200);
        wishLabels[1]->setText(QStringLiteral("貴方のケムリンが成功しますように！"));
        moveTop(wishLabels[1], 1800);
    }
    for (QLabel* label : {occasionLabel, greetingLabel, wishLabels[0], wishLabels[1]})
        widenToFit(label);
}

bool GreetingWindow::eventFilter(QObject* watched, QEvent* event) {
    if (isEnterPress(event)) {
        emit startRequested();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
