#include "windows/MainWindow.h"

#include "desktop/EnterKeyPreview.h"
#include "desktop/JapaneseFont.h"
#include "desktop/Twips.h"
#include "engine/QuitStatistics.h"
#include "windows/ShapeWidget.h"

#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kRefreshMs = 30000;
constexpr int kDuckTop = 2700;
constexpr int kHappyDuckTop = 1560;
constexpr int kLoweredDuckTop = 2850;
constexpr int kDuckLefts[3] = {2040, 2580, 3120};

struct Heading {
    const char* name;
    const char16_t* text;
    QRect twips;
};

const Heading kHeadings[] = {
    {"elapsedHeading", u"ケムリンからの日数", {120, 60, 1335, 135}},
    {"lifeHeading", u"延びた寿命", {120, 610, 975, 135}},
    {"moneyHeading", u"節約できた金額", {120, 1155, 1335, 135}},
    {"cigarettesHeading", u"吸わなかった煙草", {120, 1710, 1455, 135}},
    {"messageHeading", u"今日の一言", {120, 2235, 975, 135}},
    {"statusHeading", u"ステータス", {4005, 60, 975, 135}},
    {"lungHeading", u"肺の状態", {4080, 630, 735, 135}},
};

QRect twips(const QRect& r) {
    return twipsRect(r.x(), r.y(), r.width(), r.height());
}

QLabel* valueLabel(QWidget* parent, const char* name, const QRect& design) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(msGothic(9));
    label->setAutoFillBackground(true);
    label->setGeometry(twips(design));
    return label;
}

QLabel* picture(QWidget* parent, const QString& file, const QString& name, int left, int top) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(QPixmap(file));
    label->setGeometry(twipsRect(left, top, 450, 435));
    label->hide();
    return label;
}

QPushButton* button(QWidget* parent, const QString& text, const char* name, int left) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setFont(msGothic(9));
    b->setGeometry(twipsRect(left, 2950, 735, 300));
    return b;
}

ShapeWidget* shape(QWidget* parent, ShapeWidget::Kind kind, const char* name, const QRect& design) {
    auto* s = new ShapeWidget(kind, parent);
    s->setObjectName(QLatin1String(name));
    s->setGeometry(twips(design));
    return s;
}

} // namespace

MainWindow::MainWindow() : CounterWindow(QStringLiteral("ミニサイズで運転する")) {
    setWindowTitle(QStringLiteral(" ケムリン式 - pimaru"));
    buildDesign();
}

void MainWindow::buildDesign() {
    setFixedSize(twipsToPixels(5625), twipsToPixels(3330));
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(background);
    setAutoFillBackground(true);

    for (const Heading& h : kHeadings) {
        auto* label = new QLabel(QString::fromUtf16(h.text), this);
        label->setObjectName(QLatin1String(h.name));
        label->setFont(msGothic(8.25));
        QPalette white = label->palette();
        white.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(white);
        // Some design boxes are a little smaller than their text; let the heading show whole.
        QRect r = twips(h.twips);
        r.setSize(r.size().expandedTo(label->sizeHint()));
        label->setGeometry(r);
    }
    elapsedValue = valueLabel(this, "elapsedValue", {240, 240, 3615, 255});
    lifeValue = valueLabel(this, "lifeValue", {240, 790, 3615, 255});
    moneyValue = valueLabel(this, "moneyValue", {240, 1340, 3615, 255});
    statusValue = valueLabel(this, "statusValue", {4080, 240, 1335, 255});
    cigarettesValue = valueLabel(this, "cigarettesValue", {240, 1890, 5175, 255});
    // To the window's inner edge: the longest message of the day needs more than its design.
    messageValue = valueLabel(this, "messageValue", {240, 2440, 5385, 255});
    elapsedValue->installEventFilter(this);

    lungLeft = shape(this, ShapeWidget::Kind::Oval, "lungLeft", {4320, 860, 375, 735});
    lungRight = shape(this, ShapeWidget::Kind::Oval, "lungRight", {4800, 860, 375, 735});
    lungBridge = shape(this, ShapeWidget::Kind::Rectangle, "lungBridge", {4560, 1100, 375, 210});
    // The lungs open the body's recovery; the hand over them tells they can be clicked.
    setMouseTracking(true);

    for (int i = 0; i < 3; ++i) {
        ducks[i] = picture(this, QStringLiteral(":/duck.png"), QStringLiteral("duck%1").arg(i),
                           kDuckLefts[i], kDuckTop);
        happyDucks[i] = picture(this, QStringLiteral(":/duck_happy.png"),
                                QStringLiteral("happyDuck%1").arg(i), kDuckLefts[i], kHappyDuckTop);
    }

    milestoneProgress = new QProgressBar(this);
    milestoneProgress->setObjectName(QStringLiteral("milestoneProgress"));
    milestoneProgress->setRange(0, 33);
    milestoneProgress->setTextVisible(false);
    milestoneProgress->setGeometry(twipsRect(1800, 3120, 2055, 120));

    copyButton = button(this, QStringLiteral("コピー"), "copyButton", 120);
    blogButton = button(this, QStringLiteral("ブログ"), "blogButton", 960);
    helpButton = button(this, QStringLiteral("ヘルプ"), "helpButton", 3960);
    settingsButton = button(this, QStringLiteral("設定"), "settingsButton", 4800);
    // The buttons ask what their menu items ask: one handler each.
    connect(copyButton, &QPushButton::clicked, this, &MainWindow::copyRequested);
    connect(blogButton, &QPushButton::clicked, this, &MainWindow::blogRequested);
    connect(helpButton, &QPushButton::clicked, this, &MainWindow::helpRequested);
    connect(settingsButton, &QPushButton::clicked, this, &MainWindow::settingsRequested);
    // Enter on a focused button presses it, as Space does.
    for (QPushButton* b : {copyButton, blogButton, helpButton, settingsButton})
        b->installEventFilter(this);

    refreshTimer = new QTimer(this);
    refreshTimer->setObjectName(QStringLiteral("refreshTimer"));
    refreshTimer->setInterval(kRefreshMs);
    connect(refreshTimer, &QTimer::timeout, this, &MainWindow::refreshDue);
    refreshTimer->start();
}

void MainWindow::setValueColours(const QColor& background, const QColor& text) {
    for (QLabel* label :
         {elapsedValue, lifeValue, moneyValue, statusValue, cigarettesValue, messageValue}) {
        QPalette p = label->palette();
        p.setColor(QPalette::Window, background);
        p.setColor(QPalette::WindowText, text);
        label->setPalette(p);
    }
}

void MainWindow::showStatus(const StatusSnapshot& status) {
    m_elapsed = status.elapsed;
    m_detailed = false;
    elapsedValue->setText(status.texts.elapsed);
    lifeValue->setText(status.texts.lifeGained);
    moneyValue->setText(status.texts.money);
    statusValue->setText(status.texts.title);
    cigarettesValue->setText(status.texts.cigarettes);
    messageValue->setText(status.texts.message);

    const QColor lung(status.lung.red, status.lung.green, status.lung.blue);
    for (ShapeWidget* part : {lungLeft, lungRight, lungBridge})
        part->setFillColour(lung);

    const MilestoneView& m = status.milestones;
    for (int i = 0; i < 3; ++i) {
        for (auto [picture, visible] :
             {std::pair{ducks[i], m.ducks[i]}, std::pair{happyDucks[i], m.happyDucks[i]}}) {
            if (visible && m.ducksLowered)
                picture->move(picture->x(), twipsToPixels(kLoweredDuckTop));
            picture->setVisible(visible);
        }
    }
    if (m.hideProgressBar)
        milestoneProgress->hide();
    milestoneProgress->setValue(m.progress);
}

void MainWindow::toggleDetailView() {
    m_detailed = !m_detailed;
    elapsedValue->setText(m_detailed ? detailedElapsedText(m_elapsed.minutes, m_elapsed.parts)
                                     : elapsedText(m_elapsed.parts));
}

bool MainWindow::isOwnSurface(const QPointF& position) const {
    return childAt(position.toPoint()) == nullptr;
}

bool MainWindow::isOnLungs(const QPointF& position) const {
    const QPoint at = position.toPoint();
    return lungLeft->geometry().contains(at) || lungRight->geometry().contains(at) ||
           lungBridge->geometry().contains(at);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    setCursor(isOnLungs(event->position()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isOnLungs(event->position()))
        emit recoveryRequested();
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && isOwnSurface(event->position()))
        showPopupMenu(event->globalPosition().toPoint());
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    // The lungs' second click is a click on them, not a wish to hide the window.
    if (event->button() == Qt::LeftButton && isOwnSurface(event->position()) &&
        !isOnLungs(event->position()))
        hideToTray();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (isEnterPress(event) && pressFocusedButton(watched))
        return true;
    if (watched != elapsedValue)
        return CounterWindow::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonDblClick) {
        m_skipNextRelease = true;
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        if (m_skipNextRelease) {
            m_skipNextRelease = false;
            return true;
        }
        if (elapsedValue->rect().contains(mouse->position().toPoint()))
            toggleDetailView();
        return true;
    }
    return false;
}
