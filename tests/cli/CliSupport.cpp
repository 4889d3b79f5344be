#include "tests/cli/CliSupport.h"

#include <cstdlib>
#include <sstream>

#include "platform/ExecutableFolder.h"
#include "tests/support/SystemSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck::clitest {

// Beside this test program, or where PHOTOCHECK_BIN says.
std::string binFolder() {
    const char* bin = std::getenv("PHOTOCHECK_BIN");
    return bin ? std::string(bin) : executableFolder();
}

std::string sourceFolder() {
    const std::string source = __FILE__;
    return source.substr(0, source.rfind("tests/cli/"));
}

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

Lines CliResult::lines() const {
    Lines result;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

CliResult runCli(const std::vector<std::string>& args, const std::string& workingFolder) {
    const test::ProgramResult r =
        test::runProgram(test::programIn(binFolder(), "photocheck-cli"), args, workingFolder);
    return {r.status, r.out, r.err};
}

void BatchFoldersTest::SetUp() {
    if (!test::fileExists(binFolder() + "/xl.oef")) GTEST_SKIP() << "the data package xl.oef is not built";
}

}  // namespace photocheck::clitest
