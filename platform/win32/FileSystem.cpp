#include "platform/FileSystem.h"

#include <random>
#include <vector>

#include "platform/FolderWalk.h"
#include "platform/Paths.h"
#include "platform/win32/Wide.h"

namespace photocheck {
namespace {

using folderwalk::FolderNames;
using win32::EntryInfo;
using win32::Handle;
using win32::lastErrorMessage;
using win32::systemMessage;
using win32::widePath;

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

void tell(std::string* reason, DWORD error) {
    if (reason) *reason = systemMessage(error);
}

bool isPathTooLong(DWORD error) {
    return error == ERROR_FILENAME_EXCED_RANGE || error == ERROR_BUFFER_OVERFLOW;
}

// The reason an entry could not be examined or a folder not read, as the operator is told it.
std::string unreadableReason(DWORD error) {
    if (isPathTooLong(error)) return "路径超过系统允许的长度（" + systemMessage(error) + "）";
    return "无法读取（" + systemMessage(error) + "）";
}

PathStatus statusFrom(bool examined, const EntryInfo& info) {
    PathStatus status;
    if (!examined) {
        const DWORD error = GetLastError();
        status.kind = win32::isNotFound(error) ? PathStatus::Kind::Missing : PathStatus::Kind::Unexamined;
        status.reason = systemMessage(error);
        status.systemText = win32::systemText(error);
        return status;
    }
    if (info.isLink())
        status.kind = PathStatus::Kind::Link;
    else if (info.isFolder())
        status.kind = PathStatus::Kind::Folder;
    else if (info.fileType == FILE_TYPE_DISK)
        status.kind = PathStatus::Kind::File;
    else
        status.kind = PathStatus::Kind::Other;
    status.size = static_cast<int64_t>(info.size);
    return status;
}

PathStatus statusOf(const std::string& path, bool followLinks) {
    EntryInfo info;
    const bool examined = win32::entryInfo(path, followLinks, info);
    PathStatus status = statusFrom(examined, info);
    if (followLinks && status.kind == PathStatus::Kind::Link) status.kind = PathStatus::Kind::Other;
    return status;
}

// The names in a folder, read with FindFirstFileExW; false with the system's error when the folder
// cannot be read to its end.
bool namesOf(const std::string& folder, FolderNames& names, DWORD& error) {
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = widePath(withFinalSeparator(folder) + "*");
    const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                           nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND;  // an empty drive root has no "." and ".."
    }
    do {
        const std::string name = win32::narrow(found.cFileName, wcslen(found.cFileName));
        if (!folderwalk::isDotEntry(name)) names.add(name);
    } while (FindNextFileW(search, &found));
    error = GetLastError();
    FindClose(search);
    if (error == ERROR_NO_MORE_FILES) return true;
    names.clear();
    return false;
}

// A folder held open while it is emptied: while the handle is open without FILE_SHARE_DELETE nobody
// can rename or remove it, nor any folder above it, so its path keeps naming the folder that was
// examined, not a junction put in its place.
Handle holdFolder(const std::string& folder) {
    return win32::openHandle(folder, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
}

bool heldIsLink(const Handle& held) {
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!GetFileInformationByHandleEx(held.get(), FileAttributeTagInfo, &tag, sizeof tag)) return false;
    return (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           IsReparseTagNameSurrogate(tag.ReparseTag);
}

bool removeReadOnly(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

// Deletes a file or a link (a link to a folder and a junction are removed with RemoveDirectoryW, which
// removes the link and never what it points to); a read-only file loses its attribute first. A real
// folder is not removed. False with GetLastError set.
bool deleteEntry(const std::string& path) {
    const std::wstring wide = widePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    const DWORD folderLink = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & folderLink) == folderLink)
        return RemoveDirectoryW(wide.c_str()) != 0;
    if (DeleteFileW(wide.c_str())) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED && removeReadOnly(wide)) {
        if (DeleteFileW(wide.c_str())) return true;
        const DWORD again = GetLastError();
        SetFileAttributesW(wide.c_str(), attributes);
        SetLastError(again);
        return false;
    }
    SetLastError(error);
    return false;
}

enum class Subfolders { Keep, Remove };

// One folder along the path being emptied: its names, read before anything in it is deleted, and the
// next one to deal with.
struct FolderLevel {
    std::string path;  // with its final separator
    FolderNames names;
    size_t next = 0;
};

// Deletes the files, links and junctions in the folder `top` (with its final separator), which the
// caller holds, and below it; with Remove the emptied subfolders go too. A subfolder is entered only
// while held and when it is no link. The path being walked is a list, not a recursion, so a tree of
// any depth needs a fixed stack; only the deepest folder entered is held (besides the caller's), since
// while it is open no folder above it can be renamed.
class HeldTreeEmptying {
  public:
    HeldTreeEmptying(const PassedOverReport& onFailure, const StopRequest& stopRequested,
                     Subfolders subfolders)
        : onFailure_(onFailure), stopRequested_(stopRequested), subfolders_(subfolders) {}

    void run(const std::string& top) {
        enter(top);
        while (!levels_.empty()) {
            FolderLevel& level = levels_.back();
            if (level.next == level.names.size() || (stopRequested_ && stopRequested_()))
                leave();
            else
                dealWith(level.path + std::string(level.names[level.next++]));
        }
    }

  private:
    void report(const std::string& path, const std::string& why) const {
        if (onFailure_) onFailure_(path, why);
    }

    void enter(const std::string& path) {
        FolderLevel level{path, {}, 0};
        DWORD error = 0;
        if (!namesOf(path, level.names, error))
            report(path, "无法读取此文件夹（" + systemMessage(error) + "）");
        level.names.sortLikeNtfs();
        levels_.push_back(std::move(level));
    }

    // Back to the folder above, held again before the finished one is let go (and removed).
    void leave() {
        const std::string finished = withoutFinalSeparator(levels_.back().path);
        levels_.pop_back();
        if (levels_.size() > 1) {
            Handle parent = holdFolder(withoutFinalSeparator(levels_.back().path));
            if (!parent || heldIsLink(parent)) {
                report(levels_.back().path, "无法打开此文件夹（" + lastErrorMessage() + "）");
                levels_.back().next = levels_.back().names.size();
            }
            deepest_ = std::move(parent);
        } else {
            deepest_.reset();
        }
        if (levels_.empty() || subfolders_ != Subfolders::Remove) return;
        if (!RemoveDirectoryW(widePath(finished).c_str())) {
            const DWORD failure = GetLastError();
            if (!win32::isNotFound(failure)) report(finished, "无法删除（" + systemMessage(failure) + "）");
        }
    }

    void dealWith(const std::string& entryPath) {
        EntryInfo info;
        if (!win32::entryInfo(entryPath, false, info)) {
            const DWORD failure = GetLastError();
            if (!win32::isNotFound(failure)) report(entryPath, unreadableReason(failure));
            return;
        }
        if (info.isFolder() && !info.isLink()) {
            Handle sub = holdFolder(entryPath);
            if (!sub || heldIsLink(sub)) {
                report(entryPath, "无法打开此文件夹（" +
                                      (sub ? std::string("它已换成一个链接") : lastErrorMessage()) + "）");
                return;
            }
            deepest_ = std::move(sub);  // the parent's handle goes: the child's keeps the parent in place
            enter(withFinalSeparator(entryPath));
        } else if (!deleteEntry(entryPath)) {
            const DWORD failure = GetLastError();
            if (!win32::isNotFound(failure)) report(entryPath, "无法删除（" + systemMessage(failure) + "）");
        }
    }

    const PassedOverReport& onFailure_;
    const StopRequest& stopRequested_;
    const Subfolders subfolders_;
    std::vector<FolderLevel> levels_;
    Handle deepest_;  // the deepest subfolder entered; the caller holds the top one
};

void emptyHeldFolder(const std::string& top, const PassedOverReport& onFailure,
                     const StopRequest& stopRequested, Subfolders subfolders = Subfolders::Keep) {
    HeldTreeEmptying(onFailure, stopRequested, subfolders).run(top);
}

std::string randomLetters(int count) {
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string text;
    for (int i = 0; i < count; ++i) text += Letters[random() % (sizeof Letters - 1)];
    return text;
}

CopyOutcome copyFailed(const char* what, DWORD error) {
    return {CopyOutcome::Kind::Failed, std::string(what) + "（" + systemMessage(error) + "）"};
}

bool isDiskFull(DWORD error) {
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
}

}  // namespace

namespace folderwalk {

Entry examine(const std::string& path) {
    Entry e;
    EntryInfo info;
    if (!win32::entryInfo(path, false, info)) {
        e.reason = unreadableReason(GetLastError());
        return e;
    }
    e.id = {info.volume, info.fileIndex};
    if (info.isLink()) {
        const PathStatus target = photocheck::statusOf(path);
        if (target.kind == PathStatus::Kind::Folder)
            e.kind = Kind::FolderLink;
        else if (target.kind == PathStatus::Kind::Other)
            e.kind = Kind::Special;
        else
            e.kind = Kind::File;  // a dangling link is listed; its check says it cannot be read
    } else if (info.isFolder()) {
        e.kind = Kind::Folder;
    } else {
        e.kind = info.fileType == FILE_TYPE_DISK ? Kind::File : Kind::Special;
    }
    return e;
}

std::optional<Identity> identityOf(const std::string& folder) {
    EntryInfo info;
    if (!win32::entryInfo(folder, true, info)) return std::nullopt;
    return Identity{info.volume, info.fileIndex};
}

bool readNames(const std::string& folder, FolderNames& names, std::string& reason) {
    DWORD error = 0;
    if (namesOf(folder, names, error)) return true;
    reason = unreadableReason(error);
    return false;
}

}  // namespace folderwalk

PathStatus statusOf(const std::string& path) {
    return statusOf(path, true);
}

PathStatus entryStatusOf(const std::string& path) {
    return statusOf(path, false);
}

bool folderExists(const std::string& path) {
    return statusOf(path).kind == PathStatus::Kind::Folder;
}

bool fileExists(const std::string& path) {
    const PathStatus status = statusOf(path);
    return status.found() && status.kind != PathStatus::Kind::Folder;
}

bool pathExists(const std::string& path) {
    return statusOf(path).found();
}

bool isLink(const std::string& path) {
    return entryStatusOf(path).kind == PathStatus::Kind::Link;
}

void createFolder(const std::string& path, FolderAccess) {
    if (!CreateDirectoryW(widePath(path).c_str(), nullptr))
        throw FileSystemError("无法创建文件夹 " + path + "（" + lastErrorMessage() + "）");
}

bool tryCreateFolder(const std::string& path) {
    return CreateDirectoryW(widePath(path).c_str(), nullptr) != 0;
}

void createFolders(const std::string& path) {
    const std::string folder = withoutFinalSeparator(path);
    if (folder.empty() || folderExists(folder)) return;
    const std::string parent = withoutFinalSeparator(folderPartOf(folder));
    if (!parent.empty() && parent != folder) createFolders(parent);
    if (!CreateDirectoryW(widePath(folder).c_str(), nullptr)) {
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS || !folderExists(folder))
            throw FileSystemError("无法创建文件夹 " + folder + "（" + systemMessage(error) + "）");
    }
}

std::string createUniqueFolder(const std::string& prefix) {
    DWORD error = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string folder = prefix + randomLetters(6);
        if (CreateDirectoryW(widePath(folder).c_str(), nullptr)) return folder;
        error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS) break;
    }
    throw FileSystemError("无法创建文件夹 " + prefix + "…（" + systemMessage(error) + "）");
}

std::string temporaryFolder() {
    wchar_t buffer[MAX_PATH + 2];
    const DWORD length = GetTempPathW(MAX_PATH + 2, buffer);
    if (length == 0 || length > MAX_PATH + 1) return "C:\\Windows\\Temp\\";
    return withFinalSeparator(win32::narrow(buffer, length));
}

bool removeFile(const std::string& path, std::string* reason) {
    if (deleteEntry(path)) return true;
    tell(reason, GetLastError());
    return false;
}

void removeTree(const std::string& path) {
    EntryInfo info;
    if (!win32::entryInfo(path, false, info)) return;
    if (!info.isFolder() || info.isLink()) {
        deleteEntry(path);
        return;
    }
    removeFolderTree(path);
}

bool replaceFile(const std::string& from, const std::string& to, std::string* reason) {
    if (MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    tell(reason, GetLastError());
    return false;
}

void setPermissions(const std::string& path, unsigned mode) {
    const std::wstring wide = widePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    const bool readOnly = (mode & 0222) == 0;
    const DWORD wanted =
        readOnly ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~FILE_ATTRIBUTE_READONLY;
    if (wanted != attributes) SetFileAttributesW(wide.c_str(), wanted);
}

std::string absolutePath(const std::string& path) {
    const std::wstring wide = win32::widen(path);
    DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    for (;;) {
        if (size == 0) throw FileSystemError("无法确定当前文件夹（" + lastErrorMessage() + "）");
        std::wstring full(size, L'\0');
        const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
        if (length < size) return cleanPath(win32::narrow(full.data(), length));
        size = length;
    }
}

std::optional<std::string> canonicalPath(const std::string& path) {
    const Handle h =
        win32::openHandle(path, FILE_READ_ATTRIBUTES, ShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (!h) return std::nullopt;
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(
            h.get(), final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return std::nullopt;
        if (length < final.size()) {
            final.resize(length);
            break;
        }
        final.resize(length + 1);
    }
    if (final.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        final = L"\\\\" + final.substr(8);
    else if (final.compare(0, 4, L"\\\\?\\") == 0)
        final = final.substr(4);
    return win32::narrow(final);
}

namespace {

// The folder held open for emptying; none (reported unless the folder does not exist) when it cannot
// be had or is a link.
Handle holdTopFolder(const std::string& folder, const PassedOverReport& onFailure) {
    Handle held = holdFolder(folder);
    if (!held) {
        const DWORD error = GetLastError();
        if (!win32::isNotFound(error) && onFailure)
            onFailure(folder, "无法打开此文件夹（" + systemMessage(error) + "）");
        return held;
    }
    if (heldIsLink(held) || isLink(folder)) {  // the path's attributes too: Wine's handle is the target's
        if (onFailure) onFailure(folder, "无法打开此文件夹（这是一个链接或连接点，不会跟随它去删除）");
        held.reset();
    }
    return held;
}

}  // namespace

void EmptyFolderTree(const std::string& given, const PassedOverReport& onFailure,
                     const StopRequest& stopRequested) {
    const std::string folder = withoutFinalSeparator(given);
    if (const Handle held = holdTopFolder(folder, onFailure))
        emptyHeldFolder(withFinalSeparator(folder), onFailure, stopRequested);
}

void removeFolderTree(const std::string& given, const PassedOverReport& onFailure) {
    const std::string folder = withoutFinalSeparator(given);
    {
        const Handle held = holdTopFolder(folder, onFailure);
        if (!held) return;
        emptyHeldFolder(withFinalSeparator(folder), onFailure, {}, Subfolders::Remove);
    }
    if (!RemoveDirectoryW(widePath(folder).c_str())) {
        const DWORD error = GetLastError();
        if (!win32::isNotFound(error) && onFailure)
            onFailure(folder, "无法删除（" + systemMessage(error) + "）");
    }
}

bool removeUnwritableFile(const std::string& path, std::optional<int64_t> largest) {
    EntryInfo info;
    if (!win32::entryInfo(path, false, info) || info.isFolder() || info.isLink() ||
        info.fileType != FILE_TYPE_DISK)
        return false;
    if (largest && static_cast<int64_t>(info.size) > *largest) return false;
    const Handle writable = win32::openHandle(path, GENERIC_READ | GENERIC_WRITE, ShareAll, OPEN_EXISTING,
                                              FILE_FLAG_OPEN_REPARSE_POINT);
    return !writable && deleteEntry(path);
}

bool sameEntry(const std::string& path, const std::string& other) {
    EntryInfo a, b;
    if (win32::entryInfo(path, true, a))
        return win32::entryInfo(other, true, b) && a.volume == b.volume && a.fileIndex == b.fileIndex;
    const std::string folder = folderPartOf(path), otherFolder = folderPartOf(other);
    return fileNameOf(path) == fileNameOf(other) &&
           win32::entryInfo(folder.empty() ? "." : folder, true, a) &&
           win32::entryInfo(otherFolder.empty() ? "." : otherFolder, true, b) && a.volume == b.volume &&
           a.fileIndex == b.fileIndex;
}

CopyOutcome copyFileNoOverwrite(const std::string& source, const std::string& target) {
    using Kind = CopyOutcome::Kind;
    {
        const Handle in =
            win32::openHandle(source, GENERIC_READ, ShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
        if (!in) return copyFailed("无法读取原文件", GetLastError());
        BY_HANDLE_FILE_INFORMATION info{};
        if (!GetFileInformationByHandle(in.get(), &info)) return copyFailed("无法读取原文件", GetLastError());
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || GetFileType(in.get()) != FILE_TYPE_DISK)
            return {Kind::Failed, "原文件不是普通文件"};
    }
    const std::wstring to = widePath(target);
    if (CopyFileW(widePath(source).c_str(), to.c_str(), TRUE)) return {Kind::Made, {}};
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return {Kind::TargetExists, {}};
    if (!win32::isNotFound(error) && error != ERROR_ACCESS_DENIED) deleteEntry(target);  // a partial copy
    return copyFailed(isDiskFull(error) ? "复制时出错" : "无法创建副本", error);
}

}  // namespace photocheck
