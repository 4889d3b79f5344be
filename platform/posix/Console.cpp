#include "platform/Console.h"

#include <unistd.h>

namespace photocheck {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

bool standardOutputIsTerminal() {
    return isatty(STDOUT_FILENO) != 0;
}

// A Linux terminal takes UTF-8 as it is.
struct ConsoleStreams::State {};

ConsoleStreams::ConsoleStreams() = default;
ConsoleStreams::~ConsoleStreams() = default;

}  // namespace photocheck
