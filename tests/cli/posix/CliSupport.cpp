#include "tests/cli/CliSupport.h"

#include <sys/wait.h>

#include <cstdio>
#include <stdexcept>

#include "tests/support/TestSupport.h"

namespace photocheck::clitest {

std::string cliCommand(const std::vector<std::string>& args) {
    std::string command = shellQuoted(binFolder() + "/photocheck-cli");
    for (const std::string& arg : args) command += " " + shellQuoted(arg);
    return command;
}

CliResult runCommand(const std::string& command) {
    const test::TempDir scratch;
    CliResult result;
    FILE* pipe = popen((command + " 2>" + shellQuoted(scratch.file("stderr"))).c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot start " + command);
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = test::readFile(scratch.file("stderr"));
    return result;
}

}  // namespace photocheck::clitest
