#include "imaging/BmpFile.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/OpenFile.h"

namespace photocheck {
namespace {

constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t CoreHeaderSize = 12;
constexpr uint32_t InfoHeaderSize = 40;
constexpr uint32_t Uncompressed = 0;
constexpr int64_t MostPixels = 64LL * 1024 * 1024;
constexpr int64_t LargestFile = 1LL << 30;

std::vector<uint8_t> readWholeFile(const std::string& path) {
    const FileForReading in = openRegularFileForReading(path);
    if (in.size > LargestFile) throw BmpError();
    std::vector<uint8_t> bytes(static_cast<size_t>(in.size));
    if (std::fread(bytes.data(), 1, bytes.size(), in.handle.get()) != bytes.size()) throw BmpError();
    return bytes;
}

// Little-endian fields, every read checked against the end of the file.
class Reader {
  public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    uint32_t u16(size_t at) const { return byte(at) | byte(at + 1) << 8; }
    uint32_t u32(size_t at) const { return u16(at) | u16(at + 2) << 16; }
    int32_t s32(size_t at) const { return static_cast<int32_t>(u32(at)); }
    uint32_t byte(size_t at) const {
        if (at >= bytes_.size()) throw BmpError();
        return bytes_[at];
    }
    const uint8_t* span(size_t at, size_t length) const {
        if (at > bytes_.size() || length > bytes_.size() - at) throw BmpError();
        return bytes_.data() + at;
    }

  private:
    const std::vector<uint8_t>& bytes_;
};

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bits = 0;
    size_t paletteAt = 0;
    int paletteEntrySize = 4;
    uint32_t paletteSize = 0;
    size_t pixelsAt = 0;
};

Layout layoutOf(const Reader& r) {
    if (r.byte(0) != 'B' || r.byte(1) != 'M') throw BmpError();
    Layout l;
    l.pixelsAt = r.u32(10);
    const uint32_t headerSize = r.u32(FileHeaderSize);
    int64_t height = 0;
    uint32_t planes = 0, compression = Uncompressed, coloursUsed = 0;
    if (headerSize == CoreHeaderSize) {
        l.width = static_cast<int>(r.u16(18));
        height = r.u16(20);
        planes = r.u16(22);
        l.bits = static_cast<int>(r.u16(24));
        l.paletteEntrySize = 3;
    } else if (headerSize >= InfoHeaderSize) {
        l.width = r.s32(18);
        height = r.s32(22);
        planes = r.u16(26);
        l.bits = static_cast<int>(r.u16(28));
        compression = r.u32(30);
        coloursUsed = r.u32(46);
    } else {
        throw BmpError();
    }
    l.topDown = height < 0;
    l.height = static_cast<int>(height < 0 ? -height : height);
    const bool knownBits = l.bits == 1 || l.bits == 4 || l.bits == 8 || l.bits == 24 || l.bits == 32;
    if (planes != 1 || compression != Uncompressed || !knownBits) throw BmpError();
    if (l.width <= 0 || l.height <= 0 || static_cast<int64_t>(l.width) * l.height > MostPixels)
        throw BmpError();
    if (l.bits <= 8) {
        l.paletteSize = coloursUsed != 0 ? coloursUsed : 1u << l.bits;
        if (l.paletteSize > 256) throw BmpError();
        l.paletteAt = FileHeaderSize + headerSize;
    }
    return l;
}

std::vector<Colour> paletteOf(const Reader& r, const Layout& l) {
    std::vector<Colour> palette(256, makeColour(0, 0, 0));
    const uint8_t* entries = r.span(l.paletteAt, size_t{l.paletteSize} * l.paletteEntrySize);
    for (uint32_t i = 0; i < l.paletteSize; ++i) {
        const uint8_t* e = entries + i * l.paletteEntrySize;
        palette[i] = makeColour(e[2], e[1], e[0]);
    }
    return palette;
}

Colour pixelOf(const uint8_t* row, int x, const Layout& l, const std::vector<Colour>& palette) {
    switch (l.bits) {
        case 24:
        case 32: {
            const uint8_t* p = row + static_cast<size_t>(x) * (l.bits / 8);
            return makeColour(p[2], p[1], p[0]);
        }
        default: {
            const int perByte = 8 / l.bits;
            const int shift = 8 - l.bits * (x % perByte + 1);
            const int index = (row[x / perByte] >> shift) & ((1 << l.bits) - 1);
            return palette[static_cast<size_t>(index)];
        }
    }
}

}  // namespace

Bitmap decodeBmp(const std::string& path) {
    const std::vector<uint8_t> bytes = readWholeFile(path);
    const Reader r(bytes);
    const Layout l = layoutOf(r);
    const std::vector<Colour> palette = l.bits <= 8 ? paletteOf(r, l) : std::vector<Colour>();
    const size_t stride = (static_cast<size_t>(l.width) * l.bits + 31) / 32 * 4;
    const uint8_t* pixels = r.span(l.pixelsAt, stride * static_cast<size_t>(l.height));

    Bitmap bitmap(l.width, l.height);
    for (int y = 0; y < l.height; ++y) {
        const int stored = l.topDown ? y : l.height - 1 - y;
        const uint8_t* row = pixels + stride * static_cast<size_t>(stored);
        for (int x = 0; x < l.width; ++x) bitmap.setPixel(x, y, pixelOf(row, x, l, palette));
    }
    return bitmap;
}

}  // namespace photocheck
