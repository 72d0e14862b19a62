#include "windows/MainWindow.h"

#include "engine/Clock.h"
#include "engine/QuitStatistics.h"
#include "platform/Clipboard.h"
#include "platform/JapaneseFont.h"
#include "platform/Screen.h"
#include "platform/Twips.h"
#include "settings/SettingsFiles.h"
#include "windows/MiniWindow.h"
#include "app/Program.h"
#include "windows/ShapeWidget.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kRefreshMs = 30000;
constexpr int kLoweredDuckTop = 2850;

struct Heading {
    int index;
    const char16_t* text;
    QRect twips;
};

const Heading kHeadings[] = {
    {0, u"ケムリンからの日数", {120, 60, 1335, 135}},
    {4, u"延びた寿命", {120, 610, 975, 135}},
    {2, u"節約できた金額", {120, 1155, 1335, 135}},
    {1, u"吸わなかった煙草", {120, 1710, 1455, 135}},
    {6, u"今日の一言", {120, 2235, 975, 135}},
    {5, u"ステータス", {4005, 60, 975, 135}},
    {19, u"肺の状態", {4080, 630, 735, 135}},
};

const QRect kValueLabels[6] = {
    {240, 240, 3615, 255},  {240, 790, 3615, 255},  {240, 1340, 3615, 255},
    {4080, 240, 1335, 255}, {240, 1890, 5175, 255}, {240, 2440, 5175, 255},
};

const int kDuckLefts[3] = {2040, 2580, 3120};

QRect twips(const QRect& r) {
    return twipsRect(r.x(), r.y(), r.width(), r.height());
}

// Colours are kept as 0x00BBGGRR.
QColor colourFromLong(std::int32_t value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QLabel* picture(QWidget* parent, const QString& file, const QString& name, int left, int top) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(QPixmap(file));
    label->setGeometry(twipsRect(left, top, 450, 435));
    return label;
}

QPushButton* button(QWidget* parent, const QString& text, const QString& name, int left) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setFont(msGothic(9));
    b->setGeometry(twipsRect(left, 2950, 735, 300));
    return b;
}

} // namespace

MainWindow::MainWindow() {
    setAttribute(Qt::WA_DeleteOnClose);
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
        label->setObjectName(QStringLiteral("Label1_%1").arg(h.index));
        label->setFont(msGothic(8.25));
        label->setStyleSheet(QStringLiteral("color: white;"));
        // Some design boxes are a little smaller than their text; let the heading show whole.
        QRect r = twips(h.twips);
        r.setSize(r.size().expandedTo(label->sizeHint()));
        label->setGeometry(r);
    }
    for (int i = 0; i < 6; ++i) {
        Label2[i] = new QLabel(this);
        Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
        Label2[i]->setFont(msGothic(9));
        Label2[i]->setAutoFillBackground(true);
        Label2[i]->setGeometry(twips(kValueLabels[i]));
    }
    Label2[0]->installEventFilter(this);

    Shape2[0] = new ShapeWidget(ShapeWidget::Kind::Oval, this);
    Shape2[0]->setGeometry(twipsRect(4320, 860, 375, 735));
    Shape2[1] = new ShapeWidget(ShapeWidget::Kind::Oval, this);
    Shape2[1]->setGeometry(twipsRect(4800, 860, 375, 735));
    Shape1 = new ShapeWidget(ShapeWidget::Kind::Rectangle, this);
    Shape1->setGeometry(twipsRect(4560, 1100, 375, 210));
    Shape2[0]->setObjectName(QStringLiteral("Shape2_0"));
    Shape2[1]->setObjectName(QStringLiteral("Shape2_1"));
    Shape1->setObjectName(QStringLiteral("Shape1"));

    for (int i = 0; i < 3; ++i) {
        Image1[i] = picture(this, QStringLiteral(":/duck.png"),
                            QStringLiteral("Image1_%1").arg(10 + i), kDuckLefts[i], 2700);
        Image3[i] = picture(this, QStringLiteral(":/duck_happy.png"),
                            QStringLiteral("Image3_%1").arg(i), kDuckLefts[i], 1560);
    }

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 33);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(twipsRect(1800, 3120, 2055, 120));

    Command3 = button(this, QStringLiteral("コピー"), QStringLiteral("Command3"), 120);
    Command2 = button(this, QStringLiteral("ブログ"), QStringLiteral("Command2"), 960);
    Command4 = button(this, QStringLiteral("ヘルプ"), QStringLiteral("Command4"), 3960);
    Command1 = button(this, QStringLiteral("設定"), QStringLiteral("Command1"), 4800);
    connect(Command3, &QPushButton::clicked, this, &MainWindow::Command3_Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kRefreshMs);
    connect(Timer1, &QTimer::timeout, this, [] { refreshStatus(); });
    Timer1->start();
}

void MainWindow::load() {
    endIfAlreadyRunning();
    AppState& state = appState();
    // A file that does not read keeps what is in memory. A broken initial.ini is left on disk
    // for the user to mend; until some quit moment is known, the count starts now.
    if (!readInitialFile(state) && state.quitMoment[1] == 0)
        state.setQuitDefaults(currentMinuteParts());
    readOptionFile(state);
    for (int i = 0; i < 3; ++i) {
        Image1[i]->hide();
        Image3[i]->hide();
    }
    refreshStatus();
    placeOnScreen();
    colourValueLabels();
}

void MainWindow::placeOnScreen() {
    AppState& state = appState();
    const QSize screen = primaryScreenTwips();
    const int w = screen.width();
    const int h = screen.height();
    if (state.mainLeft > w - 5000) {
        state.mainLeft = w / 2;
        state.mainTop = h / 2;
    }
    if (state.mainTop > h - 3000) {
        state.mainTop = h / 2;
        state.mainLeft = w / 2;
    }
    state.mainLeft = std::max(state.mainLeft, 0);
    state.mainTop = std::max(state.mainTop, 0);
    move(twipsToPixels(state.mainLeft), twipsToPixels(state.mainTop));
}

void MainWindow::colourValueLabels() {
    const AppState& state = appState();
    for (QLabel* label : Label2) {
        QPalette p = label->palette();
        p.setColor(QPalette::Window, colourFromLong(state.backColour));
        p.setColor(QPalette::WindowText, colourFromLong(state.textColour));
        label->setPalette(p);
    }
}

void MainWindow::showStatus(const StatusSnapshot& status) {
    for (int i = 0; i < 6; ++i)
        Label2[i]->setText(status.valueTexts[i]);

    const QColor lung(status.lung.red, status.lung.green, status.lung.blue);
    Shape2[0]->setFillColour(lung);
    Shape2[1]->setFillColour(Shape2[0]->fillColour());
    Shape1->setFillColour(Shape2[0]->fillColour());

    const MilestoneView& m = status.milestones;
    for (int i = 0; i < 3; ++i) {
        for (auto [picture, visible] :
             {std::pair{Image1[i], m.ducks[i]}, std::pair{Image3[i], m.happyDucks[i]}}) {
            if (visible && m.ducksLowered)
                picture->move(picture->x(), twipsToPixels(kLoweredDuckTop));
            picture->setVisible(visible);
        }
    }
    if (m.hideProgressBar)
        ProgressBar1->hide();
    ProgressBar1->setValue(m.progress);
}

ShownTexts MainWindow::shownTexts() const {
    return {Label2[3]->text(), Label2[2]->text(), Label2[4]->text()};
}

void MainWindow::Command3_Click() {
    putTextOnClipboard(statusReport(appState(), shownTexts()));
}

void MainWindow::Label2_Click(int index) {
    if (index != 0)
        return;
    AppState& state = appState();
    if (state.detailView == 0) {
        state.detailView = 1;
        Label2[0]->setText(detailedElapsedText(state.elapsedMinutes, state.elapsedParts));
    } else if (state.detailView == 1) {
        state.detailView = 0;
        Label2[0]->setText(elapsedText(state.elapsedParts));
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label2[0] && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        Label2[0]->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        Label2_Click(0);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_unloaded) {
        m_unloaded = true;
        showNormal();
        AppState& state = appState();
        const QPoint position = pos();
        state.mainLeft = position.x() * kTwipsPerPixel;
        state.mainTop = position.y() * kTwipsPerPixel;
        // A failed write must not stop the window from closing; the old file stays whole.
        writeOptionFile(state);
        if (MiniWindow* mini = miniWindowIfLoaded())
            mini->close();
    }
    event->accept();
}
