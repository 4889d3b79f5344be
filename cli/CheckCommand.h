#pragma once
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "store/DetectionParameters.h"

namespace photocheck {

// "photocheck-cli check": single photos judged as the batch run judges them.
struct CheckCommandOptions {
    std::vector<std::string> files;
    bool debug = false;      // as the check box "调试模式": the stages write their debug lines
    bool pupils = false;     // as the check box "是否判断瞳孔"
    std::string paramsFile;  // a parameter file in the format of SetParameters.ini
    std::optional<int32_t> sizeKb, blue, clarity, regular, head;  // single thresholds over the file's
    std::string overlayFolder;  // where each judged photo's overlay goes as <name>.png; none when empty
};

// The thresholds: 0, then the parameter file, then the single overrides. A parameter file that is
// missing or no regular file raises an error; one that cannot be read is reported on err.
DetectionParameters thresholdsOf(const CheckCommandOptions& options, std::ostream& err);

// Prints one JSON object per file and line, {"file", "insert", "verdict", "log"}, or {"file", "error"}
// for a file that raised an error or is no regular file (a folder, a pipe: not judged). The error is
// the operator's message, in Chinese. With an overlay folder (made when missing), every judged photo's
// overlay is written there as its file name with ".png" for the extension ("-2", "-3", ... before it
// when an earlier file of the call took the name); the JSON lines stay the same. Returns the exit
// status: 0 when every file was judged and every overlay written, 1 otherwise.
int runCheckCommand(const CheckCommandOptions& options, std::ostream& out, std::ostream& err);

}  // namespace photocheck
