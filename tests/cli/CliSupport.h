#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

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

// A batch run's photo folder and working folder in a scratch folder of the test's own (neither made
// here); the test is skipped when the data package that the command installs from is not built.
struct BatchFoldersTest : ::testing::Test {
    test::TempDir dir;
    std::string photos = dir.file("photos");
    std::string work = dir.file("work");
    void SetUp() override;
};

}  // namespace photocheck::clitest
