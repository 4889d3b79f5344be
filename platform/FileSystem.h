#pragma once
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace photocheck {

// A folder that cannot be created or examined; the message names the path and the system's reason.
class FileSystemError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

bool folderExists(const std::string& path);  // a link to a folder counts
bool fileExists(const std::string& path);    // anything but a folder

// Creates one folder; throws FileSystemError when it cannot.
void createFolder(const std::string& path);

// The absolute path with links and "." and ".." resolved; nothing when the path does not exist.
std::optional<std::string> canonicalPath(const std::string& path);

// Every file below a folder, as folder + name, with the extension ".*" (every file) or one
// extension with its dot, compared without regard to ASCII letter case. Hidden files are listed.
// The entries of one folder come in the order of their upper-cased names, compared byte by byte;
// a subfolder is walked completely where it is met. Links to folders are not followed and special
// files (pipes, sockets, devices) are left out; a folder that cannot be read is passed over. A
// missing folder gives an empty list.
std::vector<std::string> ListFilesRecursive(const std::string& folder, const std::string& extension);

// Deletes every file in a folder and below it; folders are kept. A link is removed itself, never
// followed. Failures to delete are passed over; the result is always true.
bool EmptyFolderTree(const std::string& folder);

// Copies a file, never replacing an existing target (a link at the target counts as existing).
// Keeps the permission bits and the modification time. A partial copy is removed again. Returns
// whether the copy was made.
bool copyFileNoOverwrite(const std::string& source, const std::string& target);

}  // namespace photocheck
