#include "tests/support/SystemSupport.h"

#include <windows.h>
#include <winioctl.h>

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/win32/Wide.h"
#include "tests/support/TestSupport.h"

namespace photocheck::test {
namespace {

using win32::Handle;
using win32::widen;

// The reparse data of a junction (a mount point): the target as the kernel reads it ("\??\C:\...")
// and as it is shown.
struct MountPointData {
    DWORD tag;
    WORD dataLength;
    WORD reserved;
    WORD substituteOffset;
    WORD substituteLength;
    WORD printOffset;
    WORD printLength;
    wchar_t names[1];
};

bool makeJunction(const std::wstring& target, const std::wstring& link) {
    if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
    const Handle folder(CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const std::wstring substitute = L"\\??\\" + target;
    std::vector<char> buffer(sizeof(MountPointData) +
                             (substitute.size() + target.size() + 2) * sizeof(wchar_t));
    auto* data = reinterpret_cast<MountPointData*>(buffer.data());
    data->tag = IO_REPARSE_TAG_MOUNT_POINT;
    data->substituteLength = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    data->printOffset = static_cast<WORD>(data->substituteLength + sizeof(wchar_t));
    data->printLength = static_cast<WORD>(target.size() * sizeof(wchar_t));
    std::memcpy(data->names, substitute.c_str(), data->substituteLength);
    std::memcpy(reinterpret_cast<char*>(data->names) + data->printOffset, target.c_str(), data->printLength);
    data->dataLength = static_cast<WORD>(8 + data->printOffset + data->printLength + sizeof(wchar_t));
    DWORD returned = 0;
    const bool made = folder.get() != INVALID_HANDLE_VALUE &&
                      DeviceIoControl(folder.get(), FSCTL_SET_REPARSE_POINT, data, 8 + data->dataLength,
                                      nullptr, 0, &returned, nullptr);
    if (!made) RemoveDirectoryW(link.c_str());
    return made;
}

bool isReparsePoint(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// One argument of a command line as CommandLineToArgvW and the C runtime read it back.
std::wstring quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
    std::wstring text = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        text.push_back(c);
    }
    text.append(2 * backslashes, L'\\');
    return text + L"\"";
}

std::wstring commandLine(const std::string& program, const std::vector<std::string>& args) {
    std::wstring line = quoted(widen(program));
    for (const std::string& arg : args) line += L" " + quoted(widen(arg));
    return line;
}

// Under Wine, the path on the host; empty elsewhere.
std::string hostPath(const std::wstring& path) {
    using HostFileName = char*(__cdecl*)(const wchar_t*);
    const auto hostFileName = reinterpret_cast<HostFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!hostFileName) return {};
    char* name = hostFileName(path.c_str());
    if (!name) return {};
    std::string host = name;
    HeapFree(GetProcessHeap(), 0, name);
    return host;
}

// Under Wine, a symbolic link of the host made by the host's ln, which Wine shows as a reparse point.
bool makeHostLink(const std::wstring& target, const std::wstring& link) {
    const std::string from = hostPath(target);
    const std::string at = hostPath(link);
    if (from.empty() || at.empty()) return false;
    std::wstring line = L"start.exe /wait /unix /bin/ln -s " + quoted(widen(from)) + L" " + quoted(widen(at));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return false;
    CloseHandle(started.hThread);
    const Handle process(started.hProcess);
    WaitForSingleObject(process.get(), INFINITE);
    for (int i = 0; i < 100 && GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(20);
    return true;
}

struct Pipe {
    Handle read;
    Handle write;  // inheritable: the child's end
};

Pipe makePipe() {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0)) throw std::runtime_error("CreatePipe");
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    return {Handle(read), Handle(write)};
}

Handle inheritableFile(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE h = CreateFileW(widen(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
    return Handle(h);
}

// Starts the program with its standard output on `out` and its errors on `err`.
Handle start(const std::string& program, const std::vector<std::string>& args,
             const std::string& workingFolder, HANDLE out, HANDLE err) {
    const Handle input = inheritableFile("NUL", GENERIC_READ, OPEN_EXISTING);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.get();
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION started{};
    std::wstring line = commandLine(program, args);
    const std::wstring folder = widen(workingFolder);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        workingFolder.empty() ? nullptr : folder.c_str(), &startup, &started))
        throw std::runtime_error("cannot start " + program + " (" + win32::lastErrorMessage() + ")");
    CloseHandle(started.hThread);
    return Handle(started.hProcess);
}

std::string readAll(HANDLE from) {
    std::string text;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(from, buffer, sizeof buffer, &n, nullptr) && n > 0) text.append(buffer, n);
    return text;
}

int exitCodeOf(HANDLE process) {
    WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<int>(code);
}

}  // namespace

bool onWindows() {
    return true;
}

bool makeLink(const std::string& target, const std::string& link) {
    const std::wstring to = win32::widePath(target);
    const std::wstring at = win32::widePath(link);
    const DWORD attributes = GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        wchar_t full[MAX_PATH];
        const DWORD length = GetFullPathNameW(to.c_str(), MAX_PATH, full, nullptr);
        if (length == 0 || length >= MAX_PATH) return false;
        if (makeJunction(full, at) && isReparsePoint(at)) return true;
        RemoveDirectoryW(at.c_str());  // the empty folder of a junction Wine did not make
        return makeHostLink(full, at) && isReparsePoint(at);
    }
    const DWORD allowUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE, Windows 10
    return CreateSymbolicLinkW(at.c_str(), to.c_str(), allowUnprivileged) && isReparsePoint(at);
}

struct UnreadableFile::Held {
    Handle file;
};

UnreadableFile::UnreadableFile(const std::string& path)
    : held_(std::make_unique<Held>(
          Held{Handle(CreateFileW(win32::widePath(path).c_str(), GENERIC_READ, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr))})) {
    if (held_->file.get() == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
}

UnreadableFile::~UnreadableFile() = default;

std::string UnreadableFile::reason() {
    return win32::systemMessage(ERROR_SHARING_VIOLATION);
}

std::string UnreadableFile::explanation() {
    return "正被占用";
}

bool makeNamedPipe(const std::string&) {
    return false;
}

bool setMode(const std::string&, unsigned) {
    return false;
}

unsigned modeOf(const std::string&) {
    return 0;
}

void makeReadOnly(const std::string& path) {
    const std::wstring wide = win32::widePath(path);
    SetFileAttributesW(wide.c_str(), GetFileAttributesW(wide.c_str()) | FILE_ATTRIBUTE_READONLY);
}

bool isReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(win32::widePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

std::time_t modificationTimeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(win32::widePath(path).c_str(), GetFileExInfoStandard, &data)) return -1;
    const uint64_t ticks = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                           data.ftLastWriteTime.dwLowDateTime;
    return static_cast<std::time_t>(ticks / 10000000ULL - 11644473600ULL);
}

std::string missingFileText() {
    return win32::systemText(ERROR_FILE_NOT_FOUND);
}

std::string missingFolderText() {
    return win32::systemText(ERROR_PATH_NOT_FOUND);
}

bool representableInAnsiCodePage(const std::string& utf8) {
    const std::wstring wide = widen(utf8);
    BOOL lost = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                         static_cast<int>(wide.size()), nullptr, 0, nullptr, &lost);
    return size > 0 && !lost;
}

std::string programIn(const std::string& folder, const std::string& name) {
    return folder + "/" + name + ".exe";
}

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingFolder) {
    const TempDir scratch;
    const std::string errorFile = scratch.file("stderr");
    Pipe out = makePipe();
    Handle process;
    {
        const Handle err = inheritableFile(errorFile, GENERIC_WRITE, CREATE_ALWAYS);
        process = start(program, args, workingFolder, out.write.get(), err.get());
        out.write.reset();  // the child's end only: the pipe ends when the child does
    }
    ProgramResult result;
    result.out = readAll(out.read.get());
    result.status = exitCodeOf(process.get());
    result.err = readFile(errorFile);
    return result;
}

struct RunningProgram::Process {
    Handle process;
    Handle out;
};

RunningProgram::RunningProgram(const std::string& program, const std::vector<std::string>& args)
    : process_(std::make_unique<Process>()) {
    Pipe out = makePipe();
    const Handle err = inheritableFile("NUL", GENERIC_WRITE, OPEN_EXISTING);
    process_->process = start(program, args, "", out.write.get(), err.get());
    process_->out = std::move(out.read);
}

RunningProgram::~RunningProgram() {
    if (process_->process) {
        TerminateProcess(process_->process.get(), 1);
        WaitForSingleObject(process_->process.get(), INFINITE);
    }
}

std::optional<std::string> RunningProgram::nextLine() {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    for (;;) {
        const size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        DWORD available = 0;
        if (!PeekNamedPipe(process_->out.get(), nullptr, 0, nullptr, &available, nullptr))
            return std::nullopt;
        if (available == 0) {
            if (std::chrono::steady_clock::now() > giveUp) return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        char buffer[4096];
        DWORD n = 0;
        if (!ReadFile(process_->out.get(), buffer, sizeof buffer, &n, nullptr) || n == 0) return std::nullopt;
        pending_.append(buffer, n);
    }
}

bool RunningProgram::killNow() {
    const bool running = WaitForSingleObject(process_->process.get(), 0) == WAIT_TIMEOUT;
    TerminateProcess(process_->process.get(), 1);
    WaitForSingleObject(process_->process.get(), INFINITE);
    process_->process.reset();
    return running;
}

}  // namespace photocheck::test
