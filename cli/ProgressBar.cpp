#include "cli/ProgressBar.h"

namespace photocheck {
namespace {

constexpr int BarWidth = 40;
const char* const EraseLine = "\r\x1b[K";

}  // namespace

std::string progressBarText(int processed, int total) {
    if (processed > total) processed = total;
    const int filled = total > 0 ? static_cast<int>(static_cast<long long>(processed) * BarWidth / total) : 0;
    const int percent = total > 0 ? static_cast<int>(static_cast<long long>(processed) * 100 / total) : 0;
    const std::string count = std::to_string(processed) + "/" + std::to_string(total);
    const std::string totalText = std::to_string(total);
    const size_t countWidth = 2 * totalText.size() + 1;
    const std::string padding(countWidth > count.size() ? countWidth - count.size() : 0, ' ');
    return "[" + std::string(filled, '#') + std::string(BarWidth - filled, '-') + "] " + padding + count +
           "  " + std::to_string(percent) + "%";
}

void ProgressBar::start(int total) {
    total_ = total;
    processed_ = 0;
    if (terminal_ && total_ > 0) draw();
}

void ProgressBar::photoDone(int processed, const std::string& line) {
    processed_ = processed;
    if (!terminal_) {
        // One line per photo, passed on at once so a pipe or a log shows the run as it goes.
        out_ << line << '\n';
        out_.flush();
        return;
    }
    draw();
    if (processed_ == total_) interrupt();
}

void ProgressBar::printLine(const std::string& line) {
    erase();
    out_ << line << '\n';
    if (terminal_ && processed_ < total_) draw();
    out_.flush();
}

void ProgressBar::interrupt() {
    if (!visible_) return;
    out_ << '\n';
    out_.flush();
    visible_ = false;
}

void ProgressBar::draw() {
    out_ << EraseLine << progressBarText(processed_, total_);
    out_.flush();
    visible_ = true;
}

void ProgressBar::erase() {
    if (!visible_) return;
    out_ << EraseLine;
    visible_ = false;
}

}  // namespace photocheck
