#include "windows/PromotionWindow.h"

#include "platform/JapaneseFont.h"
#include "platform/Twips.h"
#include "settings/ProgramAddresses.h"
#include "windows/ShapeWidget.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

namespace {

QString promotionText() {
    return QStringList{
        QStringLiteral("♪みんなでケムリン式（シェアウェア）"),
        QString(),
        QStringLiteral("　１）今日の一言ｘ３６５日"),
        QStringLiteral("　２）日本周遊のケムリン旅行マップ"),
        QStringLiteral("　３）ケムリンキャラクターズ大幅増量"),
        QStringLiteral("　４）タイムマシンモード"),
        QStringLiteral("　５）ブログ出力対応のケムリン日記付き"),
        QString(),
        QStringLiteral("詳細は「みんなでケムリン式ご紹介サイト」へ"),
        QString::fromLatin1(kPromotionPageUrl),
        QStringLiteral("↓下のボタン"),
        QString(),
    }
        .join(u'\n');
}

QPushButton* button(QWidget* parent, const QString& text, const char* name, const QRect& twips) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    return b;
}

} // namespace

PromotionWindow::PromotionWindow() {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral(" ヾ(〃^∇^)ﾉ つぎはのんびりケムリン旅行～"));
    setFixedSize(twipsToPixels(5595), twipsToPixels(3300));
    setFont(msGothic(9));

    auto* backdrop = new ShapeWidget(ShapeWidget::Kind::Rectangle, this);
    backdrop->setFillColour(palette().color(QPalette::Midlight));
    backdrop->setGeometry(twipsRect(100, 120, 5415, 2655));

    auto* text = new QPlainTextEdit(promotionText(), this);
    text->setObjectName(QStringLiteral("promotionText"));
    text->setFont(msGothic(9.75));
    text->setReadOnly(true);
    // As designed: no scroll bars, so that the longest line fits without wrapping.
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setGeometry(twipsRect(840, 360, 4335, 2175));

    connect(button(this, QStringLiteral("みんなでケムリン式の詳細をみる♪"), "pageButton",
                   {120, 2880, 3975, 375}),
            &QPushButton::clicked, this, &PromotionWindow::pageRequested);
    connect(button(this, QStringLiteral("とじる"), "closeButton", {4200, 2880, 1335, 375}),
            &QPushButton::clicked, this, &QWidget::close);
}

void PromotionWindow::closeEvent(QCloseEvent* event) {
    emit closed();
    event->accept();
}
