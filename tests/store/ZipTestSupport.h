#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "store/ZipExtractor.h"
#include "tests/support/TestSupport.h"
#include "tools/ZipWriter.h"

namespace photocheck {

inline void PrintTo(SkipReason reason, std::ostream* os) {
    static const char* const names[] = {"UnsafeName",    "SymbolicLink",  "TooLarge",
                                        "DamagedHeader", "WrongPassword", "UnknownMethod",
                                        "Declined",      "CannotCreate",  "BadCrc"};
    *os << names[static_cast<int>(reason)];
}

}  // namespace photocheck

namespace photocheck::test {

inline ZipWriterEntry entry(const std::string& name, const std::string& data,
                            const std::string& password = {}) {
    ZipWriterEntry e;
    e.name = name;
    e.data = data;
    e.password = password;
    // A fixed header keeps the one-in-256 chance that a wrong password passes the check byte
    // out of the tests: each archive is the same on every run.
    e.headerSeed = static_cast<uint32_t>(name.size() * 7919 + data.size());
    return e;
}

inline void writePackage(const std::string& path, const std::vector<ZipWriterEntry>& entries,
                         const std::string& comment = {}, bool zip64End = false) {
    ZipWriter zip;
    for (const ZipWriterEntry& e : entries) zip.add(e);
    zip.writeTo(path, comment, zip64End);
}

// Anything at the path, a dangling link included.
inline bool pathExists(const std::string& path) {
    return entryStatusOf(path).kind != PathStatus::Kind::Missing;
}

inline std::vector<SkipReason> reasons(const ZipExtractor& x) {
    std::vector<SkipReason> out;
    for (const SkippedMember& s : x.skipped()) out.push_back(s.reason);
    return out;
}

}  // namespace photocheck::test
