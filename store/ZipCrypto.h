#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace photocheck {

// Traditional PKWARE encryption: three keys started from the password and advanced by every
// plain byte.
class ZipCrypto {
  public:
    static constexpr size_t HeaderSize = 12;

    explicit ZipCrypto(const std::string& password);

    void decrypt(char* data, size_t size);
    void encrypt(char* data, size_t size);

  private:
    void updateKeys(uint8_t plain);
    uint8_t keyStreamByte() const;
    uint32_t key0_ = 0x12345678;
    uint32_t key1_ = 0x23456789;
    uint32_t key2_ = 0x34567890;
};

// The ZIP format's CRC-32 (initial value all ones, final complement), continued from `crc`.
uint32_t zipCrc32(uint32_t crc, const void* data, size_t size);

}  // namespace photocheck
