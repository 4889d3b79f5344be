#include "bench/ResultRows.h"

#include <cstdio>
#include <string>

namespace photocheck::bench {
namespace {

std::string padded(const std::string& text) {
    return " " + text + " ";
}

std::string numbered(const char* pattern, int number) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, number);
    return text;
}

std::vector<SqlValue> generatedRow(int i) {
    const bool passed = i % 4 != 0;
    const SqlValue reason = passed ? SqlValue{} : SqlValue{std::string("背景不是浅蓝色")};
    return {padded(numbered("IMG_%06d", i)),
            padded("jpg"),
            padded("390*567"),
            int64_t{40 + i % 20},
            int64_t{passed ? 80 + i % 20 : i % 50},
            int64_t{i % 90},
            int64_t{60 + i % 15},
            int64_t{85 + i % 15},
            int64_t{2},
            int64_t{2},
            reason,
            std::string(passed ? "合格" : "不合格"),
            padded(numbered("/data/photos/class-%03d/", i / 50))};
}

}  // namespace

void fillResultsTable(Database& db, int count) {
    Transaction transaction(db);
    db.execute("delete from pictureMsg");
    const std::string insert =
        "insert into pictureMsg (name, mode, pix, Picsize, bluePercent, clarityPercent, headPercent, "
        "regularPercent, eyeLeftlet, eyeRightlet, reason, result, folderPath) "
        "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
    for (int i = 1; i <= count; ++i) db.run(insert, generatedRow(i));
    transaction.commit();
}

}  // namespace photocheck::bench
