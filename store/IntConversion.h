#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

namespace photocheck {

// A text that is not a whole number; the message reads "'<text>' is not a valid integer value".
class ConversionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The standard text-to-integer conversion: blanks before the number, an optional sign, then decimal
// digits or hexadecimal digits after "$", "x", "X", "0x" or "0X", and nothing after them. The value
// must fit a signed 32-bit integer.
int32_t StrToInt(const std::string& text);

}  // namespace photocheck
