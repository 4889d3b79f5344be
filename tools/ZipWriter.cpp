#include "tools/ZipWriter.h"

#include <zlib.h>

#include <fstream>
#include <random>
#include <stdexcept>

#include "platform/Files.h"
#include "store/ZipCrypto.h"
#include "store/ZipFormat.h"

namespace photocheck {
namespace {

using namespace zipformat;

constexpr uint16_t VersionDefault = 20;
constexpr uint16_t VersionZip64 = 45;
constexpr uint32_t AllOnes32 = 0xFFFFFFFF;

class RawDeflater {
  public:
    RawDeflater() {
        if (::deflateInit2(&stream_, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
            Z_OK)
            throw std::runtime_error("deflateInit2 failed");
    }
    ~RawDeflater() { ::deflateEnd(&stream_); }
    RawDeflater(const RawDeflater&) = delete;
    RawDeflater& operator=(const RawDeflater&) = delete;
    z_stream& stream() { return stream_; }

  private:
    z_stream stream_{};
};

// The 12-byte header of traditional encryption: random bytes, then the check byte.
std::string encryptionHeader(uint8_t checkByte, std::optional<uint32_t> seed) {
    std::mt19937 random(seed ? *seed : std::random_device()());
    std::string header(ZipCrypto::HeaderSize, '\0');
    for (size_t i = 0; i + 1 < header.size(); ++i) header[i] = static_cast<char>(random() & 0xFF);
    header.back() = static_cast<char>(checkByte);
    return header;
}

std::string encrypted(const ZipWriterEntry& e, uint32_t crc, const std::string& compressed) {
    const auto check = static_cast<uint8_t>(e.dataDescriptor ? (e.dosDateTime >> 8) & 0xFF : crc >> 24);
    std::string out = encryptionHeader(check, e.headerSeed) + compressed;
    ZipCrypto crypto(e.password);
    crypto.encrypt(out.data(), out.size());
    return out;
}

struct Sizes {
    uint32_t crc;
    uint64_t compressed;
    uint64_t uncompressed;
};

}  // namespace

std::string deflateRaw(const std::string& data) {
    RawDeflater deflater;
    z_stream& s = deflater.stream();
    std::string out(::deflateBound(&s, static_cast<uLong>(data.size())) + 16, '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    s.avail_in = static_cast<uInt>(data.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = static_cast<uInt>(out.size());
    if (::deflate(&s, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate failed");
    out.resize(s.total_out);
    return out;
}

void ZipWriter::add(const ZipWriterEntry& e) {
    const uint32_t realCrc = zipCrc32(0, e.data.data(), e.data.size());
    std::string payload = e.deflate ? deflateRaw(e.data) : e.data;
    if (!e.password.empty()) payload = encrypted(e, realCrc, payload);

    const Sizes sizes{e.crcOverride.value_or(realCrc), payload.size(),
                      e.declaredSizeOverride.value_or(e.data.size())};
    const uint16_t method = e.methodOverride.value_or(e.deflate ? MethodDeflated : MethodStored);
    const uint16_t version = e.zip64 ? VersionZip64 : VersionDefault;
    uint16_t flags = 0;
    if (!e.password.empty()) flags |= FlagEncrypted;
    if (e.dataDescriptor) flags |= FlagDataDescriptor;
    if (e.utf8Name) flags |= FlagUtf8Name;
    const uint64_t offset = body_.size();

    std::string localExtra;
    if (e.zip64) {
        put16(localExtra, Zip64ExtraId);
        put16(localExtra, 16);
        put64(localExtra, e.dataDescriptor ? 0 : sizes.uncompressed);
        put64(localExtra, e.dataDescriptor ? 0 : sizes.compressed);
    }
    put32(body_, LocalHeaderSignature);
    put16(body_, version);
    put16(body_, flags);
    put16(body_, method);
    put32(body_, e.dosDateTime);
    put32(body_, e.dataDescriptor ? 0 : sizes.crc);
    put32(body_, e.zip64 ? AllOnes32 : e.dataDescriptor ? 0 : static_cast<uint32_t>(sizes.compressed));
    put32(body_, e.zip64 ? AllOnes32 : e.dataDescriptor ? 0 : static_cast<uint32_t>(sizes.uncompressed));
    put16(body_, static_cast<uint16_t>(e.name.size()));
    put16(body_, static_cast<uint16_t>(localExtra.size()));
    body_ += e.name + localExtra + payload;
    if (e.dataDescriptor) {
        put32(body_, DataDescriptorSignature);
        put32(body_, sizes.crc);
        put32(body_, static_cast<uint32_t>(sizes.compressed));
        put32(body_, static_cast<uint32_t>(sizes.uncompressed));
    }

    std::string centralExtra;
    if (e.zip64) {
        put16(centralExtra, Zip64ExtraId);
        put16(centralExtra, 24);
        put64(centralExtra, sizes.uncompressed);
        put64(centralExtra, sizes.compressed);
        put64(centralExtra, offset);
    }
    put32(directory_, CentralHeaderSignature);
    put16(directory_, static_cast<uint16_t>(e.hostSystem << 8 | version));
    put16(directory_, version);
    put16(directory_, flags);
    put16(directory_, method);
    put32(directory_, e.dosDateTime);
    put32(directory_, sizes.crc);
    put32(directory_, e.zip64 ? AllOnes32 : static_cast<uint32_t>(sizes.compressed));
    put32(directory_, e.zip64 ? AllOnes32 : static_cast<uint32_t>(sizes.uncompressed));
    put16(directory_, static_cast<uint16_t>(e.name.size()));
    put16(directory_, static_cast<uint16_t>(centralExtra.size()));
    put16(directory_, 0);  // comment length
    put16(directory_, 0);  // disk number start
    put16(directory_, 0);  // internal attributes
    put32(directory_, e.externalAttributes);
    put32(directory_, e.zip64 ? AllOnes32 : static_cast<uint32_t>(offset));
    directory_ += e.name + centralExtra;
    ++count_;
}

void ZipWriter::addFolder(const std::string& name) {
    ZipWriterEntry e;
    e.name = name.empty() || name.back() == '/' ? name : name + "/";
    e.deflate = false;
    e.externalAttributes = 0x10;  // DOS folder attribute
    add(e);
}

std::string ZipWriter::finish(const std::string& comment, bool zip64End) const {
    if (comment.size() > MaxCommentSize) throw std::runtime_error("ZIP comment too long");
    std::string out = body_ + directory_;
    const uint64_t directoryOffset = body_.size();
    const uint64_t directorySize = directory_.size();
    if (zip64End) {
        const uint64_t recordOffset = out.size();
        put32(out, Zip64EndRecordSignature);
        put64(out, Zip64EndRecordSize - 12);
        put16(out, VersionZip64);
        put16(out, VersionZip64);
        put32(out, 0);  // this disk
        put32(out, 0);  // disk of the central directory
        put64(out, count_);
        put64(out, count_);
        put64(out, directorySize);
        put64(out, directoryOffset);
        put32(out, Zip64LocatorSignature);
        put32(out, 0);
        put64(out, recordOffset);
        put32(out, 1);  // total disks
    }
    put32(out, EndRecordSignature);
    put16(out, 0);
    put16(out, 0);
    put16(out, zip64End ? 0xFFFF : static_cast<uint16_t>(count_));
    put16(out, zip64End ? 0xFFFF : static_cast<uint16_t>(count_));
    put32(out, zip64End ? AllOnes32 : static_cast<uint32_t>(directorySize));
    put32(out, zip64End ? AllOnes32 : static_cast<uint32_t>(directoryOffset));
    put16(out, static_cast<uint16_t>(comment.size()));
    return out + comment;
}

void ZipWriter::writeTo(const std::string& path, const std::string& comment, bool zip64End) const {
    const std::string archive = finish(comment, zip64End);
    std::ofstream out(nativePath(path), std::ios::binary | std::ios::trunc);
    if (!out || !out.write(archive.data(), static_cast<std::streamsize>(archive.size())) || !out.flush())
        throw std::runtime_error("Cannot write " + path);
}

}  // namespace photocheck
