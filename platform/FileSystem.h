#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/FileList.h"
#include "platform/FileSystemError.h"

// Paths are UTF-8 on every system; the Windows implementation hands them to the wide (UTF-16) calls.

namespace photocheck {

// What stands at a path.
struct PathStatus {
    enum class Kind {
        Missing,  // nothing there (nor a folder on the way)
        Folder,
        File,        // a regular file
        Link,        // only when the link itself is asked for: a symbolic link, or a junction on Windows
        Other,       // a pipe, a socket, a device
        Unexamined,  // it cannot be examined: no access, a path longer than the system allows
    };
    Kind kind = Kind::Missing;
    int64_t size = 0;        // bytes, for a file
    std::string reason;      // for Missing and Unexamined: why, a Chinese explanation and the system's words
    std::string systemText;  // the same in the system's words alone

    bool found() const { return kind != Kind::Missing && kind != Kind::Unexamined; }
};

// What a path names, links followed.
PathStatus statusOf(const std::string& path);
// The entry itself: a link is Link, never followed.
PathStatus entryStatusOf(const std::string& path);

bool folderExists(const std::string& path);  // a link to a folder counts
bool fileExists(const std::string& path);    // anything but a folder
bool pathExists(const std::string& path);    // anything, a dangling link excepted
bool isLink(const std::string& path);        // the path itself is a link (dangling or not), or a junction

// Creates one folder; throws FileSystemError "无法创建文件夹 PATH（reason）" when it cannot. A private
// folder is the user's alone (mode 0700 on Linux; on Windows it takes its parent's access rules).
enum class FolderAccess { Shared, Private };
void createFolder(const std::string& path, FolderAccess access = FolderAccess::Shared);
// Creates one folder; false when it cannot (it may exist already).
bool tryCreateFolder(const std::string& path);
// Creates the folder and every missing folder above it; throws FileSystemError when it cannot.
void createFolders(const std::string& path);
// A new private folder named `prefix` followed by a few random characters, made here and now;
// throws FileSystemError when none can be made.
std::string createUniqueFolder(const std::string& prefix);

// The system's folder for temporary files ($TMPDIR or /tmp on Linux), with its final separator.
std::string temporaryFolder();

// Deletes one file (a read-only one too) or link, never what a link points to; false when it could
// not, with the system's words in `reason` when given.
bool removeFile(const std::string& path, std::string* reason = nullptr);
// Deletes a folder with everything in it, links removed and never followed; failures are passed over.
void removeTree(const std::string& path);
// Moves a file to `to`, replacing a file there; false when it could not, with the system's words in
// `reason` when given.
bool replaceFile(const std::string& from, const std::string& to, std::string* reason = nullptr);
// Gives a file the Linux permission bits `mode`, as far as the system has them (on Windows: read-only
// when no one may write). Failures are passed over.
void setPermissions(const std::string& path, unsigned mode);
// Removes a file that this program cannot open for reading and writing (one left read-only), when it
// holds at most `largest` bytes (any size when none); a link is not followed. True when it was removed.
bool removeUnwritableFile(const std::string& path, std::optional<int64_t> largest);

// Whether two paths name the same entry: the same file or folder where the first exists, otherwise
// the same name in the same folder.
bool sameEntry(const std::string& path, const std::string& other);

// The path made absolute against the current folder and cleaned as written (cleanPath): links are not
// resolved, so a path the operator chose keeps its names. Throws FileSystemError when the current
// folder cannot be found.
std::string absolutePath(const std::string& path);

// The absolute path with links and "." and ".." resolved; nothing when the path does not exist.
std::optional<std::string> canonicalPath(const std::string& path);

// Something a walk or an emptying passed over, and why, in Chinese with the system's reason after it.
using PassedOverReport = std::function<void(const std::string& path, const std::string& reason)>;

// Asked before each entry of a long walk or emptying; once it says true, the work ends at once and
// what was not reached is left as it is.
using StopRequest = std::function<bool()>;

struct FolderWalk {
    // Folders that are not walked and files that are not listed (the working folder of a run, its
    // outputs), found as the same folder or file, or as the same name in the same folder when the
    // file does not exist yet.
    std::vector<std::string> leftOut;
    PassedOverReport onPassedOver;  // told of every entry the walk leaves out, see below
    StopRequest stopRequested;      // a stopped walk gives the files listed so far
};

// Every file below a folder, as folder + name, with the extension ".*" (every file) or one
// extension with its dot, compared without regard to ASCII letter case. Hidden files are listed.
// The entries of one folder come in the order of their upper-cased names, compared byte by byte;
// a subfolder is walked completely where it is met. Links to folders (junctions on Windows) are
// not followed and the entries of walk.leftOut are passed over (both silently); special files
// (pipes, sockets, devices), folders that cannot be read and entries that cannot be examined (a
// path longer than the system allows, for one) are left out and reported to walk.onPassedOver. A
// missing folder gives an empty list.
std::vector<std::string> ListFilesRecursive(const std::string& folder, const std::string& extension,
                                            const FolderWalk& walk = {});
// The same list held compactly, for folders of any size.
FileList listFiles(const std::string& folder, const std::string& extension, const FolderWalk& walk = {});

// Deletes every file in the folder `given` and below it, read-only ones included; folders are kept. A
// link (or junction) is removed itself, never followed, the folder itself included (a folder that is a
// link is left as it is and reported). Failures to delete are passed over and reported to onFailure,
// a folder that does not exist excepted. A stop request leaves the files not reached yet. A tree of
// any depth is emptied in a small, fixed stack, with a few open handles, and in memory for the names
// along one path.
void EmptyFolderTree(const std::string& given, const PassedOverReport& onFailure = {},
                     const StopRequest& stopRequested = {});

// Removes the folder `given` with everything in it, in the same way (links removed, never followed; any
// depth); what cannot be removed is reported to onFailure and stays.
void removeFolderTree(const std::string& given, const PassedOverReport& onFailure = {});

// What became of a copy.
struct CopyOutcome {
    enum class Kind { Made, TargetExists, Failed };
    Kind kind = Kind::Failed;
    std::string reason;  // when Failed: what could not be done, in Chinese, and the system's reason

    bool made() const { return kind == Kind::Made; }
};

// Copies a file, never replacing an existing target (a link at the target counts as existing).
// Keeps the permission bits (the attributes on Windows) and the modification time. A partial copy is
// removed again.
CopyOutcome copyFileNoOverwrite(const std::string& source, const std::string& target);

}  // namespace photocheck
