// Photo folders only Linux can build: a tree deeper than the longest path or 30,000 folders deep, a
// photo that becomes a pipe, a folder closed to an unprivileged user.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <filesystem>
#include <thread>

#include "batch/BatchRun.h"
#include "batch/ResultsQuery.h"
#include "batch/RowPhoto.h"
#include "platform/FileSystem.h"
#include "tests/batch/BatchTestSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

using Names = std::vector<std::string>;

constexpr uid_t NobodyId = 65534;

struct HostileFolderOnLinuxTest : test::BatchFolderTest {
    void put(const std::string& relative) const { BatchFolderTest::put(relative, "not a photo"); }
    BatchSummary run() { return RunBatch(adoPicMsg, options, {}, state); }
};

// A tree deeper than the system's longest path: the walk reports what it cannot reach.
TEST_F(HostileFolderOnLinuxTest, APathLongerThanTheSystemAllowsIsReportedAndTheWalkGoesOn) {
    put("a.txt");
    const std::string name(200, 'd');
    std::vector<int> folders{open(photos.c_str(), O_RDONLY | O_DIRECTORY)};
    std::string deep = photos;
    while (deep.size() <= PATH_MAX) {
        ASSERT_EQ(0, mkdirat(folders.back(), name.c_str(), 0700));
        folders.push_back(openat(folders.back(), name.c_str(), O_RDONLY | O_DIRECTORY));
        deep += "/" + name;
    }
    const int file = openat(folders.back(), "deep.jpg", O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(file, 0);
    close(file);

    std::vector<std::string> lines;
    BatchEvents events;
    events.onLogLine = [&lines](const std::string& line) { lines.push_back(line); };
    EXPECT_EQ(RunBatch(adoPicMsg, options, events, state).total, 1);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("未检测：" + photos + "/" + name + "/", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("，路径超过系统允许的长度（File name too long）"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1], "此文件夹照片一共有 1 张");

    unlinkat(folders.back(), "deep.jpg", 0);
    for (size_t i = folders.size() - 1; i > 0; --i) {
        close(folders[i]);
        unlinkat(folders[i - 1], name.c_str(), AT_REMOVEDIR);
    }
    close(folders[0]);
}

// Long names of one letter and a name filter of many wildcards: the engine's own LIKE would try every
// way to match and take seconds for each row, hours for longer filters.
TEST_F(HostileFolderOnLinuxTest, ANameFilterOfManyWildcardsOnLongNamesAnswersAtOnce) {
    for (int i = 0; i < 50; ++i)
        ExecSql(adoPicMsg, "insert into pictureMsg (name, result) values (' " + std::string(240, 'a') +
                               std::to_string(i) + " ', '不合格')");
    ResultsFilter filter;
    filter.verdict = "";
    filter.fileName = "a%a%a%a%a%a%a%b";
    EXPECT_FALSE(OpenSql(adoPicMsg, *buildResultsQuery(filter).statement));
    filter.fileName = "a%a%a%a%a%a%a%_1";
    ASSERT_TRUE(OpenSql(adoPicMsg, *buildResultsQuery(filter).statement));
    EXPECT_EQ(adoPicMsg.fetchAll(), 14u);  // 1, 10 to 19, 21, 31 and 41
}

// Plays the writer of a pipe that a reader waits on, after a while: a reader that waits shows as a
// failure of the test instead of a hang.
class PipeWatchdog {
  public:
    explicit PipeWatchdog(std::string pipe) : pipe_(std::move(pipe)), thread_([this] { watch(); }) {}
    // Whether anything waited on the pipe; the watch ends.
    bool readerWaited() {
        ended_ = true;
        if (thread_.joinable()) thread_.join();
        return readerWaited_;
    }
    ~PipeWatchdog() { readerWaited(); }

  private:
    void watch() {
        for (int tenths = 0; tenths < 100 && !ended_; ++tenths)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        for (; !ended_; std::this_thread::sleep_for(std::chrono::milliseconds(100))) {
            const int writer = open(pipe_.c_str(), O_WRONLY | O_NONBLOCK);  // opens only while a reader waits
            if (writer < 0) continue;
            readerWaited_ = true;
            close(writer);
        }
    }
    const std::string pipe_;
    std::atomic<bool> ended_{false};
    bool readerWaited_ = false;
    std::thread thread_;
};

TEST_F(HostileFolderOnLinuxTest, APhotoThatBecameAPipeFailsAtOnceInsteadOfWaiting) {
    put("a.jpg");
    put("b.txt");
    BatchEvents events;
    events.onProgressStart = [this](int) {  // after the walk
        unlink(at("a.jpg").c_str());
        mkfifo(at("a.jpg").c_str(), 0600);
    };
    PipeWatchdog watchdog(at("a.jpg"));
    const BatchSummary summary = RunBatch(adoPicMsg, options, events, state);
    EXPECT_FALSE(watchdog.readerWaited());
    EXPECT_EQ(summary.total, 2);
    const auto rows = test::tableRows(*db);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at(10), "照片文件无法读取");
    EXPECT_EQ(summary.missingCopies, 1);

    // Chosen in the grid, the row shows no photo, at once.
    PipeWatchdog whileShown(at("a.jpg"));
    CheckContext ctx;
    ShowRowPhoto(ctx, {" a ", " jpg ", " " + photos + "/ "});
    EXPECT_FALSE(whileShown.readerWaited());
}

// A chain of folders of one name below a folder, made and removed a level at a time through
// descriptors: its paths are far longer than the system allows.
struct FolderChain {
    static constexpr const char* Name = "d";
    std::string top;
    int depth;

    // Each returns the descriptor of the deepest folder.
    int make() const {
        int fd = open(top.c_str(), O_RDONLY | O_DIRECTORY);
        for (int i = 0; i < depth && fd >= 0; ++i) {
            mkdirat(fd, Name, 0700);
            const int next = openat(fd, Name, O_RDONLY | O_DIRECTORY);
            close(fd);
            fd = next;
        }
        return fd;
    }
    int descend() const {
        int fd = open(top.c_str(), O_RDONLY | O_DIRECTORY);
        for (int i = 0; i < depth && fd >= 0; ++i) {
            const int next = openat(fd, Name, O_RDONLY | O_DIRECTORY);
            close(fd);
            fd = next;
        }
        return fd;
    }
    // Removes the chain from its deepest folder up; the descriptor is closed.
    void removeFrom(int fd) const {
        for (int i = 0; i < depth && fd >= 0; ++i) {
            const int above = openat(fd, "..", O_RDONLY | O_DIRECTORY);
            close(fd);
            unlinkat(above, Name, AT_REMOVEDIR);
            fd = above;
        }
        close(fd);
    }
};

// The result folders on a memory file system where there is one: 30,000 folders made, emptied and
// removed cost seconds there against a minute on a busy disk.
TEST_F(HostileFolderOnLinuxTest, AResultFolderThirtyThousandFoldersDeepIsEmptiedAndTheRunGoesOn) {
    char memory[] = "/dev/shm/photocheck-deep-XXXXXX";
    const std::string results = mkdtemp(memory) ? std::string(memory) : dir.file("results");
    options.resultFolders = ResultFolders{results + "/合格照片", results + "/不合格照片"};
    test::makeFolders(options.resultFolders->failed);
    put("a.txt");
    const FolderChain chain{options.resultFolders->failed, 30000};
    int bottom = chain.make();
    ASSERT_GE(bottom, 0);
    close(openat(bottom, "old.jpg", O_WRONLY | O_CREAT, 0600));
    close(bottom);

    const BatchSummary summary = run();
    EXPECT_EQ(summary.total, 1);
    EXPECT_EQ(summary.undeletedFiles, 0);
    EXPECT_EQ(test::namesIn(options.resultFolders->failed), (Names{"a.txt", "d"}));
    bottom = chain.descend();
    EXPECT_GE(bottom, 0) << "the folders are kept";
    EXPECT_NE(faccessat(bottom, "old.jpg", F_OK, 0), 0) << "the old file at the bottom is deleted";
    chain.removeFrom(bottom);
    std::filesystem::remove_all(results);
}

// The walk as an unprivileged user, in a child process: the superuser reads every folder.
Names listAsNobody(const std::string& folder) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe");
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        if (geteuid() == 0 && (setgid(NobodyId) != 0 || setuid(NobodyId) != 0)) _exit(2);
        std::string out;
        FolderWalk walk;
        walk.onPassedOver = [&out](const std::string& path, const std::string& reason) {
            out += "passed over " + path + ": " + reason + '\n';
        };
        for (const std::string& path : ListFilesRecursive(folder, ".*", walk)) out += path + '\n';
        const bool written = write(fds[1], out.data(), out.size()) == static_cast<ssize_t>(out.size());
        _exit(written ? 0 : 3);
    }
    close(fds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("the listing child failed");
    Names paths;
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        paths.push_back(text.substr(start, end - start));
    return paths;
}

TEST_F(HostileFolderOnLinuxTest, AnUnreadableSubfolderIsPassedOverAndTheWalkGoesOn) {
    test::makeFolders(at("a closed"));
    test::makeFolders(at("b open"));
    put("a closed/hidden.txt");
    put("b open/seen.txt");
    put("c.txt");
    for (const std::string& folder : {dir.path(), photos, at("b open")})
        ASSERT_EQ(0, chmod(folder.c_str(), 0755));
    ASSERT_EQ(0, chmod(at("a closed").c_str(), 0));
    EXPECT_EQ(listAsNobody(photos),
              (Names{"passed over " + at("a closed/") + ": 无法读取（没有访问权限：Permission denied）",
                     at("b open/seen.txt"), at("c.txt")}));
    chmod(at("a closed").c_str(), 0700);
}

}  // namespace
}  // namespace photocheck
