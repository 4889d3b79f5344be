// Photo folders only Linux can build: a tree deeper than the longest path, a folder closed to an
// unprivileged user.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>

#include "batch/BatchRun.h"
#include "platform/FileSystem.h"
#include "tests/batch/BatchTestSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

using Names = std::vector<std::string>;

constexpr uid_t NobodyId = 65534;

using DeepAndClosedFoldersTest = test::BatchFolderTest;

// A tree deeper than the system's longest path: the walk reports what it cannot reach.
TEST_F(DeepAndClosedFoldersTest, APathLongerThanTheSystemAllowsIsReportedAndTheWalkGoesOn) {
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

TEST_F(DeepAndClosedFoldersTest, AnUnreadableSubfolderIsPassedOverAndTheWalkGoesOn) {
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
