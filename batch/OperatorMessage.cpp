#include "batch/OperatorMessage.h"

#include <filesystem>
#include <new>

#include "imaging/Jpeg.h"
#include "platform/OperatorError.h"
#include "store/Database.h"
#include "store/IntConversion.h"
#include "store/ZipArchive.h"

namespace photocheck {
namespace {

std::string withDetail(const char* sentence, const std::string& detail) {
    return std::string(sentence) + "（" + detail + "）";
}

// "'abc' is not a valid integer value" read as "“abc”不是整数", the text itself after it.
std::string explainedConversion(const std::string& text) {
    const auto first = text.find('\'');
    const auto last = text.rfind("' is not");
    if (first != 0 || last == std::string::npos) return text;
    return "“" + text.substr(1, last - 1) + "”不是整数：" + text;
}

}  // namespace

std::string operatorMessage(const std::exception& error) {
    std::string text = error.what();
    if (dynamic_cast<const OperatorError*>(&error)) return text;
    if (dynamic_cast<const DatabaseError*>(&error)) {
        if (text.find("database is locked") != std::string::npos ||
            text.find("database table is locked") != std::string::npos)
            return withDetail("数据库正被另一个程序使用，请稍后再试", text);
        return withDetail("数据库出错", explainedEngineText(text));
    }
    if (dynamic_cast<const ZipError*>(&error)) return withDetail("数据包无法读取", text);
    if (dynamic_cast<const JpegError*>(&error)) return withDetail("照片文件无法读取", text);
    if (dynamic_cast<const ConversionError*>(&error))
        return withDetail("数值不是整数", explainedConversion(text));
    if (const auto* file = dynamic_cast<const std::filesystem::filesystem_error*>(&error))
        return withDetail("文件或文件夹无法访问", file->path1().string() + "：" + file->code().message());
    if (dynamic_cast<const std::bad_alloc*>(&error)) return withDetail("内存不足", text);
    return withDetail("程序出错", text);
}

}  // namespace photocheck
