// A batch run killed halfway keeps every row it reported, in a database that is still sound.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "store/Database.h"
#include "tests/support/TestSupport.h"

extern char** environ;

namespace photocheck {
namespace {

namespace fs = std::filesystem;

constexpr int PhotoCount = 300;
constexpr int KillAfter = 20;  // reported rows

std::string binFolder() {
    const char* bin = std::getenv("PHOTOCHECK_BIN");
    return bin ? bin : "bin";
}

std::string samplesFolder() {
    const std::string source = __FILE__;
    return source.substr(0, source.rfind("tests/cli/")) + "samples";
}

// The count of a line "。。。。。。。。。。。。。。。已检测照片" + k + "张".
std::optional<int> reportedCount(const std::string& line) {
    const std::string prefix = "。。。。。。。。。。。。。。。已检测照片";
    const std::string suffix = "张";
    if (line.rfind(prefix, 0) != 0 || line.size() < prefix.size() + suffix.size() ||
        line.compare(line.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    return std::stoi(line.substr(prefix.size(), line.size() - prefix.size() - suffix.size()));
}

// The CLI as a child process whose standard output is a pipe; killed at the end if still running.
class RunningCli {
  public:
    explicit RunningCli(const std::vector<std::string>& args) {
        int fds[2];
        if (pipe(fds) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addclose(&actions, fds[1]);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        const std::string program = binFolder() + "/photocheck-cli";
        std::vector<std::string> all = {program};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& arg : all) argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int rc = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out_ = fds[0];
        if (rc != 0) throw std::runtime_error("cannot start " + program);
    }
    ~RunningCli() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
    }

    // The next complete line of output; nothing at its end or when none comes for a long while.
    std::optional<std::string> nextLine() {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(5);
        for (;;) {
            const size_t end = pending_.find('\n');
            if (end != std::string::npos) {
                std::string line = pending_.substr(0, end);
                pending_.erase(0, end + 1);
                return line;
            }
            pollfd p{out_, POLLIN, 0};
            if (std::chrono::steady_clock::now() > giveUp || poll(&p, 1, 1000) < 0) return std::nullopt;
            if (p.revents == 0) continue;
            char buffer[4096];
            const ssize_t n = read(out_, buffer, sizeof buffer);
            if (n <= 0) return std::nullopt;
            pending_.append(buffer, static_cast<size_t>(n));
        }
    }

    // Kills the child with SIGKILL; true when it was still running and the signal ended it.
    bool killNow() {
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string pending_;
};

std::string photoName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "p%04d", i);
    return name;
}

struct BatchKillTest : ::testing::Test {
    test::TempDir dir;
    std::string photos = dir.file("photos");
    std::string work = dir.file("work");

    void SetUp() override {
        if (!test::fileExists(binFolder() + "/xl.oef"))
            GTEST_SKIP() << "the data package xl.oef is not built";
        std::vector<fs::path> samples;
        for (const auto& e : fs::directory_iterator(samplesFolder()))
            if (e.path().extension() == ".jpg") samples.push_back(e.path());
        std::sort(samples.begin(), samples.end());
        ASSERT_FALSE(samples.empty());
        fs::create_directories(photos);
        for (int i = 1; i <= PhotoCount; ++i)
            fs::copy_file(samples[static_cast<size_t>(i) % samples.size()],
                          photos + "/" + photoName(i) + ".jpg");
    }
};

TEST_F(BatchKillTest, KilledHalfwayKeepsEveryReportedRowAndASoundDatabase) {
    int reported = 0;
    {
        RunningCli cli({"batch", photos, "--work-folder", work, "-j", "1"});
        while (reported < KillAfter) {
            const std::optional<std::string> line = cli.nextLine();
            ASSERT_TRUE(line) << "the run ended after " << reported << " photos";
            if (const auto count = reportedCount(*line)) reported = *count;
        }
        ASSERT_TRUE(cli.killNow()) << "the run was over before it was killed";
        // What reached the pipe before the kill was reported too.
        while (const std::optional<std::string> line = cli.nextLine())
            if (const auto count = reportedCount(*line)) reported = *count;
    }
    ASSERT_LT(reported, PhotoCount);

    Database db(work + "/qob.trd", DatabaseKey);
    Query q(db);
    OpenSql(q, "PRAGMA integrity_check");
    ASSERT_EQ(q.fetchAll(), 1u);
    EXPECT_EQ(q.text(0, "integrity_check"), "ok");
    OpenSql(q, "select name from pictureMsg order by rowid");
    ASSERT_GE(q.fetchAll(), static_cast<size_t>(reported));
    for (int i = 0; i < reported; ++i)
        ASSERT_EQ(q.text(static_cast<size_t>(i), "name"), " " + photoName(i + 1) + " ");
}

}  // namespace
}  // namespace photocheck
