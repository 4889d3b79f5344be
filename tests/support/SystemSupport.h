#pragma once
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What the tests need of the operating system beyond platform/, on Linux and Windows alike
// (support/posix/ and support/win32/, chosen by CMake). Where a system cannot do a thing the function
// says so, and the test that needs it skips with that reason.

namespace photocheck::test {

bool onWindows();

// A link at `link` to `target` (a folder or a file): a symbolic link on Linux; on Windows a junction
// to a folder or a symbolic link to a file. Wine 8 makes neither: there a link to a folder is a
// symbolic link of the host, which Wine shows as a folder with a reparse point, as a junction is.
// False where the system cannot make one (a link to a file under Wine).
bool makeLink(const std::string& target, const std::string& link);
// A file that is listed in its folder but cannot be read while the object lives: a dangling link on
// Linux; on Windows a file this process holds open without sharing.
class UnreadableFile {
  public:
    explicit UnreadableFile(const std::string& path);
    ~UnreadableFile();
    UnreadableFile(const UnreadableFile&) = delete;
    UnreadableFile& operator=(const UnreadableFile&) = delete;

    // Why copying it fails, as the operator reads it; the Chinese explanation of why it cannot be read.
    static std::string reason();
    static std::string explanation();

  private:
    struct Held;  // defined by each system
    std::unique_ptr<Held> held_;
};

// A named pipe in a folder (Linux only).
bool makeNamedPipe(const std::string& path);
// The Linux permission bits of a file or folder (Linux only).
bool setMode(const std::string& path, unsigned mode);
// The Linux permission bits of a file or folder; 0 on Windows, which has none.
unsigned modeOf(const std::string& path);
// Marks a file read-only (on Linux: no write permission for anyone).
void makeReadOnly(const std::string& path);
bool isReadOnly(const std::string& path);
// The time a file was last written, in seconds since 1970; -1 when it cannot be read.
std::time_t modificationTimeOf(const std::string& path);

// The system's words for a path that names nothing (a missing file in an existing folder), and for a
// path through a folder that does not exist.
std::string missingFileText();
std::string missingFolderText();

// Whether a name can be written in the system's ANSI code page, where the narrow Windows calls take
// it; always false on Linux, which has none.
bool representableInAnsiCodePage(const std::string& utf8);

// A program built beside the tests: its name with ".exe" on Windows.
std::string programIn(const std::string& folder, const std::string& name);

// What a finished program gave: its exit status (-1 when a signal ended it) and its output.
struct ProgramResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a program to its end, in `workingFolder` when one is given, with its output and errors captured.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingFolder = "");

// A program running beside the test with its standard output read line by line (its errors are
// dropped); killed at the end if still running.
class RunningProgram {
  public:
    RunningProgram(const std::string& program, const std::vector<std::string>& args);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // The next complete line of output; nothing at its end or when none comes for a long while.
    std::optional<std::string> nextLine();
    // Ends the program at once, as a crash would (SIGKILL, TerminateProcess); true when it was still
    // running and the kill ended it.
    bool killNow();
#ifndef _WIN32
    // Sends a signal and waits for the program's end: its exit status, or -1 when a signal ended it.
    int signalAndWait(int signal);
#endif

  private:
    struct Process;  // defined by each system
    std::unique_ptr<Process> process_;
    std::string pending_;
};

}  // namespace photocheck::test
