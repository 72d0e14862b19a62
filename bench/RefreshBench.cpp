// Cost of one refresh, each against a baseline run in the same process:
//
//   figures              computeStatus and statusReport: every figure, text and the report
//   figures_noticed      the same, then the milestone check a refresh makes for the tray
//   number_texts         baseline: six texts made with QString::number
//   main_window          MainWindow::showStatus with a computed snapshot
//   six_labels           baseline: QLabel::setText on six labels laid out as the value labels
//   main_window_painted  showStatus, then the paint the event loop would do next
//   six_labels_painted   baseline of the above
//
// The argument is how many minutes back the quit moment lies, from a minute to 120 years. The
// figures take the minutes of a day in turn, so that the milestone check sees time move on and,
// once a day, a new day.
// Window refreshes alternate between two consecutive minutes with different draws, so that
// the texts change as they do on screen (QLabel skips a text it already shows); argument 0
// alternates between two far-apart quit moments, where everything changes. After Google
// Benchmark's own output, one table row per benchmark compares the median CPU time with its
// baseline's.
#include "desktop/JapaneseFont.h"
#include "desktop/Twips.h"
#include "engine/Clock.h"
#include "engine/MilestoneNotices.h"
#include "engine/StatusEngine.h"
#include "engine/StatusReport.h"
#include "settings/AppState.h"
#include "windows/MainWindow.h"
#include "windows/StoredColour.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>
#include <QWindow>

#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

const QDateTime& now() {
    static const QDateTime moment(QDate(2026, 12, 6), QTime(8, 30));
    return moment;
}

struct QuitAgo {
    std::int64_t minutes;
    const char* words;
};

constexpr std::int64_t kTakeTurns = 0;
constexpr std::int64_t kMinute = 1;
constexpr std::int64_t kDay = 1440;
constexpr std::int64_t kCentury = 63115200; // 120 × 365.25 days

constexpr QuitAgo kQuitAgo[] = {
    {kMinute, "quit 1 minute ago"},
    {60, "quit 1 hour ago"},
    {kDay, "quit 1 day ago"},
    {43200, "quit 30 days ago"},
    {525600, "quit 365 days ago"},
    {5259600, "quit 10 years ago"},
    {kCentury, "quit 120 years ago"},
    {kTakeTurns, "quit 1 minute and 120 years ago in turn (every text changes)"},
};

AppState quitMinutesAgo(std::int64_t minutes) {
    AppState settings; // the option defaults: ソルジャー titles, taxes 8744 and 5 %
    settings.started = 1;
    settings.quitMoment = minuteParts(now().addSecs(-60 * minutes));
    return settings;
}

// Two consecutive refreshes: this minute with one draw, the next minute with another. For
// kTakeTurns, a quit moment a minute back and one 120 years back, so that every text, the lung
// colour, the ducks and the progress bar change each time.
std::array<StatusSnapshot, 2> twoRefreshes(std::int64_t minutesAgo) {
    if (minutesAgo == kTakeTurns)
        return {computeStatus(quitMinutesAgo(kMinute), minuteParts(now()), 7),
                computeStatus(quitMinutesAgo(kCentury), minuteParts(now()), 93)};
    const AppState settings = quitMinutesAgo(minutesAgo);
    return {computeStatus(settings, minuteParts(now()), 7),
            computeStatus(settings, minuteParts(now().addSecs(60)), 93)};
}

std::array<QString, 6> textsOf(const StatusSnapshot& status) {
    const StatusTexts& t = status.texts;
    return {t.elapsed, t.lifeGained, t.money, t.title, t.cigarettes, t.message};
}

void waitUntilExposed(QWidget& window) {
    window.show();
    QElapsedTimer waited;
    waited.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) &&
           waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // Settles the first paint before anything is timed.
    QCoreApplication::processEvents();
}

void figures(benchmark::State& state, bool noticed) {
    const AppState settings = quitMinutesAgo(state.range(0));
    std::vector<std::pair<QDateTime, DateTimeParts>> day;
    for (int minute = 0; minute < kDay; ++minute)
        day.emplace_back(now().addSecs(60 * minute), minuteParts(now().addSecs(60 * minute)));
    MilestoneNotices notices;
    std::size_t next = 0;
    int r = 0;
    for (auto _ : state) {
        const auto& [moment, minute] = day[next];
        const StatusSnapshot status = computeStatus(settings, minute, r);
        QString report = statusReport(settings, status, false);
        benchmark::DoNotOptimize(report);
        if (noticed)
            benchmark::DoNotOptimize(notices.noticeAt(settings, status, moment, true));
        r = (r + 1) % 100;
        next = (next + 1) % day.size();
    }
}

void numberTexts(benchmark::State& state) {
    std::int64_t n = 525600;
    for (auto _ : state) {
        std::array<QString, 6> texts;
        for (QString& text : texts)
            text = QString::number(n++) + u'円';
        benchmark::DoNotOptimize(texts);
    }
}

void mainWindow(benchmark::State& state, bool painted) {
    MainWindow window;
    window.setValueColours(colourFromStored(9241372), colourFromStored(16777215));
    const auto refreshes = twoRefreshes(state.range(0));
    window.showStatus(refreshes[1]);
    waitUntilExposed(window);
    std::size_t next = 0;
    for (auto _ : state) {
        window.showStatus(refreshes[next]);
        if (painted)
            QCoreApplication::processEvents();
        next ^= 1;
    }
}

void sixLabels(benchmark::State& state, bool painted) {
    // The main window's value labels: font, fill and place.
    constexpr std::array<QRect, 6> kDesign{{{240, 240, 3615, 255},
                                            {240, 790, 3615, 255},
                                            {240, 1340, 3615, 255},
                                            {4080, 240, 1335, 255},
                                            {240, 1890, 5175, 255},
                                            {240, 2440, 5175, 255}}};
    QWidget window;
    window.setFixedSize(twipsToPixels(5625), twipsToPixels(3330));
    std::array<QLabel*, 6> labels{};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        labels[i] = new QLabel(&window);
        labels[i]->setFont(msGothic(9));
        labels[i]->setAutoFillBackground(true);
        const QRect& d = kDesign[i];
        labels[i]->setGeometry(twipsRect(d.x(), d.y(), d.width(), d.height()));
    }
    const auto refreshes = twoRefreshes(state.range(0));
    const std::array<std::array<QString, 6>, 2> texts{textsOf(refreshes[0]), textsOf(refreshes[1])};
    for (std::size_t i = 0; i < labels.size(); ++i)
        labels[i]->setText(texts[1][i]);
    waitUntilExposed(window);
    std::size_t next = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < labels.size(); ++i)
            labels[i]->setText(texts[next][i]);
        if (painted)
            QCoreApplication::processEvents();
        next ^= 1;
    }
}

struct Family {
    const char* name;
    const char* baseline;
    const char* what;
    double goalSeconds; // 0: no goal
};

const Family kFamilies[] = {
    {"figures", "number_texts", "refresh, figures and report", 5e-6},
    {"figures_noticed", "figures", "refresh with the milestone check", 0},
    {"main_window", "six_labels", "refresh, main window", 300e-6},
    {"main_window_painted", "six_labels_painted", "refresh and paint, main window", 0},
};

void registerAll() {
    auto figureArgs = [](benchmark::internal::Benchmark* b) {
        for (const QuitAgo& q : kQuitAgo)
            if (q.minutes != kTakeTurns)
                b->Arg(q.minutes);
    };
    auto windowArgs = [](benchmark::internal::Benchmark* b) {
        b->Arg(kMinute)->Arg(kDay)->Arg(kCentury)->Arg(kTakeTurns);
    };
    auto settings = [](benchmark::internal::Benchmark* b) {
        b->Repetitions(10)->ReportAggregatesOnly(true)->MinTime(0.1)->MeasureProcessCPUTime();
    };
    settings(benchmark::RegisterBenchmark("figures", figures, false)->Apply(figureArgs));
    settings(benchmark::RegisterBenchmark("figures_noticed", figures, true)->Apply(figureArgs));
    settings(benchmark::RegisterBenchmark("number_texts", numberTexts));
    for (const bool painted : {false, true}) {
        settings(benchmark::RegisterBenchmark(painted ? "main_window_painted" : "main_window",
                                              mainWindow, painted)
                     ->Apply(windowArgs));
        settings(benchmark::RegisterBenchmark(painted ? "six_labels_painted" : "six_labels",
                                              sixLabels, painted)
                     ->Apply(windowArgs));
    }
}

// Google Benchmark's console output, then the medians as table rows.
class TableReporter : public benchmark::ConsoleReporter {
public:
    TableReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median")
                continue;
            const double seconds =
                run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            m_medians[run.run_name.function_name][run.run_name.args] = seconds;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        const QString platform = QGuiApplication::platformName();
        for (const Family& family : kFamilies) {
            const auto program = m_medians.find(family.name);
            const auto baseline = m_medians.find(family.baseline);
            if (program == m_medians.end() || baseline == m_medians.end())
                continue;
            for (const QuitAgo& q : kQuitAgo) {
                const std::string arg = std::to_string(q.minutes);
                const auto p = program->second.find(arg);
                if (p == program->second.end())
                    continue;
                // A baseline without arguments serves every argument.
                auto b = baseline->second.find(arg);
                if (b == baseline->second.end())
                    b = baseline->second.find("");
                if (b == baseline->second.end())
                    continue;
                row(family, platform, q.words, p->second, b->second);
            }
        }
        std::fflush(stdout);
    }

private:
    static void row(const Family& family, const QString& platform, const char* quitAgo,
                    double seconds, double baselineSeconds) {
        const bool widgets = family.baseline != std::string("number_texts") &&
                             family.baseline != std::string("figures");
        const std::string where = widgets ? " (" + platform.toStdString() + ")" : "";
        char goal[32] = "—";
        const char* met = "—";
        if (family.goalSeconds > 0) {
            std::snprintf(goal, sizeof goal, "≤ %g µs", family.goalSeconds * 1e6);
            met = seconds <= family.goalSeconds ? "yes" : "no";
        }
        std::printf("| %s%s, %s | CPU time | %.2f µs | %.2f µs | %.2f× | %s | %s |\n", family.what,
                    where.c_str(), quitAgo, seconds * 1e6, baselineSeconds * 1e6,
                    seconds / baselineSeconds, goal, met);
    }

    std::map<std::string, std::map<std::string, double>> m_medians;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    installJapaneseFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    registerAll();
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
