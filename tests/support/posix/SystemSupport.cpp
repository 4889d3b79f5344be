#include "tests/support/SystemSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

#include "platform/SystemReason.h"
#include "tests/support/TestSupport.h"

namespace photocheck::test {
namespace {

std::vector<char*> argvOf(std::vector<std::string>& all) {
    std::vector<char*> argv;
    argv.reserve(all.size() + 1);
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    return argv;
}

// Starts the program with its standard output on a pipe whose reading end is returned in `out`.
pid_t spawn(const std::string& program, const std::vector<std::string>& args,
            const std::string& workingFolder, const std::string& errorFile, int& out) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    std::vector<std::string> all = {program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv = argvOf(all);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        throw std::runtime_error("cannot start " + program);
    }
    out = fds[0];
    return pid;
}

int exitStatusOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

bool onWindows() {
    return false;
}

bool makeLink(const std::string& target, const std::string& link) {
    return symlink(target.c_str(), link.c_str()) == 0;
}

struct UnreadableFile::Held {};

UnreadableFile::UnreadableFile(const std::string& path) {
    if (symlink((path + ".nowhere").c_str(), path.c_str()) != 0) throw std::runtime_error("symlink " + path);
}

UnreadableFile::~UnreadableFile() = default;

std::string UnreadableFile::reason() {
    return systemReason(ENOENT);
}

std::string UnreadableFile::explanation() {
    return "文件或文件夹不存在";
}

bool makeNamedPipe(const std::string& path) {
    return mkfifo(path.c_str(), 0600) == 0;
}

bool setMode(const std::string& path, unsigned mode) {
    return chmod(path.c_str(), static_cast<mode_t>(mode)) == 0;
}

unsigned modeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

void makeReadOnly(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) chmod(path.c_str(), st.st_mode & ~0222);
}

bool isReadOnly(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
}

std::time_t modificationTimeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mtime : -1;
}

std::string missingFileText() {
    return std::strerror(ENOENT);
}

std::string missingFolderText() {
    return std::strerror(ENOENT);
}

bool representableInAnsiCodePage(const std::string&) {
    return false;
}

std::string programIn(const std::string& folder, const std::string& name) {
    return folder + "/" + name;
}

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingFolder) {
    const TempDir scratch;
    int out = -1;
    const pid_t pid = spawn(program, args, workingFolder, scratch.file("stderr"), out);
    ProgramResult result;
    char buffer[4096];
    for (ssize_t n; (n = read(out, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        result.out.append(buffer, static_cast<size_t>(n));
    }
    close(out);
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = exitStatusOf(status);
    result.err = readFile(scratch.file("stderr"));
    return result;
}

struct RunningProgram::Process {
    pid_t pid = -1;
    int out = -1;
};

RunningProgram::RunningProgram(const std::string& program, const std::vector<std::string>& args)
    : process_(std::make_unique<Process>()) {
    process_->pid = spawn(program, args, "", "/dev/null", process_->out);
}

RunningProgram::~RunningProgram() {
    if (process_->pid > 0) {
        kill(process_->pid, SIGKILL);
        waitpid(process_->pid, nullptr, 0);
    }
    close(process_->out);
}

std::optional<std::string> RunningProgram::nextLine() {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    for (;;) {
        const size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        pollfd p{process_->out, POLLIN, 0};
        if (std::chrono::steady_clock::now() > giveUp || poll(&p, 1, 1000) < 0) return std::nullopt;
        if (p.revents == 0) continue;
        char buffer[4096];
        const ssize_t n = read(process_->out, buffer, sizeof buffer);
        if (n <= 0) return std::nullopt;
        pending_.append(buffer, static_cast<size_t>(n));
    }
}

bool RunningProgram::killNow() {
    kill(process_->pid, SIGKILL);
    int status = 0;
    waitpid(process_->pid, &status, 0);
    process_->pid = -1;
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

int RunningProgram::signalAndWait(int signal) {
    kill(process_->pid, signal);
    while (nextLine()) {
    }
    int status = 0;
    waitpid(process_->pid, &status, 0);
    process_->pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace photocheck::test
