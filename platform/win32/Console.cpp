#include "platform/Console.h"

// clang-format off
#include <windows.h>  // first: shellapi.h builds on it
#include <shellapi.h>
// clang-format on

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <streambuf>

#include "platform/win32/Wide.h"

namespace photocheck {
namespace {

#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif

bool isConsole(HANDLE h, DWORD& mode) {
    return h != nullptr && h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode) != 0;
}

// The length of the longest start of `text` that ends on a whole UTF-8 character: a character split
// between two writes is held back until its other bytes come.
size_t completeUtf8(const std::string& text) {
    size_t end = text.size();
    for (size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto c = static_cast<unsigned char>(text[text.size() - back]);
        if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (length > back) end = text.size() - back;
        break;
    }
    return end;
}

// Hands UTF-8 text to a console as UTF-16 (WriteConsoleW), so that cmd.exe and PowerShell show the
// Chinese whatever their code page.
class ConsoleBuffer : public std::streambuf {
  public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}
    ~ConsoleBuffer() override { sync(); }

  protected:
    int overflow(int c) override {
        if (c != traits_type::eof()) pending_ += traits_type::to_char_type(c);
        if (pending_.size() >= 4096) sync();
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        pending_.append(text, static_cast<size_t>(count));
        if (pending_.size() >= 4096) sync();
        return count;
    }
    int sync() override {
        const size_t complete = completeUtf8(pending_);
        const std::wstring wide = win32::widen(pending_.substr(0, complete));
        pending_.erase(0, complete);
        for (size_t at = 0; at < wide.size();) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(wide.size() - at, 8192));
            if (!WriteConsoleW(console_, wide.data() + at, chunk, &written, nullptr) || written == 0)
                return -1;
            at += written;
        }
        return 0;
    }

  private:
    HANDLE console_;
    std::string pending_;
};

// One of the two output streams: a console gets a ConsoleBuffer, anything else the bytes as written
// (binary mode: "\n" stays "\n", as on Linux).
struct OutputStream {
    OutputStream(std::ostream& stream, FILE* file, DWORD handleId) : stream(stream) {
        std::fflush(file);
        _setmode(_fileno(file), _O_BINARY);
        console = GetStdHandle(handleId);
        if (!isConsole(console, originalMode)) return;
        SetConsoleMode(console, originalMode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
        buffer = std::make_unique<ConsoleBuffer>(console);
        original = stream.rdbuf(buffer.get());
    }
    ~OutputStream() {
        if (!buffer) return;
        stream.flush();
        stream.rdbuf(original);
        SetConsoleMode(console, originalMode);
    }
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    std::ostream& stream;
    HANDLE console = nullptr;
    DWORD originalMode = 0;
    std::unique_ptr<ConsoleBuffer> buffer;
    std::streambuf* original = nullptr;
};

}  // namespace

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(win32::narrow(wide[i], wcslen(wide[i])));
    LocalFree(wide);
    return arguments;
}

bool standardOutputIsTerminal() {
    DWORD mode = 0;
    return isConsole(GetStdHandle(STD_OUTPUT_HANDLE), mode);
}

struct ConsoleStreams::State {
    OutputStream out{std::cout, stdout, STD_OUTPUT_HANDLE};
    OutputStream err{std::cerr, stderr, STD_ERROR_HANDLE};
};

ConsoleStreams::ConsoleStreams() : state_(std::make_unique<State>()) {}
ConsoleStreams::~ConsoleStreams() = default;

}  // namespace photocheck
