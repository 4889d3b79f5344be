#include "store/ZipCrypto.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace photocheck {
namespace {

// One step of the CRC-32 register without the initial and final complement.
uint32_t crcStep(uint32_t crc, uint8_t byte) {
    return ~static_cast<uint32_t>(::crc32(~crc & 0xFFFFFFFFu, &byte, 1));
}

}  // namespace

uint32_t zipCrc32(uint32_t crc, const void* data, size_t size) {
    const auto* bytes = static_cast<const Bytef*>(data);
    uLong result = crc;
    while (size > 0) {
        const auto chunk = static_cast<uInt>(std::min<size_t>(size, std::numeric_limits<uInt>::max()));
        result = ::crc32(result, bytes, chunk);
        bytes += chunk;
        size -= chunk;
    }
    return static_cast<uint32_t>(result);
}

ZipCrypto::ZipCrypto(const std::string& password) {
    for (const char c : password) updateKeys(static_cast<uint8_t>(c));
}

void ZipCrypto::updateKeys(uint8_t plain) {
    key0_ = crcStep(key0_, plain);
    key1_ = (key1_ + (key0_ & 0xFF)) * 134775813u + 1;
    key2_ = crcStep(key2_, static_cast<uint8_t>(key1_ >> 24));
}

uint8_t ZipCrypto::keyStreamByte() const {
    const uint32_t temp = (key2_ | 2) & 0xFFFF;
    return static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
}

void ZipCrypto::decrypt(char* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        const auto plain = static_cast<uint8_t>(static_cast<uint8_t>(data[i]) ^ keyStreamByte());
        updateKeys(plain);
        data[i] = static_cast<char>(plain);
    }
}

void ZipCrypto::encrypt(char* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        const auto plain = static_cast<uint8_t>(data[i]);
        const auto cipher = static_cast<uint8_t>(plain ^ keyStreamByte());
        updateKeys(plain);
        data[i] = static_cast<char>(cipher);
    }
}

}  // namespace photocheck
