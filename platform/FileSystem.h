#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/FileList.h"
#include "platform/FileSystemError.h"

namespace photocheck {

bool folderExists(const std::string& path);  // a link to a folder counts
bool fileExists(const std::string& path);    // anything but a folder
bool isLink(const std::string& path);        // the path itself is a symbolic link (dangling or not)

// Removes a file that this program cannot open for reading and writing (one left read-only), when it
// holds at most `largest` bytes (any size when none); a link is not followed. True when it was removed.
bool removeUnwritableFile(const std::string& path, std::optional<int64_t> largest);

// Creates one folder; throws FileSystemError when it cannot.
void createFolder(const std::string& path);

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
// a subfolder is walked completely where it is met. Links to folders are not followed and the
// entries of walk.leftOut are passed over (both silently); special files (pipes, sockets, devices),
// folders that cannot be read and entries that cannot be examined (a path longer than the system
// allows, for one) are left out and reported to walk.onPassedOver. A missing folder gives an empty
// list.
std::vector<std::string> ListFilesRecursive(const std::string& folder, const std::string& extension,
                                            const FolderWalk& walk = {});
// The same list held compactly, for folders of any size.
FileList listFiles(const std::string& folder, const std::string& extension, const FolderWalk& walk = {});

// Deletes every file in a folder and below it; folders are kept. A link is removed itself, never
// followed, the folder itself included (a folder that is a link is left as it is and reported).
// Failures to delete are passed over and reported to onFailure, a folder that does not exist
// excepted. A stop request leaves the files not reached yet. A tree of any
// depth is emptied in a small, fixed stack, with a few open descriptors, and in memory for the names
// along one path.
void EmptyFolderTree(const std::string& folder, const PassedOverReport& onFailure = {},
                     const StopRequest& stopRequested = {});

// Removes a folder with everything in it, in the same way (links removed, never followed; any depth);
// what cannot be removed is reported to onFailure and stays.
void removeFolderTree(const std::string& folder, const PassedOverReport& onFailure = {});

// What became of a copy.
struct CopyOutcome {
    enum class Kind { Made, TargetExists, Failed };
    Kind kind = Kind::Failed;
    std::string reason;  // when Failed: what could not be done, in Chinese, and the system's reason

    bool made() const { return kind == Kind::Made; }
};

// Copies a file, never replacing an existing target (a link at the target counts as existing).
// Keeps the permission bits and the modification time. A partial copy is removed again.
CopyOutcome copyFileNoOverwrite(const std::string& source, const std::string& target);

}  // namespace photocheck
