#include "tests/batch/BatchTestSupport.h"

#include "imaging/Jpeg.h"
#include "platform/FileSystem.h"
#include "platform/Files.h"
#include "tests/support/TestSupport.h"

namespace photocheck::test {
namespace {

// data/schema.sql of the source tree this file belongs to.
std::string schemaPath() {
    const std::string source = __FILE__;
    return source.substr(0, source.rfind("tests/batch/")) + "data/schema.sql";
}

Bitmap patternPicture(int width, int height, int variant = 0) {
    return makeBitmap(width, height, [=](int x, int y) {
        return makeColour(x * 255 / width, (y + 7 * variant) % height * 255 / height,
                          (x * y + variant) % 200 + 20);
    });
}

}  // namespace

std::unique_ptr<Database> createTestDatabase(const std::string& path) {
    Database::create(path, DatabaseKey).execute(readFile(schemaPath()));
    return std::make_unique<Database>(path, DatabaseKey);
}

void writeSmallJpeg(const std::string& path, int width, int height) {
    writeJpeg(patternPicture(width, height), path);
}

void writePhotoSizedJpeg(const std::string& path, int variant) {
    writeJpeg(patternPicture(390, 567, variant), path, {.quality = 30});
}

std::vector<std::vector<std::string>> tableRows(Database& db) {
    Query q(db);
    OpenSql(q, "select * from pictureMsg");
    std::vector<std::vector<std::string>> rows;
    const size_t count = q.fetchAll();
    for (size_t r = 0; r < count; ++r) {
        std::vector<std::string> row;
        for (const std::string& column : q.columnNames())
            row.push_back(std::holds_alternative<std::monostate>(q.value(r, column)) ? "NULL"
                                                                                     : q.text(r, column));
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace photocheck::test
