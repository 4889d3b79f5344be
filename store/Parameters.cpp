#include "store/Parameters.h"

#include "platform/Paths.h"

namespace photocheck {
namespace {

struct KeyAndTarget {
    const char* key;
    int32_t DetectionParameters::*target;
};

const KeyAndTarget ParameterKeys[] = {
    {KeyFileSizeKb, &DetectionParameters::ParamFileSizeKb},
    {KeyBlueRatio, &DetectionParameters::ParamBlueRatio},
    {KeyClarity, &DetectionParameters::ParamClarity},
    {KeyRegularity, &DetectionParameters::ParamRegularity},
    {KeyHeadRatio, &DetectionParameters::ParamHeadRatio},
};

bool isRatio(int32_t value) {
    return value >= 0 && value < 100;
}

void zeroWhenEmpty(std::string& edit) {
    if (trimmed(edit).empty()) edit = "0";
}

}  // namespace

std::string parameterValueMessage(const std::string& iniPath, const std::string& key,
                                  const std::string& conversionMessage) {
    return "参数文件 " + iniPath + " 中“" + key + "”的值不是整数（" + conversionMessage + "）";
}

void LoadParametersFromFile(const std::string& iniPath, DetectionParameters& params,
                            const IniErrorReport& report) {
    for (const auto& [key, target] : ParameterKeys) {
        try {
            params.*target = StrToInt(ReadIniString(iniPath, ParameterSection, key, report));
        } catch (const ConversionError& e) {
            throw ParameterValueError(parameterValueMessage(iniPath, key, e.what()));
        }
    }
}

void LoadParameterSettings(Query& ADOpreSet, const std::string& workFolder, ParameterEdits& edits,
                           DetectionParameters& params, const IniErrorReport& report) {
    const bool hasRow = OpenSql(ADOpreSet, "select * from preParameters");
    const auto column = [&](const char* name) { return hasRow ? ADOpreSet.text(0, name) : std::string(); };
    edits.size = column("PreSize");
    edits.blue = column("PreBlue");
    edits.clarity = column("PreClarity");
    edits.regular = column("PreRegular");
    edits.head = column("PreHead");
    LoadParametersFromFile(workFolder + ParameterFileName, params, report);
}

ConfirmResult ConfirmParameterSettings(Query& ADOpreSet, ParameterEdits& edits, DetectionParameters& params) {
    for (std::string* edit : {&edits.size, &edits.blue, &edits.clarity, &edits.regular, &edits.head})
        zeroWhenEmpty(*edit);

    using Focus = ConfirmResult::Focus;
    if (!isRatio(StrToInt(edits.blue))) return {false, BlueRangeMessage, Focus::Blue};
    if (!isRatio(StrToInt(edits.regular))) return {false, RegularRangeMessage, Focus::Regular};
    if (!isRatio(StrToInt(edits.head))) return {false, HeadRangeMessage, Focus::Head};

    // Every edit is converted before anything is written, so the table and the parameters never
    // part ways and no edit text reaches the statement as typed.
    DetectionParameters confirmed;
    confirmed.ParamFileSizeKb = StrToInt(edits.size);
    confirmed.ParamBlueRatio = StrToInt(edits.blue);
    confirmed.ParamClarity = StrToInt(edits.clarity);
    confirmed.ParamRegularity = StrToInt(edits.regular);
    confirmed.ParamHeadRatio = StrToInt(edits.head);

    ExecSql(ADOpreSet, "update preParameters set PreSize=" + std::to_string(confirmed.ParamFileSizeKb) +
                           ",PreBlue=" + std::to_string(confirmed.ParamBlueRatio) +
                           ",PreClarity=" + std::to_string(confirmed.ParamClarity) +
                           ",PreRegular=" + std::to_string(confirmed.ParamRegularity) +
                           ",PreHead=" + std::to_string(confirmed.ParamHeadRatio));
    params = confirmed;
    return {true, SettingsSavedMessage, Focus::None};
}

}  // namespace photocheck
