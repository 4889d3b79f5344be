#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace photocheck {

// 2024-01-01 12:00:00 as a DOS date-time (time in the low 16 bits, date in the high 16 bits).
inline constexpr uint32_t DefaultDosDateTime = (44u << 25) | (1u << 21) | (1u << 16) | (12u << 11);

// One member for the writer. The last three fields write deliberate faults into the archive, for
// tests of the extractor.
struct ZipWriterEntry {
    std::string name;      // bytes as stored; "/" separates folders; a final "/" makes a folder
    std::string data;      // the uncompressed content
    bool deflate = true;   // deflated, or stored
    std::string password;  // traditional encryption when not empty
    uint32_t dosDateTime = DefaultDosDateTime;
    bool dataDescriptor = false;      // sizes and CRC after the data (flag bit 3)
    bool utf8Name = false;            // flag bit 11
    uint8_t hostSystem = 0;           // 0 = DOS/Windows, 3 = Unix
    uint32_t externalAttributes = 0;  // DOS attributes, or a Unix mode in the high 16 bits
    bool zip64 = false;               // sizes and offset in the ZIP64 extra field
    // Seeds the eleven random bytes of the encryption header, so that an archive comes out the
    // same every time (tests); without it they come from the system's random source.
    std::optional<uint32_t> headerSeed;

    std::optional<uint16_t> methodOverride;        // a method number written instead of the real one
    std::optional<uint32_t> crcOverride;           // a CRC-32 written instead of the real one
    std::optional<uint64_t> declaredSizeOverride;  // an uncompressed size written instead of the real one
};

// Builds a ZIP archive in memory: stored and deflated members, traditional encryption, ZIP64.
class ZipWriter {
  public:
    void add(const ZipWriterEntry& entry);
    void addFolder(const std::string& name);

    // Where the central directory starts in the finished archive.
    uint64_t directoryOffset() const { return body_.size(); }

    // The whole archive. With zip64End a ZIP64 end record and its locator stand before the end
    // record, whose count, size and offset fields then hold their all-ones marks.
    std::string finish(const std::string& comment = {}, bool zip64End = false) const;
    // Writes the archive to a file; throws std::runtime_error when it cannot.
    void writeTo(const std::string& path, const std::string& comment = {}, bool zip64End = false) const;

  private:
    std::string body_;
    std::string directory_;
    uint64_t count_ = 0;
};

// The raw deflate stream (no zlib header) of the data, at the best compression.
std::string deflateRaw(const std::string& data);

}  // namespace photocheck
