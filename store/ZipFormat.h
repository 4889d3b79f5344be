#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The record layouts of the ZIP format, shared by the extractor and the package writer.
namespace photocheck::zipformat {

inline constexpr uint32_t LocalHeaderSignature = 0x04034b50;
inline constexpr uint32_t DataDescriptorSignature = 0x08074b50;
inline constexpr uint32_t CentralHeaderSignature = 0x02014b50;
inline constexpr uint32_t EndRecordSignature = 0x06054b50;
inline constexpr uint32_t Zip64EndRecordSignature = 0x06064b50;
inline constexpr uint32_t Zip64LocatorSignature = 0x07064b50;
inline constexpr uint16_t Zip64ExtraId = 0x0001;

inline constexpr size_t LocalHeaderSize = 30;
inline constexpr size_t DataDescriptorSize = 16;
inline constexpr size_t CentralHeaderSize = 46;
inline constexpr size_t EndRecordSize = 22;
inline constexpr size_t Zip64EndRecordSize = 56;
inline constexpr size_t Zip64LocatorSize = 20;
inline constexpr size_t MaxCommentSize = 65535;

inline constexpr uint16_t MethodStored = 0;
inline constexpr uint16_t MethodDeflated = 8;
inline constexpr uint16_t FlagEncrypted = 0x0001;
inline constexpr uint16_t FlagDataDescriptor = 0x0008;
inline constexpr uint16_t FlagUtf8Name = 0x0800;

inline constexpr uint8_t HostDos = 0;
inline constexpr uint8_t HostUnix = 3;

// Input and output go through buffers of this size.
inline constexpr size_t BufferSize = 32 * 1024;

inline uint16_t le16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}
inline uint32_t le32(const std::string& b, size_t at) {
    return static_cast<uint32_t>(le16(b, at)) | static_cast<uint32_t>(le16(b, at + 2)) << 16;
}
inline uint64_t le64(const std::string& b, size_t at) {
    return static_cast<uint64_t>(le32(b, at)) | static_cast<uint64_t>(le32(b, at + 4)) << 32;
}

inline void put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}
inline void put32(std::string& out, uint32_t v) {
    put16(out, static_cast<uint16_t>(v & 0xFFFF));
    put16(out, static_cast<uint16_t>(v >> 16));
}
inline void put64(std::string& out, uint64_t v) {
    put32(out, static_cast<uint32_t>(v & 0xFFFFFFFF));
    put32(out, static_cast<uint32_t>(v >> 32));
}

// The data of the first extra-field block with this header ID.
inline std::optional<std::string> extraField(const std::string& extra, uint16_t id) {
    size_t at = 0;
    while (at + 4 <= extra.size()) {
        const uint16_t blockId = le16(extra, at);
        const uint16_t size = le16(extra, at + 2);
        if (at + 4 + size > extra.size()) return std::nullopt;
        if (blockId == id) return extra.substr(at + 4, size);
        at += 4 + size;
    }
    return std::nullopt;
}

}  // namespace photocheck::zipformat
