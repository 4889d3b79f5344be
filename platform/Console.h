#pragma once
#include <memory>
#include <string>
#include <vector>

namespace photocheck {

// The arguments of a command-line program in UTF-8, the program's name first. On Windows they are
// taken from the wide command line, so a Chinese path typed there arrives whatever the code page.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Whether standard output is a terminal (a console window on Windows), where a progress bar can be
// drawn in place.
bool standardOutputIsTerminal();

// The standard streams of a command-line program while it runs: the program writes UTF-8 and "\n",
// and the operator reads Chinese. On Windows a console gets the text as UTF-16 (readable in cmd.exe
// and PowerShell whatever their code page) and understands the escape that redraws the progress bar;
// a file or pipe gets the bytes as written. Nothing changes on Linux.
class ConsoleStreams {
  public:
    ConsoleStreams();
    ~ConsoleStreams();
    ConsoleStreams(const ConsoleStreams&) = delete;
    ConsoleStreams& operator=(const ConsoleStreams&) = delete;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace photocheck
