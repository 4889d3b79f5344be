// The program's LIKE (the engine's own takes exponential time) answers as the engine's own LIKE does,
// on short texts and patterns that the engine's matcher still gets through quickly.
#include <fuzzer/FuzzedDataProvider.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "store/LikeMatch.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// A connection of the plain engine, without the program's replacement of LIKE.
sqlite3* enginesConnection() {
    static sqlite3* db = [] {
        sqlite3* opened = nullptr;
        if (sqlite3_open(":memory:", &opened) != SQLITE_OK) std::abort();
        return opened;
    }();
    return db;
}

// 1 or 0, or -1 when the engine refuses the expression.
int enginesLike(const std::string& text, const std::string& pattern, const std::string& escape) {
    static sqlite3_stmt* plain = nullptr;
    static sqlite3_stmt* escaped = nullptr;
    sqlite3_stmt*& statement = escape.empty() ? plain : escaped;
    if (!statement && sqlite3_prepare_v2(enginesConnection(),
                                         escape.empty() ? "select ? like ?" : "select ? like ? escape ?", -1,
                                         &statement, nullptr) != SQLITE_OK)
        std::abort();
    sqlite3_reset(statement);
    sqlite3_bind_text(statement, 1, text.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(statement, 2, pattern.c_str(), -1, SQLITE_TRANSIENT);
    if (!escape.empty()) sqlite3_bind_text(statement, 3, escape.c_str(), -1, SQLITE_TRANSIENT);
    return sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -1;
}

// Well-formed UTF-8: lead bytes followed by their continuation bytes (overlong forms not looked into).
bool isUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80           ? 1
                              : (lead >> 5) == 0x6  ? 2
                              : (lead >> 4) == 0xE  ? 3
                              : (lead >> 3) == 0x1E ? 4
                                                    : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string escape =
        input.ConsumeBool() ? std::string(1, input.ConsumeIntegralInRange<char>(33, 126)) : "";
    // An escape character that is itself a wildcard: the engines disagree among their versions (this
    // one's takes it as the wildcard, newer ones as the escape), and the program writes no ESCAPE.
    if (escape == "%" || escape == "_") return 0;
    const std::string pattern = photocheck::fuzz::withoutZeros(input.ConsumeRandomLengthString(12));
    const std::string text =
        photocheck::fuzz::withoutZeros(input.ConsumeRemainingBytesAsString().substr(0, 24));
    if (std::count(pattern.begin(), pattern.end(), '%') > 4) return 0;  // the engine would take long
    // The engine's LIKE is undefined on text that is not UTF-8; names and filters reach it as UTF-8.
    if (!isUtf8(pattern) || !isUtf8(text)) return 0;
    const int engine = enginesLike(text, pattern, escape);
    if (engine < 0) return 0;
    if ((photocheck::likeMatches(pattern, text, escape) ? 1 : 0) != engine) std::abort();
    return 0;
}
