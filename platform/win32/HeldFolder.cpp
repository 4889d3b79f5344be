#include "platform/HeldFolder.h"

#include <random>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/win32/Wide.h"

namespace photocheck {
namespace {

constexpr size_t UniquePartLength = 6;

std::string uniquePart() {
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string text;
    for (size_t i = 0; i < UniquePartLength; ++i) text += Letters[random() % (sizeof Letters - 1)];
    return text;
}

// The folder opened so that nobody else may open it for deleting or writing while the handle lives;
// Windows closes the handle when the process ends, however it ends.
HANDLE open(const std::string& folder, DWORD access, DWORD share) {
    const HANDLE h = CreateFileW(win32::widePath(folder).c_str(), access, share, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    return h;
}

// The names in a folder that begin with `start` and are the unique part longer.
std::vector<std::string> namesMadeFrom(const std::string& folder, const std::string& start) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(win32::widePath(joinPath(folder, start + "*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = win32::narrow(found.cFileName);
        if (name.size() == start.size() + UniquePartLength && name.compare(0, start.size(), start) == 0)
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

}  // namespace

HeldFolder::HeldFolder(const std::string& prefix) {
    for (int attempt = 0; path_.empty(); ++attempt) {
        const std::string folder = prefix + uniquePart();
        if (CreateDirectoryW(win32::widePath(folder).c_str(), nullptr)) {
            path_ = folder;
        } else if (GetLastError() != ERROR_ALREADY_EXISTS || attempt == 100) {
            throw FileSystemError("无法在 " + folderPartOf(prefix) + " 中建立文件夹：" +
                                  win32::lastErrorMessage());
        }
    }
    // Others may read and write in it, not delete it nor hold it the same way.
    const HANDLE h = open(path_, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (h == INVALID_HANDLE_VALUE) {
        const std::string reason = win32::lastErrorMessage();
        removeFolderTree(path_);
        throw FileSystemError("无法使用文件夹 " + path_ + "：" + reason);
    }
    held_ = reinterpret_cast<intptr_t>(h);
}

HeldFolder::~HeldFolder() {
    const std::string held = path_;
    CloseHandle(reinterpret_cast<HANDLE>(held_));  // its own handle would keep the folder from going
    removeFolderTree(held);
}

void removeAbandonedFolders(const std::string& prefix) {
    const std::string folder = folderPartOf(prefix);
    const std::string start = fileNameOf(prefix);
    for (const std::string& name : namesMadeFrom(folder.empty() ? "." : folder, start)) {
        const std::string path = joinPath(folder.empty() ? "." : folder, name);
        // A holder shares no deletion: the folder cannot be opened for deleting while it is held.
        const HANDLE h = open(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        if (h == INVALID_HANDLE_VALUE) continue;
        CloseHandle(h);
        if (!isLink(path)) removeFolderTree(path);
    }
}

}  // namespace photocheck
