// photocheck-bench-window: the real window on the offscreen platform, measured.
//
//   photocheck-bench-window [--rows=N] [--photos=N] [--rounds=N] [--scratch=DIR]
//
// --rows is the size of the generated results table the grid is scrolled through (1,000,000; 0
// leaves it out), --photos the size of the generated folder of the run from the window against the
// command line's (3,000; 0 leaves it out), --rounds how many times each run is taken in turn (7),
// --scratch the folder in which the working files are made (/dev/shm, or the build folder where there
// is none: see BenchWorkspace). Each measure is printed with its target and PASS or MISS;
// the exit status is 1 when one is missed.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>

#include "app/Startup.h"
#include "bench/WindowBenchmarks.h"

int main(int argc, char** argv) {
    CLI::App cli{"The real window on the offscreen platform, measured against its targets."};
    int rows = 1000000;
    int photos = 3000;
    int rounds = 7;
    std::string scratch;
    cli.add_option("--rows", rows, "Rows of the results table scrolled through (0: none)")
        ->capture_default_str();
    cli.add_option("--photos", photos, "Photos of the run from the window (0: none)")->capture_default_str();
    cli.add_option("--rounds", rounds, "Runs of the window and of the command line, in turn")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    cli.add_option("--scratch", scratch,
                   "Folder for the working files (default: /dev/shm, else the build folder)");
    CLI11_PARSE(cli, argc, argv);

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    photocheck::bench::TimedApplication app(qtArgc, argv);
    photocheck::prepareApplication(app);
    QApplication::setQuitOnLastWindowClosed(false);
    try {
        using namespace photocheck::bench;
        bool met = true;
        if (rows > 0) {
            BenchWorkspace workspace(PhotoFolderPlan{1, 1}, scratch);
            met = measureGridScroll(workspace, rows, std::cout) && met;
        }
        if (photos > 0) {
            BenchWorkspace workspace(PhotoFolderPlan{photos, std::max(photos / 10, 1)}, scratch);
            met = measureWindowRun(workspace, rounds, app, std::cout) && met;
        }
        return met ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "photocheck-bench-window: " << e.what() << "\n";
        return 2;
    }
}
