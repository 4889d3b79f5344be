#pragma once
#include <string>

namespace photocheck {

// The text with every byte that is not part of valid UTF-8 replaced by U+FFFD, the same replacement
// the JSON lines of "photocheck-cli check" make, so the two outputs agree on every name.
std::string validUtf8(const std::string& bytes);

// The text for a terminal or a line of the log: valid UTF-8 (see validUtf8) with its control
// characters written out ("\n", "\r", "\t", "\x1B" for the other C0 ones and DEL, "\u009B" for the
// C1 ones), so that a file name can neither move the cursor, colour or clear the screen, nor start a
// line of its own.
std::string withControlsEscaped(const std::string& text);

}  // namespace photocheck
