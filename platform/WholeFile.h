#pragma once
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace photocheck {

// A file written whole or not at all. The content goes into a hidden file beside the target
// (".NAME.XXXXXX") and takes the target's place only when commit() finds it complete, so an existing
// file is never emptied or left half written: a failure, or an object destroyed without commit(),
// leaves the target as it was and removes the hidden file. A target that exists and is not a regular
// file (a pipe, a terminal, /dev/stdout; NUL or CON on Windows) is written into directly. A link is
// followed: the file it points to is replaced. A replaced file keeps its permission bits (on Windows
// its attributes and access rules).
//
// Opening checks that the target can be written, so that a command can stop before it changes
// anything: an existing target that cannot be written, a folder that cannot take the hidden file.
// Every failure raises FileSystemError "无法写入" + `what` + " " + path + "（system's reason）".
class WholeFile {
  public:
    WholeFile(const std::string& path, const std::string& what);
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    std::ostream& stream();
    // Where the file is written while it is open: the target, and the hidden file beside it.
    std::vector<std::string> pathsWritten() const;
    // Writes out what the stream holds and puts the file in the target's place.
    void commit();

  private:
    [[noreturn]] void fail(const std::string& reason) const;
    void discard();

    class Buffer;        // the open file, written in blocks through the system's calls
    std::string path_;   // the target, links followed
    std::string shown_;  // the target as the caller named it, for messages
    std::string what_;
    std::string hidden_;  // empty when the target is written directly
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
};

}  // namespace photocheck
