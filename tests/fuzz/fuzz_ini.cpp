// Any parameter file is read without crashing; every value either converts or raises the
// conversion error.
#include <exception>

#include "store/IniFile.h"
#include "store/IntConversion.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace photocheck;
    const std::string path = fuzz::writeInput("SetParameters.ini", data, size);
    for (const char* key : {"文件最小大小(Kb)", "5到10行蓝色比", "清晰度", "端正比", "头部高度比", "a"}) {
        const std::string value = ReadIniString(path, "Parameters", key, [](const std::string&) {});
        try {
            StrToInt(value);
        } catch (const ConversionError&) {
        }
    }
    // The conversion on the raw bytes too.
    try {
        StrToInt(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const ConversionError&) {
    }
    return 0;
}
