#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QtTest>
#include <cstdio>
#include <string>

#include "app/ResultsModel.h"
#include "app/Startup.h"
#include "bench/ResultRows.h"
#include "bench/WindowBenchmarks.h"
#include "platform/ProcessMemory.h"

namespace photocheck::bench {
namespace {

constexpr double GridMostMb = 16;

double mb(int64_t kb) {
    return static_cast<double>(kb) / 1024.0;
}

void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

int currentRow(const QTableView& grid) {
    return grid.currentIndex().row();
}

}  // namespace

bool measureGridScroll(BenchWorkspace& workspace, int rows, std::ostream& out) {
    std::fprintf(stderr, "Filling the results table with %d rows\n", rows);
    fillResultsTable(workspace.database(), rows);

    const std::unique_ptr<Desktop> desktop = startDesktop({"", workspace.workFolder()});
    if (!desktop) throw std::runtime_error("the window did not start");
    TFrmMain& window = desktop->frmMain;
    window.show();
    auto* grid = window.findChild<QTableView*>("DBGrid1");
    const auto* model = qobject_cast<const ResultsModel*>(grid->model());
    grid->setFocus();
    settle();
    const int64_t openedKb = residentKb();
    if (!resetPeakResident()) throw std::runtime_error("the system cannot reset the peak resident size");

    QElapsedTimer clock;
    clock.start();
    while (model->canFetchMore({}) || currentRow(*grid) != model->rowCount() - 1) {
        QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
        settle();
    }
    const double toEndSeconds = clock.restart() / 1e3;
    const int rowsKnown = model->rowCount();
    const double atEndMb = mb(residentKb() - openedKb);
    const double toEndPeakMb = mb(peakResidentKb() - openedKb);
    while (currentRow(*grid) > 0) {
        QTest::keyClick(grid, Qt::Key_PageUp);
        settle();
    }
    const double backSeconds = clock.elapsed() / 1e3;
    const double peakMb = mb(peakResidentKb() - openedKb);
    const QString firstName = model->index(0, 0).data().toString();
    window.hide();

    char text[512];
    std::snprintf(text, sizeof text,
                  "Results grid over %d rows (the grid knew %d at the end, first row %s): opened at %.1f MB "
                  "resident; Ctrl+End to the last row %.1f s (then %+.1f MB, peak %+.1f MB), Page Up back to "
                  "the first %.1f s\n",
                  rows, rowsKnown, firstName.toStdString().c_str(), mb(openedKb), toEndSeconds, atEndMb,
                  toEndPeakMb, backSeconds);
    out << text;
    const bool met = peakMb <= GridMostMb && rowsKnown == rows;
    std::snprintf(text, sizeof text, "  %-46s %12.1f MB   target <= %.1f   %s\n",
                  "grid scrolled: peak above the opened window", peakMb, GridMostMb, met ? "PASS" : "MISS");
    out << text;
    return met;
}

}  // namespace photocheck::bench
