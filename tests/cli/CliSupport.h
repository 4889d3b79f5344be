#pragma once
#include <string>
#include <vector>

namespace photocheck::clitest {

using Lines = std::vector<std::string>;

std::string binFolder();     // where photocheck-cli and the data package were built
std::string sourceFolder();  // the source tree, with its final separator
std::string shellQuoted(const std::string& text);

// What a finished photocheck-cli gave: its exit status (-1 when a signal ended it) and its output.
struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
    Lines lines() const;  // the standard output's lines
};

// Runs photocheck-cli with the arguments to its end, in `workingFolder` when one is given.
CliResult runCli(const std::vector<std::string>& args, const std::string& workingFolder = "");
// The shell's command that runs photocheck-cli with the arguments, and a shell command run to its end.
std::string cliCommand(const std::vector<std::string>& args);
CliResult runCommand(const std::string& command);

}  // namespace photocheck::clitest
