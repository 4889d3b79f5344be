#include "cli/CheckCommand.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "batch/JudgePhoto.h"
#include "batch/OperatorMessage.h"
#include "check/CheckContext.h"
#include "store/Parameters.h"

namespace photocheck {
namespace {

using Json = nlohmann::ordered_json;

// Valid JSON whatever bytes a file name holds: bytes that are not UTF-8 become U+FFFD.
std::string jsonLine(const Json& object) {
    return object.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json judgedObject(const std::string& file, const JudgedPhoto& photo) {
    Json object;
    object["file"] = file;
    object["insert"] = photo.row.insertStatement();
    object["verdict"] = photo.passed ? VerdictPassed : VerdictFailed;
    object["log"] = photo.log;
    return object;
}

Json errorObject(const std::string& file, const std::string& message) {
    Json object;
    object["file"] = file;
    object["error"] = message;
    return object;
}

// Why a path cannot be read as a file: missing, or a folder, a pipe or a device (reading a pipe
// would wait for ever).
std::optional<std::string> notARegularFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::string(std::strerror(errno));
    if (S_ISDIR(st.st_mode)) return std::string("这是一个文件夹，不是文件");
    if (!S_ISREG(st.st_mode)) return std::string("不是普通文件");
    return std::nullopt;
}

// A photo is judged only when it is a regular file; a missing one is left to the check, which
// reports why it cannot be opened.
std::optional<std::string> refusedPhoto(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    if (const auto why = notARegularFile(path)) return "未检查：" + *why;
    return std::nullopt;
}

void override(int32_t& threshold, const std::optional<int32_t>& value) {
    if (value) threshold = *value;
}

}  // namespace

DetectionParameters thresholdsOf(const CheckCommandOptions& options, std::ostream& err) {
    DetectionParameters params;
    if (!options.paramsFile.empty()) {
        if (const auto why = notARegularFile(options.paramsFile))
            throw std::runtime_error("无法读取参数文件 " + options.paramsFile + "：" + *why);
        LoadParametersFromFile(options.paramsFile, params,
                               [&err](const std::string& message) { err << message << '\n'; });
    }
    override(params.ParamFileSizeKb, options.sizeKb);
    override(params.ParamBlueRatio, options.blue);
    override(params.ParamClarity, options.clarity);
    override(params.ParamRegularity, options.regular);
    override(params.ParamHeadRatio, options.head);
    return params;
}

int runCheckCommand(const CheckCommandOptions& options, std::ostream& out, std::ostream& err) {
    CheckContext ctx;
    try {
        applySettings(ctx, {options.debug, options.pupils, thresholdsOf(options, err)});
    } catch (const std::exception& e) {
        err << operatorMessage(e) << '\n';
        return 1;
    }
    int status = 0;
    for (const std::string& file : options.files) {
        try {
            if (const auto refusal = refusedPhoto(file)) throw std::runtime_error(*refusal);
            out << jsonLine(judgedObject(file, JudgePhoto(ctx, file, Unreadable::Raise))) << '\n';
        } catch (const std::exception& e) {
            out << jsonLine(errorObject(file, operatorMessage(e))) << '\n';
            status = 1;
        }
        out.flush();
    }
    return status;
}

}  // namespace photocheck
