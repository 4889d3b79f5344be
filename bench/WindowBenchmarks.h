#pragma once
#include <ostream>

#include "bench/BenchWorkspace.h"

namespace photocheck::bench {

// The results grid of the real window (on the offscreen platform) over a generated table of `rows`
// rows: opened, driven with Ctrl+End to the last row (each press at the end of what has been read
// makes the grid read the next page), then with Page Up back to the first. Prints the peak of the
// process's resident memory above the window with the table just opened, against its target.
// Returns whether the target is met.
bool measureGridScroll(BenchWorkspace& workspace, int rows, std::ostream& out);

}  // namespace photocheck::bench
