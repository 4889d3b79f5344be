#include "store/ZipExtractor.h"

#include <zlib.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <optional>
#include <random>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Files.h"
#include "platform/OperatorError.h"
#include "platform/Paths.h"
#include "store/ZipCrypto.h"
#include "store/ZipFormat.h"

namespace photocheck {
namespace {

using namespace zipformat;
using Skip = std::optional<SkipReason>;

constexpr uint32_t UnixTypeMask = 0170000;
constexpr uint32_t UnixSymbolicLink = 0120000;
constexpr uint32_t DosReadOnly = 0x01;

std::vector<std::string> splitPath(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

bool isDriveLetter(const std::string& part) {
    return part.size() >= 2 && part[1] == ':' &&
           ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z'));
}

// Where a member is written below the destination.
struct Placement {
    std::vector<std::string> folders;
    std::string file;  // empty for a directory member
};

// The place of a member below the destination, or nothing when its name would lead outside it. As
// the installation places them on Windows, a name that begins with a drive letter and colon
// ("C:\x", "C:x") loses those two characters, and a name that begins with a separator is placed
// below the destination all the same. A ".." step, a drive letter further in, and a NUL byte are
// refused.
std::optional<Placement> placementOf(const ZipMember& m) {
    std::string name = m.name();
    if (name.empty() || name.find('\0') != std::string::npos) return std::nullopt;
    if (isDriveLetter(name)) name.erase(0, 2);
    const size_t first = name.find_first_not_of('/');
    name = first == std::string::npos ? std::string() : name.substr(first);
    const size_t cut = name.find_last_of('/');
    Placement place;
    place.file = cut == std::string::npos ? name : name.substr(cut + 1);
    if (place.file == ".." || isDriveLetter(place.file)) return std::nullopt;
    if (place.file.empty() != m.isDirectory()) return std::nullopt;  // "C:" or "/" as a file
    if (cut == std::string::npos) return place;
    for (const std::string& part : splitPath(name.substr(0, cut))) {
        if (part == ".." || isDriveLetter(part)) return std::nullopt;
        if (!part.empty() && part != ".") place.folders.push_back(part);
    }
    return place;
}

bool isSymbolicLink(const ZipMember& m) {
    return m.hostSystem() == HostUnix && ((m.externalAttributes >> 16) & UnixTypeMask) == UnixSymbolicLink;
}

// `standard` is the mode a new file gets from the process's file creation mask.
unsigned fileModeFor(const ZipMember& m, bool retainAttributes, unsigned standard) {
    if (!retainAttributes) return standard;
    const uint32_t unixMode = m.externalAttributes >> 16;
    if (m.hostSystem() == HostUnix && unixMode != 0) return unixMode & 0777;
    if (m.externalAttributes & DosReadOnly) return standard & ~0222;
    return standard;
}

uint8_t encryptionCheckByte(const ZipMember& m) {
    return static_cast<uint8_t>(m.hasDataDescriptor() ? (m.storedDateTime >> 8) & 0xFF : m.crc32 >> 24);
}

std::optional<std::time_t> localTimeOf(uint32_t dosDateTime) {
    std::tm tm{};
    tm.tm_sec = static_cast<int>((dosDateTime & 0x1F) * 2);
    tm.tm_min = static_cast<int>((dosDateTime >> 5) & 0x3F);
    tm.tm_hour = static_cast<int>((dosDateTime >> 11) & 0x1F);
    tm.tm_mday = static_cast<int>((dosDateTime >> 16) & 0x1F);
    tm.tm_mon = static_cast<int>((dosDateTime >> 21) & 0x0F) - 1;
    tm.tm_year = static_cast<int>(dosDateTime >> 25) + 80;
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1)) return std::nullopt;
    return t;
}

// Creates each missing folder of `folders` below `base`; a step that exists as anything but a plain
// folder (a link included) is refused. Returns the deepest folder.
std::optional<std::string> makeFoldersBelow(const std::string& base, const std::vector<std::string>& folders,
                                            const std::function<void(const std::string&)>& created = {}) {
    std::string path = base;
    for (const std::string& step : folders) {
        path = joinPath(path, step);
        const PathStatus::Kind kind = entryStatusOf(path).kind;
        if (kind == PathStatus::Kind::Folder) continue;
        if (kind != PathStatus::Kind::Missing || !tryCreateFolder(path)) return std::nullopt;
        if (created) created(path);
    }
    return path;
}

// The position of a member's data, after its local header's name and extra field.
std::optional<uint64_t> dataOffsetOf(const ZipFile& file, const ZipMember& m) {
    const std::string h = file.readAt(m.localHeaderOffset, LocalHeaderSize);
    if (h.size() < LocalHeaderSize || le32(h, 0) != LocalHeaderSignature) return std::nullopt;
    return m.localHeaderOffset + LocalHeaderSize + le16(h, 26) + le16(h, 28);
}

// The member's compressed bytes, read and decrypted through a 32 KB buffer.
class MemberInput {
  public:
    MemberInput(const ZipFile& file, uint64_t offset, uint64_t size, std::optional<ZipCrypto>& crypto)
        : file_(file), offset_(offset), remaining_(size), crypto_(crypto) {}

    std::string next() {
        if (remaining_ == 0) return {};
        std::string chunk =
            file_.readAt(offset_, static_cast<size_t>(std::min<uint64_t>(remaining_, BufferSize)));
        remaining_ = chunk.empty() ? 0 : remaining_ - chunk.size();
        offset_ += chunk.size();
        if (crypto_) crypto_->decrypt(chunk.data(), chunk.size());
        return chunk;
    }

  private:
    const ZipFile& file_;
    uint64_t offset_;
    uint64_t remaining_;
    std::optional<ZipCrypto>& crypto_;
};

// A new file beside its destination that takes its place only when committed; removed otherwise.
class PendingFile {
  public:
    explicit PendingFile(const std::string& folder) {
        std::random_device random;
        for (int attempt = 0; attempt < 16; ++attempt) {
            file_ = std::make_unique<NewFile>(joinPath(folder, ".unzip-" + std::to_string(random())));
            if (file_->created() || !file_->existedAlready()) break;
        }
    }

    bool created() const { return file_->created(); }
    unsigned standardMode() const { return file_->standardMode(); }

    void write(const char* data, size_t size) {
        std::string reason;
        if (!file_->write(data, size, reason)) throw OperatorError("无法写入解压出的文件：" + reason);
    }

    // Gives the file its time and mode and moves it to `target`, replacing what stands there.
    bool commitAs(const std::string& target, unsigned mode, const std::optional<std::time_t>& modified) {
        return file_->commitAs(target, mode, modified);
    }

  private:
    std::unique_ptr<NewFile> file_;
};

// Counts and checks what is written: the CRC-32 and the size limit.
class MemberOutput {
  public:
    MemberOutput(PendingFile& file, uint64_t limit) : file_(file), limit_(limit) {}

    // False when the bytes would take the member past the limit; nothing is written then.
    bool write(const char* data, size_t size) {
        if (size > limit_ - written_) return false;
        file_.write(data, size);
        crc_ = zipCrc32(crc_, data, size);
        written_ += size;
        return true;
    }
    uint32_t crc() const { return crc_; }

  private:
    PendingFile& file_;
    uint64_t limit_;
    uint64_t written_ = 0;
    uint32_t crc_ = 0;
};

class RawInflater {
  public:
    RawInflater() {
        if (::inflateInit2(&stream_, -MAX_WBITS) != Z_OK) throw ZipError(InflateErrorMessage);
    }
    ~RawInflater() { ::inflateEnd(&stream_); }
    RawInflater(const RawInflater&) = delete;
    RawInflater& operator=(const RawInflater&) = delete;
    z_stream& stream() { return stream_; }

  private:
    z_stream stream_{};
};

// False when the member grew past the limit.
bool copyStored(MemberInput& in, MemberOutput& out) {
    for (std::string chunk = in.next(); !chunk.empty(); chunk = in.next())
        if (!out.write(chunk.data(), chunk.size())) return false;
    return true;
}

// False when the member grew past the limit; ZipError "error" for a damaged stream.
bool inflateDeflated(MemberInput& in, MemberOutput& out) {
    RawInflater inflater;
    z_stream& s = inflater.stream();
    std::string chunk;
    std::string buffer(BufferSize, '\0');
    bool ended = false;
    while (!ended) {
        if (s.avail_in == 0) {
            chunk = in.next();
            if (chunk.empty()) break;  // the data end early: the CRC will tell
            s.next_in = reinterpret_cast<Bytef*>(chunk.data());
            s.avail_in = static_cast<uInt>(chunk.size());
        }
        do {
            s.next_out = reinterpret_cast<Bytef*>(buffer.data());
            s.avail_out = static_cast<uInt>(buffer.size());
            const int rc = ::inflate(&s, Z_NO_FLUSH);
            if (rc == Z_STREAM_END)
                ended = true;
            else if (rc != Z_OK && rc != Z_BUF_ERROR)
                throw ZipError(InflateErrorMessage);
            if (!out.write(buffer.data(), buffer.size() - s.avail_out)) return false;
        } while (s.avail_out == 0 && !ended);
    }
    return true;
}

// The destination without its final separator; "." for an empty one.
std::string destinationFolder(const std::string& folder) {
    return folder.empty() ? "." : withoutFinalSeparator(folder);
}

}  // namespace

std::string overwriteQuestion(const std::string& fileName) {
    return "Replace existing file " + fileName + "?";
}

namespace {

// One member's extraction under the extractor's settings.
class MemberExtraction {
  public:
    MemberExtraction(const ZipExtractor& settings, const ZipFile& file, const std::string& dest)
        : settings_(settings), file_(file), dest_(dest) {}

    Skip run(const ZipMember& m) {
        const auto place = placementOf(m);
        if (!place) return SkipReason::UnsafeName;
        if (m.isDirectory()) return makeFolderMember(m, place->folders);
        if (isSymbolicLink(m)) return SkipReason::SymbolicLink;
        if (m.uncompressedSize > settings_.MaxMemberSize) return SkipReason::TooLarge;
        auto dataOffset = dataOffsetOf(file_, m);
        if (!dataOffset) return SkipReason::DamagedHeader;
        uint64_t dataSize = m.compressedSize;
        std::optional<ZipCrypto> crypto;
        if (m.encrypted() && !passesPasswordCheck(m, crypto, *dataOffset, dataSize))
            return SkipReason::WrongPassword;
        if (m.method != MethodStored && m.method != MethodDeflated) {
            if (settings_.onError) settings_.onError(ZipErrorCaption, UnknownMethodMessage);
            return SkipReason::UnknownMethod;
        }
        const auto folder =
            makeFoldersBelow(dest_, settings_.RecreateDirs ? place->folders : std::vector<std::string>{});
        if (!folder) return SkipReason::CannotCreate;
        const std::string target = joinPath(*folder, place->file);
        if (const Skip refused = mayReplace(target, place->file)) return refused;
        PendingFile pending(*folder);
        if (!pending.created()) return SkipReason::CannotCreate;
        MemberInput in(file_, *dataOffset, dataSize, crypto);
        MemberOutput out(pending, settings_.MaxMemberSize);
        const bool withinLimit = m.method == MethodDeflated ? inflateDeflated(in, out) : copyStored(in, out);
        if (!withinLimit) return SkipReason::TooLarge;
        if (out.crc() != m.crc32) return SkipReason::BadCrc;
        if (!pending.commitAs(target, fileModeFor(m, settings_.RetainAttributes, pending.standardMode()),
                              localTimeOf(m.dosDateTime)))
            return SkipReason::CannotCreate;
        return std::nullopt;
    }

  private:
    Skip makeFolderMember(const ZipMember& m, const std::vector<std::string>& folders) {
        if (!settings_.RecreateDirs) return std::nullopt;
        const auto retainMode = [&](const std::string& path) {
            const uint32_t unixMode = m.externalAttributes >> 16;
            if (settings_.RetainAttributes && m.hostSystem() == HostUnix && unixMode != 0)
                setPermissions(path, (unixMode & 0777) | 0700);
        };
        if (!makeFoldersBelow(dest_, folders, retainMode)) return SkipReason::CannotCreate;
        return std::nullopt;
    }

    // Decrypts the 12-byte encryption header; its last byte must match the member.
    bool passesPasswordCheck(const ZipMember& m, std::optional<ZipCrypto>& crypto, uint64_t& dataOffset,
                             uint64_t& dataSize) {
        if (dataSize < ZipCrypto::HeaderSize) return false;
        std::string header = file_.readAt(dataOffset, ZipCrypto::HeaderSize);
        if (header.size() < ZipCrypto::HeaderSize) return false;
        crypto.emplace(settings_.Password);
        crypto->decrypt(header.data(), header.size());
        dataOffset += ZipCrypto::HeaderSize;
        dataSize -= ZipCrypto::HeaderSize;
        return static_cast<uint8_t>(header.back()) == encryptionCheckByte(m);
    }

    Skip mayReplace(const std::string& target, const std::string& fileName) {
        const PathStatus::Kind kind = entryStatusOf(target).kind;
        if (kind == PathStatus::Kind::Missing || kind == PathStatus::Kind::Unexamined) return std::nullopt;
        if (kind == PathStatus::Kind::Folder) return SkipReason::CannotCreate;
        if (!settings_.onOverwrite || !settings_.onOverwrite(fileName)) return SkipReason::Declined;
        return std::nullopt;
    }

    const ZipExtractor& settings_;
    const ZipFile& file_;
    const std::string& dest_;
};

}  // namespace

int ZipExtractor::UnZip() {
    members_.clear();
    skipped_.clear();
    const ZipFile file(ZipName);
    if (file.size() > MaxArchiveSize) throw ZipError(std::string(TooLargeArchiveMessage) + "：" + ZipName);
    members_ = readZipDirectory(file);
    const std::string dest = destinationFolder(DestDir);
    if (!members_.empty()) createFolders(dest);
    MemberExtraction extraction(*this, file, dest);
    int extracted = 0;
    for (const ZipMember& member : members_) {
        if (const Skip skip = extraction.run(member))
            skipped_.push_back({member.name(), *skip});
        else
            ++extracted;
    }
    return extracted;
}

}  // namespace photocheck
