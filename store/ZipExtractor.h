#pragma once
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/ZipArchive.h"

namespace photocheck {

// Asked before an existing file is replaced, with the member's file name; true = Yes.
using OverwritePrompt = std::function<bool(const std::string& fileName)>;
// Receives a message for the operator: a caption ("Zip Error") and a text.
using ZipErrorReport = std::function<void(const std::string& caption, const std::string& text)>;

inline const char* const OverwriteCaption = "File Exists Alert";
inline const char* const ZipErrorCaption = "Zip Error";
inline const char* const UnknownMethodMessage = "Unknown Compression Method";
// "Replace existing file <name>?"
std::string overwriteQuestion(const std::string& fileName);

// Members above this uncompressed size (declared or actual) are never written.
inline constexpr uint64_t DefaultMaxMemberSize = 64ull * 1024 * 1024;
// An archive above this size is refused before anything of it is read.
inline constexpr uint64_t DefaultMaxArchiveSize = 256ull * 1024 * 1024;
inline const char* const TooLargeArchiveMessage = "数据包文件过大，不是本程序的数据包";

// Why a member was not extracted.
enum class SkipReason {
    UnsafeName,     // climbs out of the destination (".."), a drive letter inside the name, or a NUL
    SymbolicLink,   // a Unix member with link attributes: links are never created
    TooLarge,       // declared or actual uncompressed size above the limit
    DamagedHeader,  // no local header where the directory points
    WrongPassword,  // the check byte of the encryption header does not match
    UnknownMethod,  // neither stored nor deflated
    Declined,       // an existing file the prompt said No to (or no prompt was given)
    CannotCreate,   // the folder or the file cannot be created
    BadCrc,         // the data written do not match the member's CRC-32
};

struct SkippedMember {
    std::string name;
    SkipReason reason;
};

// Extracts every member of a ZIP archive into a destination folder, in directory order.
// Never writes outside DestDir and never creates links. A name that begins with a separator or a
// drive letter ("\x", "C:\x", "C:x") is placed inside DestDir without them, as the installation on
// Windows places it.
class ZipExtractor {
  public:
    std::string ZipName;           // the archive to read
    std::string DestDir;           // destination folder, with or without its final separator
    std::string Password;          // for members with traditional encryption
    bool RecreateDirs = true;      // members' directory parts are recreated below DestDir
    bool RetainAttributes = true;  // written files and folders get the members' attributes
    uint64_t MaxMemberSize = DefaultMaxMemberSize;
    uint64_t MaxArchiveSize = DefaultMaxArchiveSize;
    OverwritePrompt onOverwrite;  // empty: existing files are kept
    ZipErrorReport onError;       // empty: messages are dropped

    // Returns the number of members extracted. Throws ZipError ("Incomplete Zip File",
    // "Not a valid zip file!", "error", or a Chinese message for an archive larger than
    // MaxArchiveSize or with more than MaxZipMembers members) or std::runtime_error when the archive
    // cannot be opened.
    int UnZip();

    // The members of the last UnZip, and those that were not extracted.
    const std::vector<ZipMember>& members() const { return members_; }
    const std::vector<SkippedMember>& skipped() const { return skipped_; }

  private:
    std::vector<ZipMember> members_;
    std::vector<SkippedMember> skipped_;
};

}  // namespace photocheck
