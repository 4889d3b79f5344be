#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "bench/WindowBenchmarks.h"
#include "platform/ExecutableFolder.h"

namespace photocheck::bench {
namespace {

constexpr double MostTimesCommandLine = 1.03;
constexpr double LongestPauseMs = 50;
constexpr int RunTimeoutMs = 30 * 60 * 1000;

// The command line's run over the same folder, in a working folder of its own, its lines discarded.
double commandLineSeconds(const std::string& photoFolder, const std::string& workFolder) {
    QProcess cli;
    cli.setStandardOutputFile(QProcess::nullDevice());
    cli.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    cli.start(
        QString::fromStdString(executableFolder() + "photocheck-cli"),
        {"batch", QString::fromStdString(photoFolder), "--work-folder", QString::fromStdString(workFolder)});
    if (!cli.waitForFinished(RunTimeoutMs) || cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0)
        throw std::runtime_error("photocheck-cli batch failed: " + cli.errorString().toStdString());
    return clock.elapsed() / 1e3;
}

struct WindowRun {
    double seconds = 0;         // from the click to the run's end, the results shown again
    double longestPauseMs = 0;  // the longest the window's thread was away from its event loop
    std::string longestWhat;    // the event it was handling
};

// Runs the event loop, which sleeps while nothing happens, until `done` holds or `ms` have passed.
void runEventLoopUntil(const std::function<bool()>& done, int ms) {
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done && done()) loop.quit();
    });
    look.start(10);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A click on "批量模式", then the event loop until the run has ended and the results are shown again
// (opened aside, the query button disabled meanwhile), and a little longer for what that leaves.
WindowRun windowRun(TFrmMain& window, TimedApplication& app) {
    auto* run = window.findChild<QToolButton*>("SpeedButton1");
    auto* query = window.findChild<QToolButton*>("SpeedButton2");
    QElapsedTimer clock;
    app.resetLongestEvent();
    clock.start();
    QTest::mouseClick(run, Qt::LeftButton);
    runEventLoopUntil([&] { return run->isEnabled() && query->isEnabled(); }, RunTimeoutMs);
    if (!run->isEnabled() || !query->isEnabled()) throw std::runtime_error("the window's run did not end");
    WindowRun measured;
    measured.seconds = clock.elapsed() / 1e3;
    runEventLoopUntil({}, 300);
    measured.longestPauseMs = app.longestEventMs();
    measured.longestWhat = app.longestEventWhat();
    return measured;
}

}  // namespace

TimedApplication::TimedApplication(int& argc, char** argv) : QApplication(argc, argv) {
    clock_.start();
}

bool TimedApplication::notify(QObject* receiver, QEvent* event) {
    if (QThread::currentThread() != thread()) return QApplication::notify(receiver, event);
    const qint64 start = depth_++ == 0 ? clock_.nsecsElapsed() : -1;
    const bool handled = QApplication::notify(receiver, event);
    --depth_;
    if (start < 0) return handled;
    const qint64 spent = clock_.nsecsElapsed() - start;
    if (spent > longestNs_) {
        longestNs_ = spent;
        longestWhat_ = std::string(receiver->metaObject()->className()) + " " +
                       receiver->objectName().toStdString() + ", event " +
                       std::to_string(static_cast<int>(event->type()));
    }
    return handled;
}

bool measureWindowRun(BenchWorkspace& workspace, int rounds, TimedApplication& app, std::ostream& out) {
    const std::unique_ptr<Desktop> desktop = startDesktop({workspace.photoFolder(), workspace.workFolder()});
    if (!desktop) throw std::runtime_error("the window did not start");
    TFrmMain& window = desktop->frmMain;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) throw std::runtime_error("the window was not shown");
    const std::string cliWork = workspace.workFolder() + "../cli-work";

    double bestCli = std::numeric_limits<double>::infinity();
    double bestWindow = bestCli;
    double fewestLongest = bestCli;
    double mostLongest = 0;
    std::vector<double> ratios;
    for (int round = 0; round < rounds; ++round) {
        const double cli = commandLineSeconds(workspace.photoFolder(), cliWork);
        const WindowRun run = windowRun(window, app);
        std::fprintf(stderr, "  round %d: command line %.2f s, window %.2f s, longest pause %.1f ms (%s)\n",
                     round + 1, cli, run.seconds, run.longestPauseMs, run.longestWhat.c_str());
        bestCli = std::min(bestCli, cli);
        bestWindow = std::min(bestWindow, run.seconds);
        fewestLongest = std::min(fewestLongest, run.longestPauseMs);
        mostLongest = std::max(mostLongest, run.longestPauseMs);
        ratios.push_back(run.seconds / cli);
    }
    window.hide();

    const size_t photos = workspace.folderPhotos().size();
    const double ratio = bestWindow / bestCli;
    const auto [lowest, highest] = std::minmax_element(ratios.begin(), ratios.end());
    const bool fastEnough = ratio <= MostTimesCommandLine;
    const bool smooth = fewestLongest <= LongestPauseMs;
    char text[512];
    std::snprintf(
        text, sizeof text,
        "Run from the window over %zu photos: %.2f s against the command line's %.2f s, best of %d "
        "rounds in turn (rounds %.2f to %.2f x); longest pause of the window's thread %.1f to %.1f ms\n",
        photos, bestWindow, bestCli, rounds, *lowest, *highest, fewestLongest, mostLongest);
    out << text;
    std::snprintf(text, sizeof text, "  %-46s %12.2f x    target <= %.2f   %s\n", "window run / command line",
                  ratio, MostTimesCommandLine, fastEnough ? "PASS" : "MISS");
    out << text;
    std::snprintf(text, sizeof text, "  %-46s %12.1f ms   target <= %.0f     %s\n",
                  "window run: longest pause of its thread", fewestLongest, LongestPauseMs,
                  smooth ? "PASS" : "MISS");
    out << text;
    return fastEnough && smooth;
}

}  // namespace photocheck::bench
