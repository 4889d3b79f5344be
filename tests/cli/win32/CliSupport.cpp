#include "tests/cli/CliSupport.h"

#include <stdexcept>

// Windows has no POSIX shell: the tests that need one run on Linux only.

namespace photocheck::clitest {

std::string cliCommand(const std::vector<std::string>&) {
    throw std::runtime_error("no POSIX shell on Windows");
}

CliResult runCommand(const std::string&) {
    throw std::runtime_error("no POSIX shell on Windows");
}

}  // namespace photocheck::clitest
