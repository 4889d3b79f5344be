#include "platform/Gbk.h"

#include <stdexcept>

#include "platform/OperatorError.h"
#include "platform/win32/Wide.h"

namespace photocheck {
namespace {

constexpr UINT CodePageGbk = 936;

[[noreturn]] void invalid(const char* encoding) {
    throw OperatorError(std::string("文字不是有效的 ") + encoding + " 编码");
}

std::wstring toWide(const std::string& text, UINT codePage, const char* encoding) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0);
    if (size == 0) invalid(encoding);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), size);
    return wide;
}

}  // namespace

std::string utf8ToGbk(const std::string& utf8) {
    const std::wstring wide = toWide(utf8, CP_UTF8, "UTF-8");
    if (wide.empty()) return {};
    BOOL lost = FALSE;
    const int size = WideCharToMultiByte(CodePageGbk, WC_NO_BEST_FIT_CHARS, wide.data(),
                                         static_cast<int>(wide.size()), nullptr, 0, nullptr, &lost);
    if (size == 0 || lost) invalid("UTF-8");
    std::string gbk(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CodePageGbk, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                        gbk.data(), size, nullptr, nullptr);
    return gbk;
}

std::string gbkToUtf8(const std::string& gbk) {
    return win32::narrow(toWide(gbk, CodePageGbk, "GBK"));
}

}  // namespace photocheck
