#include "platform/Gbk.h"

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <stdexcept>

#include "platform/OperatorError.h"

namespace photocheck {
namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

std::string convert(const std::string& input, const char* to, const char* from) {
    iconv_t raw = iconv_open(to, from);
    // NOLINTNEXTLINE(performance-no-int-to-ptr): (iconv_t)-1 is how iconv_open says it failed
    if (raw == reinterpret_cast<iconv_t>(-1))
        throw OperatorError(std::string("无法进行编码转换：") + from + " → " + to);
    std::unique_ptr<void, IconvCloser> cd(raw);
    std::string out(input.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    size_t done = 0;
    while (inLeft > 0) {
        char* dst = out.data() + done;
        size_t outLeft = out.size() - done;
        const size_t rc = iconv(raw, &in, &inLeft, &dst, &outLeft);
        done = out.size() - outLeft;
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            throw OperatorError(std::string("文字不是有效的 ") + from + " 编码");
        }
    }
    out.resize(done);
    return out;
}

}  // namespace

std::string utf8ToGbk(const std::string& utf8) {
    return convert(utf8, "GBK", "UTF-8");
}
std::string gbkToUtf8(const std::string& gbk) {
    return convert(gbk, "UTF-8", "GBK");
}

}  // namespace photocheck
