#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

#include "store/LikeMatch.h"

namespace photocheck {
namespace {

// The engine's own LIKE, on a connection of the plain engine without the program's replacement.
int enginesLike(const std::string& text, const std::string& pattern, const std::string& escape) {
    sqlite3* raw = nullptr;
    sqlite3_open(":memory:", &raw);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(raw, &sqlite3_close);
    const std::string sql = escape.empty() ? "select ? like ?" : "select ? like ? escape ?";
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &statement, nullptr);
    sqlite3_bind_text(statement, 1, text.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(statement, 2, pattern.c_str(), -1, SQLITE_TRANSIENT);
    if (!escape.empty()) sqlite3_bind_text(statement, 3, escape.c_str(), -1, SQLITE_TRANSIENT);
    const int result = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -1;
    sqlite3_finalize(statement);
    return result;
}

TEST(LikeMatch, AnswersAsTheEnginesOwnLike) {
    struct Case {
        std::string text, pattern, escape;
    };
    const Case cases[] = {
        {"IMG_0001", "%0001%", ""},
        {"IMG_0001", "img%", ""},
        {"img", "IMG", ""},
        {"照片一", "照_一", ""},
        {"照片一", "照__一", ""},
        {"Ä", "ä", ""},
        {"abc", "a%%c", ""},
        {"abc", "%", ""},
        {"", "%", ""},
        {"", "_", ""},
        {"ab", "a_%_", ""},
        {"aXbXc", "%b%", ""},
        {"100%", "100!%", "!"},
        {"1000", "100!%", "!"},
        {"a_b", "a!_b", "!"},
        {"axb", "a!_b", "!"},
        {"a!", "a!", "!"},
        {"a!b", "a!!b", "!"},
        {"ab", "a%b!", "!"},
        {"\xD5\xD5\xC6\xAC", "\xD5_\xC6%", ""},
        {"aaaaaaaaab", "%a%a%a%b", ""},
        {"mississippi", "m%iss%ppi", ""},
        {"mississippi", "m%iss%pi%x", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(likeMatches(c.pattern, c.text, c.escape) ? 1 : 0, enginesLike(c.text, c.pattern, c.escape))
            << "'" << c.text << "' like '" << c.pattern << "' escape '" << c.escape << "'";
}

}  // namespace
}  // namespace photocheck
