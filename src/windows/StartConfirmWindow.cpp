#include "windows/StartConfirmWindow.h"

#include "desktop/EnterKeyPreview.h"
#include "desktop/JapaneseFont.h"
#include "desktop/Twips.h"
#include "windows/FirstRunWindow.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kTextLeft = 420;
constexpr int kTextWidth = kFirstRunClientWidth - 2 * kTextLeft;

QLabel* centredLabel(QWidget* parent, const QString& text, int top, int height = 210) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    l->setGeometry(twipsRect(kTextLeft, top, kTextWidth, height));
    return l;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QRect& r) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(twipsRect(r.x(), r.y(), r.width(), r.height()));
    return b;
}

} // namespace

StartConfirmWindow::StartConfirmWindow() {
    setUpFirstRunWindow(this, QStringLiteral(" ようこそケムリン式へ - pimaru"));
    buildDesign();
    previewKeysOf(this);
}

void StartConfirmWindow::buildDesign() {
    centredLabel(this, QStringLiteral("ようこそケムリン式へ"), 300, 255)
        ->setFont(msGothic(9, true));
    centredLabel(this, QStringLiteral("これでタバコとは、永遠のサヨナラとなります。"), 780);
    centredLabel(this, QStringLiteral("今からケムリンを開始しますか？"), 1050);
    centredLabel(this, QStringLiteral("どうしますか？"), 1470);

    startButton = button(this, QStringLiteral("startButton"),
                         QStringLiteral("ケムリンを開始する(CR)"), QRect(1170, 1860, 3075, 600));
    declineButtons[0] = button(this, QStringLiteral("declineButton0"),
                               QStringLiteral("もう少し考える"), QRect(240, 2955, 2175, 375));
    declineButtons[1] = button(this, QStringLiteral("declineButton1"),
                               QStringLiteral("また次の機会にする"), QRect(3000, 2955, 2175, 375));

    connect(startButton, &QPushButton::clicked, this, &StartConfirmWindow::startRequested);
    // Both buttons decline alike: no window is left, so the program ends having written nothing.
    for (QPushButton* decline : declineButtons)
        connect(decline, &QPushButton::clicked, this, &QWidget::close);

    setTabOrder(startButton, declineButtons[0]);
    setTabOrder(declineButtons[0], declineButtons[1]);
    startButton->setFocus();
}

bool StartConfirmWindow::eventFilter(QObject* watched, QEvent* event) {
    if (isEnterPress(event)) {
        // Declining by keyboard declines: the count cannot be taken back once started.
        if (!pressFocusedButton(watched))
            emit startRequested();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
