#include "store/IniFile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/FileSystem.h"
#include "platform/Files.h"
#include "platform/Gbk.h"

namespace photocheck {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string withoutBlanks(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

// A value between a pair of matching quotes loses them, as the profile functions do.
std::string withoutQuotes(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isGbkLeadByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}

// Compares two GBK texts with ASCII letters folded; the trail byte of a double-byte character is
// compared as it is, since it may fall into the ASCII letter range.
bool sameNameInGbk(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (isGbkLeadByte(a[i])) {
            if (a[i] != b[i] || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> sectionNameOf(const std::string& line) {
    if (line.empty() || line.front() != '[') return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string::npos) return std::nullopt;
    return withoutBlanks(line.substr(1, close - 1));
}

// Why a profile file that exists cannot be read; thrown as the detail of IniReadErrorMessage.
struct UnreadableProfile {
    std::string reason;
};

// The whole file, read within a bound: a parameter file is a few hundred bytes, and a device or a
// huge file given in its place must not take the memory.
std::istringstream openProfile(const std::string& fileName, bool& missing) {
    const PathStatus status = statusOf(fileName);
    missing = status.kind == PathStatus::Kind::Missing;
    if (missing) return {};
    if (status.kind == PathStatus::Kind::Unexamined) throw UnreadableProfile{status.systemText};
    if (status.kind == PathStatus::Kind::Folder) throw UnreadableProfile{"是文件夹"};
    if (status.kind != PathStatus::Kind::File) throw UnreadableProfile{"不是普通文件"};
    if (static_cast<uint64_t>(status.size) > MaxProfileBytes)
        throw UnreadableProfile{"文件过大，不是配置文件"};
    std::ifstream in(nativePath(fileName), std::ios::binary);
    if (!in) throw UnreadableProfile{std::strerror(errno)};
    std::string content(static_cast<size_t>(MaxProfileBytes) + 1, '\0');
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    if (in.bad()) throw UnreadableProfile{"读取时出错"};
    content.resize(static_cast<size_t>(in.gcount()));
    if (content.size() > MaxProfileBytes) throw UnreadableProfile{"文件过大，不是配置文件"};
    return std::istringstream(content);
}

// The raw GBK value of the key in the section, if both are there.
std::optional<std::string> findValue(std::istream& profile, const std::string& section,
                                     const std::string& key) {
    bool inSection = false;
    bool sectionSeen = false;
    std::string line;
    while (std::getline(profile, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string text = withoutBlanks(line);
        if (const auto name = sectionNameOf(text)) {
            if (sectionSeen) return std::nullopt;  // only the first section of that name counts
            inSection = sameNameInGbk(*name, section);
            sectionSeen = inSection;
            continue;
        }
        if (!inSection) continue;
        const auto equals = text.find('=');
        if (equals == std::string::npos) continue;
        if (sameNameInGbk(withoutBlanks(text.substr(0, equals)), key))
            return withoutQuotes(withoutBlanks(text.substr(equals + 1)));
    }
    return std::nullopt;
}

// A file written in UTF-8 rather than GBK: the section and the key are there in their UTF-8 bytes.
bool writtenInUtf8(std::istringstream& profile, const std::string& section, const std::string& key) {
    profile.clear();
    profile.seekg(0);
    return findValue(profile, section, key).has_value();
}

}  // namespace

std::string ReadIniString(const std::string& fileName, const std::string& section, const std::string& key,
                          const IniErrorReport& report) {
    std::string gbkSection, gbkKey;
    try {
        gbkSection = utf8ToGbk(section);
        gbkKey = utf8ToGbk(key);
    } catch (const std::exception&) {
        return {};  // a name outside the code page cannot stand in the file
    }
    try {
        bool missing = false;
        std::istringstream profile = openProfile(fileName, missing);
        if (missing) return {};
        const auto value = findValue(profile, gbkSection, gbkKey);
        if (!value && gbkKey != key && writtenInUtf8(profile, section, key))
            throw UnreadableProfile{NotGbkReason};
        try {
            return value ? gbkToUtf8(*value) : std::string();
        } catch (const std::exception&) {
            throw UnreadableProfile{"“" + key + "”的值不是 GBK 编码的文字"};
        }
    } catch (const UnreadableProfile& e) {
        if (report) report(std::string(IniReadErrorMessage) + "（" + fileName + "：" + e.reason + "）");
        return {};
    } catch (const std::exception& e) {
        if (report) report(std::string(IniReadErrorMessage) + "（" + fileName + "：" + e.what() + "）");
        return {};
    }
}

}  // namespace photocheck
