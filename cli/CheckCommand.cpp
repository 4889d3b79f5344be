#include "cli/CheckCommand.h"

#include <exception>
#include <stdexcept>

#include "batch/JudgePhoto.h"
#include "check/CheckContext.h"
#include "cli/JsonLine.h"
#include "platform/FileSystem.h"
#include "store/Parameters.h"

namespace photocheck {
namespace {

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

void override(int32_t& threshold, const std::optional<int32_t>& value) {
    if (value) threshold = *value;
}

}  // namespace

DetectionParameters thresholdsOf(const CheckCommandOptions& options, std::ostream& err) {
    DetectionParameters params;
    if (!options.paramsFile.empty()) {
        if (!fileExists(options.paramsFile))
            throw std::runtime_error("Cannot read the parameter file " + options.paramsFile);
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
        err << e.what() << '\n';
        return 1;
    }
    int status = 0;
    for (const std::string& file : options.files) {
        try {
            out << jsonLine(judgedObject(file, JudgePhoto(ctx, file, Unreadable::Raise))) << '\n';
        } catch (const std::exception& e) {
            out << jsonLine(errorObject(file, e.what())) << '\n';
            status = 1;
        }
        out.flush();
    }
    return status;
}

}  // namespace photocheck
