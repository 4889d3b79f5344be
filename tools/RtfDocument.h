#pragma once
#include <string>

namespace photocheck {

// An RTF document from UTF-8 text with a light markup, one paragraph a line: "# " starts a title,
// "## " a heading, "- " a bullet item; empty lines are left out. Every character outside printable
// ASCII is written as a \uN? escape, so the document is plain ASCII.
std::string rtfFromText(const std::string& utf8Text);

}  // namespace photocheck
