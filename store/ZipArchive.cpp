#include "store/ZipArchive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/Gbk.h"
#include "platform/OperatorError.h"
#include "store/ZipFormat.h"

namespace photocheck {
namespace {

using namespace zipformat;

// A central directory that cannot be read as it stands; the member list is then rebuilt.
struct DamagedDirectory {};

struct EndRecord {
    uint64_t position = 0;
    uint64_t entries = 0;
    uint64_t directorySize = 0;
    uint64_t directoryOffset = 0;
};

// Reads the central directory front to back through a 32 KB buffer.
class DirectoryReader {
  public:
    DirectoryReader(const ZipFile& file, uint64_t offset) : file_(file), offset_(offset) {}

    std::string read(size_t count) {
        std::string out;
        while (out.size() < count) {
            if (used_ == buffer_.size()) refill();
            const size_t take = std::min(count - out.size(), buffer_.size() - used_);
            out.append(buffer_, used_, take);
            used_ += take;
        }
        return out;
    }

  private:
    void refill() {
        buffer_ = file_.readAt(offset_, BufferSize);
        if (buffer_.empty()) throw DamagedDirectory{};
        offset_ += buffer_.size();
        used_ = 0;
    }

    const ZipFile& file_;
    uint64_t offset_;
    std::string buffer_;
    size_t used_ = 0;
};

std::optional<uint64_t> findEndSignature(const std::string& tail) {
    for (size_t i = tail.size() - EndRecordSize + 1; i-- > 0;)
        if (le32(tail, i) == EndRecordSignature) return i;
    return std::nullopt;
}

void applyZip64EndRecord(const ZipFile& file, EndRecord& end, uint16_t entries, uint32_t size,
                         uint32_t offset) {
    if (end.position < Zip64LocatorSize) return;
    const std::string locator = file.readAt(end.position - Zip64LocatorSize, Zip64LocatorSize);
    if (locator.size() < Zip64LocatorSize || le32(locator, 0) != Zip64LocatorSignature) return;
    const std::string record = file.readAt(le64(locator, 8), Zip64EndRecordSize);
    if (record.size() < Zip64EndRecordSize || le32(record, 0) != Zip64EndRecordSignature) return;
    if (entries == 0xFFFF) end.entries = le64(record, 32);
    if (size == 0xFFFFFFFF) end.directorySize = le64(record, 40);
    if (offset == 0xFFFFFFFF) end.directoryOffset = le64(record, 48);
}

EndRecord findEndRecord(const ZipFile& file) {
    if (file.size() < EndRecordSize) throw ZipError(IncompleteZipMessage);
    const uint64_t tailSize = std::min<uint64_t>(file.size(), EndRecordSize + MaxCommentSize);
    const std::string tail = file.readAt(file.size() - tailSize, static_cast<size_t>(tailSize));
    const auto at = findEndSignature(tail);
    if (!at) throw ZipError(IncompleteZipMessage);
    EndRecord end;
    end.position = file.size() - tailSize + *at;
    const uint16_t entries = le16(tail, *at + 10);
    const uint32_t size = le32(tail, *at + 12);
    const uint32_t offset = le32(tail, *at + 16);
    end.entries = entries;
    end.directorySize = size;
    end.directoryOffset = offset;
    applyZip64EndRecord(file, end, entries, size, offset);
    return end;
}

// Replaces the 32-bit fields that hold their all-ones mark by the ZIP64 extra field's values, which
// stand in the order uncompressed size, compressed size, local header offset, disk number.
bool applyZip64Extra(const std::string& extra, ZipMember& m, bool withOffsetAndDisk) {
    const bool needUncompressed = m.uncompressedSize == 0xFFFFFFFF;
    const bool needCompressed = m.compressedSize == 0xFFFFFFFF;
    const bool needOffset = withOffsetAndDisk && m.localHeaderOffset == 0xFFFFFFFF;
    const bool needDisk = withOffsetAndDisk && m.diskNumberStart == 0xFFFF;
    if (!needUncompressed && !needCompressed && !needOffset && !needDisk) return true;
    const auto field = extraField(extra, Zip64ExtraId);
    if (!field) return false;
    size_t at = 0;
    const auto take64 = [&](uint64_t& value) {
        if (at + 8 > field->size()) return false;
        value = le64(*field, at);
        at += 8;
        return true;
    };
    if (needUncompressed && !take64(m.uncompressedSize)) return false;
    if (needCompressed && !take64(m.compressedSize)) return false;
    if (needOffset && !take64(m.localHeaderOffset)) return false;
    if (needDisk) {
        if (at + 4 > field->size()) return false;
        m.diskNumberStart = le32(*field, at);
    }
    return true;
}

ZipMember readDirectoryEntry(DirectoryReader& reader) {
    const std::string h = reader.read(CentralHeaderSize);
    if (le32(h, 0) != CentralHeaderSignature) throw DamagedDirectory{};
    ZipMember m;
    m.versionMadeBy = le16(h, 4);
    m.versionNeeded = le16(h, 6);
    m.flags = le16(h, 8);
    m.method = le16(h, 10);
    m.storedDateTime = le32(h, 12);
    m.crc32 = le32(h, 16);
    m.compressedSize = le32(h, 20);
    m.uncompressedSize = le32(h, 24);
    m.diskNumberStart = le16(h, 34);
    m.internalAttributes = le16(h, 36);
    m.externalAttributes = le32(h, 38);
    m.localHeaderOffset = le32(h, 42);
    m.rawName = reader.read(le16(h, 28));
    const std::string extra = reader.read(le16(h, 30));
    reader.read(le16(h, 32));  // the member's comment
    if (!applyZip64Extra(extra, m, true)) throw DamagedDirectory{};
    m.dosDateTime = repairDosDateTime(m.storedDateTime);
    splitMemberName(m);
    return m;
}

std::vector<ZipMember> readCentralDirectory(const ZipFile& file, const EndRecord& end) {
    DirectoryReader reader(file, end.directoryOffset);
    std::vector<ZipMember> members;
    if (end.entries > MaxZipMembers) throw ZipError(TooManyMembersMessage);
    for (uint64_t i = 0; i < end.entries; ++i) members.push_back(readDirectoryEntry(reader));
    return members;
}

// The next position at or after `from` where the four signature bytes stand.
std::optional<uint64_t> findSignature(const ZipFile& file, uint64_t from, uint32_t signature) {
    while (from + 4 <= file.size()) {
        const std::string chunk = file.readAt(from, BufferSize);
        for (size_t i = 0; i + 4 <= chunk.size(); ++i)
            if (le32(chunk, i) == signature) return from + i;
        if (chunk.size() < 4) break;
        from += chunk.size() - 3;
    }
    return std::nullopt;
}

// Sizes and CRC of a member written with a data descriptor: the first descriptor whose compressed
// size equals its distance from the data's start.
std::optional<uint64_t> readDataDescriptor(const ZipFile& file, uint64_t dataStart, ZipMember& m) {
    uint64_t from = dataStart;
    while (const auto at = findSignature(file, from, DataDescriptorSignature)) {
        const std::string d = file.readAt(*at, DataDescriptorSize);
        if (d.size() == DataDescriptorSize && le32(d, 8) == *at - dataStart) {
            m.crc32 = le32(d, 4);
            m.compressedSize = le32(d, 8);
            m.uncompressedSize = le32(d, 12);
            return *at + DataDescriptorSize;
        }
        from = *at + 1;
    }
    return std::nullopt;
}

// A member read from its local header at `offset`, and the position after its data.
std::optional<std::pair<ZipMember, uint64_t>> readLocalMember(const ZipFile& file, uint64_t offset) {
    const std::string h = file.readAt(offset, LocalHeaderSize);
    if (h.size() < LocalHeaderSize || le32(h, 0) != LocalHeaderSignature) return std::nullopt;
    ZipMember m;
    m.versionNeeded = le16(h, 4);
    m.flags = le16(h, 6);
    m.method = le16(h, 8);
    m.storedDateTime = le32(h, 10);
    m.crc32 = le32(h, 14);
    m.compressedSize = le32(h, 18);
    m.uncompressedSize = le32(h, 22);
    m.localHeaderOffset = offset;
    const uint16_t nameLength = le16(h, 26);
    const uint16_t extraLength = le16(h, 28);
    m.rawName = file.readAt(offset + LocalHeaderSize, nameLength);
    const std::string extra = file.readAt(offset + LocalHeaderSize + nameLength, extraLength);
    if (m.rawName.size() != nameLength || extra.size() != extraLength) return std::nullopt;
    if (!applyZip64Extra(extra, m, false)) return std::nullopt;
    const uint64_t dataStart = offset + LocalHeaderSize + nameLength + extraLength;
    std::optional<uint64_t> dataEnd;
    if (m.hasDataDescriptor())
        dataEnd = readDataDescriptor(file, dataStart, m);
    else if (m.compressedSize <= file.size() - dataStart)
        dataEnd = dataStart + m.compressedSize;
    if (!dataEnd) return std::nullopt;
    m.dosDateTime = repairDosDateTime(m.storedDateTime);
    splitMemberName(m);
    return std::make_pair(m, *dataEnd);
}

std::vector<ZipMember> rebuildFromLocalHeaders(const ZipFile& file) {
    std::vector<ZipMember> members;
    uint64_t from = 0;
    while (const auto at = findSignature(file, from, LocalHeaderSignature)) {
        if (auto found = readLocalMember(file, *at)) {
            if (members.size() == MaxZipMembers) throw ZipError(TooManyMembersMessage);
            members.push_back(std::move(found->first));
            from = found->second;
        } else {
            from = *at + 1;
        }
    }
    return members;
}

}  // namespace

ZipFile::ZipFile(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) throw OperatorError("无法打开文件 " + path + "：" + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        throw OperatorError("无法打开文件 " + path + "：不是普通文件");
    }
    size_ = static_cast<uint64_t>(st.st_size);
}

ZipFile::~ZipFile() {
    ::close(fd_);
}

std::string ZipFile::readAt(uint64_t offset, size_t count) const {
    if (offset >= size_) return {};
    count = static_cast<size_t>(std::min<uint64_t>(count, size_ - offset));
    std::string out(count, '\0');
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd_, out.data() + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw OperatorError(std::string("无法读取数据包：") + std::strerror(errno));
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    out.resize(done);
    return out;
}

std::vector<ZipMember> readZipDirectory(const ZipFile& file) {
    if (file.size() == 0) return {};
    const EndRecord end = findEndRecord(file);
    try {
        return readCentralDirectory(file, end);
    } catch (const DamagedDirectory&) {
        std::vector<ZipMember> members = rebuildFromLocalHeaders(file);
        if (members.empty()) throw ZipError(InvalidZipMessage);
        return members;
    }
}

uint32_t repairDosDateTime(uint32_t dosDateTime) {
    const uint32_t time = dosDateTime & 0xFFFF;
    const uint32_t date = dosDateTime >> 16;
    const uint32_t halfSeconds = std::min<uint32_t>(time & 0x1F, 29);
    const uint32_t minutes = std::min<uint32_t>((time >> 5) & 0x3F, 59);
    const uint32_t hours = std::min<uint32_t>(time >> 11, 23);
    const uint32_t day = std::max<uint32_t>(date & 0x1F, 1);
    const uint32_t month = std::clamp<uint32_t>((date >> 5) & 0x0F, 1, 12);
    const uint32_t year = std::min<uint32_t>(date >> 9, 2099 - 1980);
    return (year << 25) | (month << 21) | (day << 16) | (hours << 11) | (minutes << 5) | halfSeconds;
}

void splitMemberName(ZipMember& member) {
    std::string name = member.rawName;
    member.nameConverted = true;
    if (!member.utf8Name() && member.hostSystem() == 0) {
        try {
            name = gbkToUtf8(member.rawName);
        } catch (const std::exception&) {
            member.nameConverted = false;
        }
    }
    std::replace(name.begin(), name.end(), '\\', '/');
    const auto cut = name.find_last_of('/');
    member.directoryPart = cut == std::string::npos ? std::string() : name.substr(0, cut + 1);
    member.filePart = cut == std::string::npos ? name : name.substr(cut + 1);
}

}  // namespace photocheck
