#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace photocheck {

// A package that cannot be read as a ZIP archive: "Incomplete Zip File", "Not a valid zip file!",
// "error" (a damaged deflate stream).
class ZipError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline const char* const IncompleteZipMessage = "Incomplete Zip File";
inline const char* const InvalidZipMessage = "Not a valid zip file!";
inline const char* const InflateErrorMessage = "error";
inline const char* const TooManyMembersMessage = "数据包的成员过多，不是本程序的数据包";

// The most members an archive may have; the data package has a handful.
inline constexpr uint64_t MaxZipMembers = 10000;

// One member as the central directory describes it (ZIP64 values already applied).
struct ZipMember {
    uint16_t versionMadeBy = 0;
    uint16_t versionNeeded = 0;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint32_t storedDateTime = 0;  // as in the archive: time in the low 16 bits, date in the high
    uint32_t dosDateTime = 0;     // the same, every field brought into range
    uint32_t crc32 = 0;
    uint64_t compressedSize = 0;
    uint64_t uncompressedSize = 0;
    uint32_t diskNumberStart = 0;
    uint16_t internalAttributes = 0;
    uint32_t externalAttributes = 0;
    uint64_t localHeaderOffset = 0;
    std::string rawName;        // the name's bytes as stored
    std::string directoryPart;  // UTF-8, "/" separators, up to and including the last one
    std::string filePart;       // the rest; empty for a directory member
    bool nameConverted = true;  // false when the name's bytes could not be read in its code page

    bool encrypted() const { return (flags & 0x0001) != 0; }
    bool hasDataDescriptor() const { return (flags & 0x0008) != 0; }
    bool utf8Name() const { return (flags & 0x0800) != 0; }
    uint8_t hostSystem() const { return static_cast<uint8_t>(versionMadeBy >> 8); }
    bool isDirectory() const { return filePart.empty(); }
    std::string name() const { return directoryPart + filePart; }
};

// An archive opened for reading; the descriptor is closed with the object.
class ZipFile {
  public:
    explicit ZipFile(const std::string& path);  // throws FileSystemError when it cannot be opened

    uint64_t size() const { return file_.size(); }
    // Up to `count` bytes from `offset`; fewer at the end of the file.
    std::string readAt(uint64_t offset, size_t count) const;

  private:
    FileReader file_;
};

// The members in central directory order. An empty file has none. Without an end record: ZipError
// "Incomplete Zip File"; more than MaxZipMembers: ZipError TooManyMembersMessage. A damaged central directory
// is rebuilt from the local headers; when that finds nothing: ZipError "Not a valid zip file!".
std::vector<ZipMember> readZipDirectory(const ZipFile& file);

// Brings each field of a DOS date-time into range (seconds to 58, minutes to 59, hours to 23, day and
// month at least 1, month to 12, year to 2099); a valid value stays as it is.
uint32_t repairDosDateTime(uint32_t dosDateTime);

// Splits a member name (from its bytes, flags and host system) into directory and file part, with
// "/" and "\" both turned into "/". The name is read as UTF-8 when the UTF-8 flag is set, from GBK
// when the host system is 0 (DOS/Windows), and as it is otherwise.
void splitMemberName(ZipMember& member);

}  // namespace photocheck
