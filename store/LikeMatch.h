#pragma once
#include <string_view>

namespace photocheck {

// The engine's LIKE, as its documentation gives it: "%" matches any run of characters, "_" one
// character, letters A to Z match their lower case, other characters only themselves, and a character
// after the escape character stands for itself. Texts are UTF-8, read as the engine reads them (a
// malformed sequence is one character U+FFFD).
//
// The engine's own matcher tries the ways a "%" can match one after the other, which takes
// exponential time: "a%a%a%a%b" keeps it busy for seconds on one name of 250 letters a, and longer
// patterns for hours, in one step that nothing can interrupt. This one goes through the text once per
// "%" at most: its time grows with the lengths of the text and the pattern multiplied.
// The escape character is given as a text of one character, or none when empty; a text of more
// raises std::invalid_argument. A pattern that ends in the escape character matches nothing; an escape
// character that is "%" or "_" is no wildcard then (as newer versions of the engine read it).
bool likeMatches(std::string_view pattern, std::string_view text, std::string_view escape = {});

}  // namespace photocheck
