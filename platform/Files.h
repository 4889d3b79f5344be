#pragma once
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

// Opening files named in UTF-8, on every system. (The standard library takes a narrow name in the
// ANSI code page on Windows, so a Chinese name would not be found there: go through these.)

namespace photocheck {

// The path as the standard library's file streams and std::filesystem take it:
// std::ifstream in(nativePath(name), std::ios::binary).
std::filesystem::path nativePath(const std::string& utf8);
// A path of the standard library back in UTF-8.
std::string utf8Path(const std::filesystem::path& path);

struct CFileCloser {
    void operator()(std::FILE* f) const {
        if (f) std::fclose(f);
    }
};
using CFile = std::unique_ptr<std::FILE, CFileCloser>;

// fopen with its modes ("rb", "wb"); null with errno set when the file cannot be opened.
CFile openCFile(const std::string& path, const char* mode);
// The size of an open file in bytes; -1 when the system does not say.
int64_t sizeOfOpenFile(std::FILE* file);

// A regular file opened for reading at any offset; others may read it meanwhile. Opening never waits
// (a pipe is refused, not read).
class FileReader {
  public:
    // Throws FileSystemError "无法打开文件 PATH（reason）", the reason "不是普通文件" for a folder, a
    // pipe or a device.
    explicit FileReader(const std::string& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    uint64_t size() const { return size_; }  // when opened
    // Reads up to `count` bytes at `offset` into `buffer`; fewer only at the end of the file. Throws
    // FileSystemError "无法读取文件 PATH（reason）" when a read fails.
    size_t readAt(uint64_t offset, char* buffer, size_t count) const;

  private:
    struct Handle;
    std::string path_;
    std::unique_ptr<Handle> handle_;
    uint64_t size_ = 0;
};

// A file made new for writing: never an existing file, never through a link. Removed again unless
// it is closed by commitAs.
class NewFile {
  public:
    // Nothing is created when `path` exists (a link included) or cannot be made: see created().
    explicit NewFile(const std::string& path);
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    bool created() const;
    bool existedAlready() const { return existed_; }
    // The permission bits a new file gets on this system (Linux: 0666 less the process's mask).
    unsigned standardMode() const { return standardMode_; }
    // False with the system's reason when the bytes cannot be written.
    bool write(const char* data, size_t size, std::string& reason);
    // Closes the file with the permission bits (as setPermissions) and, when given, the modification
    // time, and moves it to `target`, replacing what stands there. False when that fails; the file
    // is removed then.
    bool commitAs(const std::string& target, unsigned mode, const std::optional<std::time_t>& modified);

  private:
    struct Handle;
    std::string path_;
    std::unique_ptr<Handle> handle_;
    unsigned standardMode_ = 0644;
    bool existed_ = false;
    bool committed_ = false;
};

// The local time of a moment, as localtime gives it (safe on any thread).
std::tm localTimeOf(std::time_t moment);

}  // namespace photocheck
