#pragma once
#include <string>

#include "store/Database.h"
#include "store/DetectionParameters.h"
#include "store/IniFile.h"
#include "store/IntConversion.h"

namespace photocheck {

// A value of the parameter file that is not a whole number; the message names the file and the key.
class ParameterValueError : public OperatorError {
  public:
    using OperatorError::OperatorError;
};

inline const char* const ParameterFileName = "SetParameters.ini";
inline const char* const ParameterSection = "Parameters";

// The five keys of the parameter file, in the order they are read.
inline const char* const KeyFileSizeKb = "文件最小大小(Kb)";
inline const char* const KeyBlueRatio = "5到10行蓝色比";
inline const char* const KeyClarity = "清晰度";
inline const char* const KeyRegularity = "端正比";
inline const char* const KeyHeadRatio = "头部高度比";

inline const char* const BlueRangeMessage = "蓝底比要大于等于0小于100";
inline const char* const RegularRangeMessage = "端正度要大于等于0小于100";
inline const char* const HeadRangeMessage = "头部比要大于等于0小于100";
inline const char* const SettingsSavedMessage = "设置成功";

// Reads the five keys one after another from an INI file and stores each at once; a failing key
// throws ParameterValueError and leaves it and the later ones as they were (0 at start). Its message
// names the file and the key, with the conversion's own message after them (parameterValueMessage).
std::string parameterValueMessage(const std::string& iniPath, const std::string& key,
                                  const std::string& conversionMessage);
void LoadParametersFromFile(const std::string& iniPath, DetectionParameters& params,
                            const IniErrorReport& report = {});

struct ParameterEdits {  // the dialog's five edit texts
    std::string size, blue, clarity, regular, head;
};

// The settings dialog's creation: the table's row into the five edits (empty texts when it has no
// row), then the parameters from workFolder + "SetParameters.ini". Engine errors and conversion
// errors propagate.
void LoadParameterSettings(Query& ADOpreSet, const std::string& workFolder, ParameterEdits& edits,
                           DetectionParameters& params, const IniErrorReport& report = {});

struct ConfirmResult {
    bool ok;
    std::string message;
    // which edit gets focus (its text selected) on a range refusal
    enum class Focus { None, Blue, Regular, Head } focus;
};

// The button "确定": empty edits become "0", the three ratio edits are checked in the order blue,
// uprightness, head; then the table's row and the parameters take the five values.
// Conversion errors propagate as ConversionError, and then nothing is written.
ConfirmResult ConfirmParameterSettings(Query& ADOpreSet, ParameterEdits& edits, DetectionParameters& params);

}  // namespace photocheck
