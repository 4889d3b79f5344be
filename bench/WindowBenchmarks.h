#pragma once
#include <QApplication>
#include <QElapsedTimer>
#include <ostream>
#include <string>

#include "bench/BenchWorkspace.h"

namespace photocheck::bench {

// The application of the window benchmark. It times every event its own thread handles, outermost
// ones only, so that the longest time the window's thread was away from its event loop shows.
class TimedApplication : public QApplication {
  public:
    TimedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
    void resetLongestEvent() { longestNs_ = 0; }
    double longestEventMs() const { return static_cast<double>(longestNs_) / 1e6; }
    // The receiver's class and name and the event's type of the longest event.
    const std::string& longestEventWhat() const { return longestWhat_; }

  private:
    QElapsedTimer clock_;
    int depth_ = 0;
    qint64 longestNs_ = 0;
    std::string longestWhat_;
};

// The results grid of the real window (on the offscreen platform) over a generated table of `rows`
// rows: opened, driven with Ctrl+End to the last row (each press at the end of what has been read
// makes the grid read the next page), then with Page Up back to the first. Prints the peak of the
// process's resident memory above the window with the table just opened, against its target.
// Returns whether the target is met.
bool measureGridScroll(BenchWorkspace& workspace, int rows, std::ostream& out);

// A batch run from the real window over the workspace's photo folder against `photocheck-cli batch`
// over the same folder, taken in turn for `rounds` rounds: the window's wall time from the click to
// the results shown again at most 1.03 x the command line's, the fastest of each counting, and no
// event of the window's thread (the run's end and the reopening of the results included) longer than
// 50 ms. Prints both with their targets; returns whether both are met.
bool measureWindowRun(BenchWorkspace& workspace, int rounds, TimedApplication& app, std::ostream& out);

}  // namespace photocheck::bench
