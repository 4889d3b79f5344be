#include "cli/CheckCommand.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <set>
#include <stdexcept>

#include "batch/JudgePhoto.h"
#include "batch/OperatorMessage.h"
#include "check/CheckContext.h"
#include "cli/JsonLine.h"
#include "platform/FileSystem.h"
#include "platform/OpenFile.h"
#include "platform/OperatorError.h"
#include "platform/Paths.h"
#include "report/Overlay.h"
#include "report/Png.h"
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

// Why a path cannot be read as a file: missing, or a folder, a pipe or a device (reading a pipe
// would wait for ever).
std::optional<std::string> notARegularFile(const PathStatus& status) {
    switch (status.kind) {
        case PathStatus::Kind::File:
            return std::nullopt;
        case PathStatus::Kind::Missing:
        case PathStatus::Kind::Unexamined:
            return status.systemText;
        case PathStatus::Kind::Folder:
            return std::string("这是一个文件夹，不是文件");
        case PathStatus::Kind::Link:
        case PathStatus::Kind::Other:
            break;
    }
    return std::string("不是普通文件");
}

// A photo is judged only when it is a regular file; a missing one is left to the check, which
// reports why it cannot be opened.
std::optional<std::string> refusedPhoto(const std::string& path) {
    const PathStatus status = statusOf(path);
    if (!status.found()) return std::nullopt;
    if (const auto why = notARegularFile(status)) return "未检查：" + *why;
    return std::nullopt;
}

void override(int32_t& threshold, const std::optional<int32_t>& value) {
    if (value) threshold = *value;
}

// The overlays of one call: each file's name with ".png", never twice the same, and never a name that
// is taken in the folder: what is there (the photo itself, a link to a file elsewhere) is kept.
class OverlayFolder {
  public:
    explicit OverlayFolder(std::string folder) : folder_(std::move(folder)) {
        if (!folder_.empty()) createFolders(folder_);
    }
    bool wanted() const { return !folder_.empty(); }

    void write(const JudgedPhoto& photo) {
        const Bitmap overlay = overlayOf(photo);
        const std::string stem = fileStemOf(photo.path);
        for (int n = 1;; ++n) {
            const std::string name = n == 1 ? stem + ".png" : stem + "-" + std::to_string(n) + ".png";
            if (!taken_.insert(name).second) continue;
            const std::string path = joinPath(folder_, name);
            FileHandle file = createNewFile(path);
            if (!file) continue;
            try {
                writePng(overlay, file.release(), path);
            } catch (...) {
                removeFile(path);  // the file this call created, half written
                throw;
            }
            return;
        }
    }

  private:
    const std::string folder_;
    std::set<std::string> taken_;
};

}  // namespace

DetectionParameters thresholdsOf(const CheckCommandOptions& options, std::ostream& err) {
    DetectionParameters params;
    if (!options.paramsFile.empty()) {
        if (const auto why = notARegularFile(statusOf(options.paramsFile)))
            throw OperatorError("无法读取参数文件 " + options.paramsFile + "：" + *why);
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
    std::unique_ptr<OverlayFolder> overlays;
    try {
        applySettings(ctx, {options.debug, options.pupils, thresholdsOf(options, err)});
        overlays = std::make_unique<OverlayFolder>(options.overlayFolder);
    } catch (const std::exception& e) {
        err << operatorMessage(e) << '\n';
        return 1;
    }
    const Keep keep = overlays->wanted() ? Keep::RowAndMeasurements : Keep::Row;
    int status = 0;
    for (const std::string& file : options.files) {
        std::optional<JudgedPhoto> photo;
        try {
            if (const auto refusal = refusedPhoto(file)) throw OperatorError(*refusal);
            photo = JudgePhoto(ctx, file, Unreadable::Raise, keep);
            out << jsonLine(judgedObject(file, *photo)) << '\n';
        } catch (const std::exception& e) {
            out << jsonLine(errorObject(file, operatorMessage(e))) << '\n';
            status = 1;
        }
        out.flush();
        if (!photo || !overlays->wanted()) continue;
        try {
            overlays->write(*photo);
        } catch (const std::exception& e) {
            err << operatorMessage(e) << '\n';
            status = 1;
        }
    }
    return status;
}

}  // namespace photocheck
