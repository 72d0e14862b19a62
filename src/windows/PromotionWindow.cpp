#include "windows/PromotionWindow.h"

#include "desktop/EnterKeyPreview.h"
#include "desktop/JapaneseFont.h"
#include "desktop/Twips.h"
#include "settings/ProgramAddresses.h"
#include "windows/ShapeWidget.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QtMath>

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

// Room for every line of the text, whole, with the box's frame and margins.
QSize textSizeNeeded(const QPlainTextEdit* text) {
    const QFontMetrics metrics(text->font());
    const int edges = 2 * (text->frameWidth() + qCeil(text->document()->documentMargin()));
    const QStringList lines = text->toPlainText().split(u'\n');
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    // The last line break leaves an empty line after the text that need not show.
    const int shown = int(lines.size()) - (lines.last().isEmpty() ? 1 : 0);
    return {widest + text->cursorWidth() + edges,
            shown * std::max(metrics.height(), metrics.lineSpacing()) + edges};
}

} // namespace

PromotionWindow::PromotionWindow() {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral(" ヾ(〃^∇^)ﾉ つぎはのんびりケムリン旅行～"));
    setFont(msGothic(9));

    auto* backdrop = new ShapeWidget(ShapeWidget::Kind::Rectangle, this);
    backdrop->setFillColour(palette().color(QPalette::Midlight));
    backdrop->setGeometry(twipsRect(100, 120, 5415, 2655));

    auto* text = new QPlainTextEdit(promotionText(), this);
    text->setObjectName(QStringLiteral("promotionText"));
    text->setFont(msGothic(9.75));
    text->setReadOnly(true);
    // As designed: no scroll bars and no wrapping, so every line must show whole.
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setGeometry(twipsRect(840, 360, 4335, 2175));

    auto* page = button(this, QStringLiteral("みんなでケムリン式の詳細をみる♪"), "pageButton",
                        {120, 2880, 3975, 375});
    auto* close = button(this, QStringLiteral("とじる"), "closeButton", {4200, 2880, 1335, 375});
    connect(page, &QPushButton::clicked, this, &PromotionWindow::pageRequested);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    // The designed box is too small for the eleven lines in our fonts: it grows by what it
    // lacks, its backdrop and the window with it, and the buttons move down and right.
    const QSize grow = (textSizeNeeded(text) - text->size()).expandedTo(QSize(0, 0));
    text->resize(text->size() + grow);
    backdrop->resize(backdrop->size() + grow);
    page->move(page->pos() + QPoint(0, grow.height()));
    close->move(close->pos() + QPoint(grow.width(), grow.height()));
    setFixedSize(QSize(twipsToPixels(5595), twipsToPixels(3300)) + grow);
    previewKeysOf(this);
}

bool PromotionWindow::eventFilter(QObject* watched, QEvent* event) {
    if (isEscapePress(event)) {
        close();
        return true;
    }
    if (isEnterPress(event) && pressFocusedButton(watched))
        return true;
    return QWidget::eventFilter(watched, event);
}

void PromotionWindow::closeEvent(QCloseEvent* event) {
    emit closed();
    event->accept();
}
