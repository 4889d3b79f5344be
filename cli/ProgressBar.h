#pragma once
#include <ostream>
#include <string>

namespace photocheck {

// The progress of a batch run on the command line. On a terminal one bar line is redrawn in place
// and other lines are printed above it; elsewhere every line, the per-photo ones included, is
// printed as it comes.
class ProgressBar {
  public:
    ProgressBar(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}

    void start(int total);
    void photoDone(int processed, const std::string& line);
    void printLine(const std::string& line);
    // Ends the bar line, so that a message can follow (after an error).
    void interrupt();

  private:
    void draw();
    void erase();

    std::ostream& out_;
    const bool terminal_;
    int total_ = 0;
    int processed_ = 0;
    bool visible_ = false;
};

// The bar line for a position: "[#####---------------]   5/20  25%".
std::string progressBarText(int processed, int total);

}  // namespace photocheck
