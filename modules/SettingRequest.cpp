#include "SettingRequest.h"

#include "AsciiCommand.h"

#include <algorithm>

std::string ConfigurationText(const SConfigurationFields& f)
{
    return "%" + f.strOldAddress + f.strNewAddress + f.strType + f.strBaud + f.strCheck +
           f.strFormat;
}

std::string ModbusSwitchText(const SModbusSwitchForm& form, const SConfigurationFields& fields)
{
    if (form.bDollarR1) return "$" + fields.strOldAddress + "R1";
    return "%00" + fields.strNewAddress + form.pszType + fields.strBaud + form.pszFormat;
}

std::optional<std::string> ChosenCode(const CodeTable& table, int row, const std::string& current,
                                      size_t digits)
{
    std::string code = CodeOfRow(table, row);
    if (!code.empty()) return code;
    bool hex = current.size() == digits && std::all_of(current.begin(), current.end(), [](char c) {
                   return HexCharToValue(c) != 0xCC;
               });
    if (hex) return current;
    return std::nullopt;
}

std::string SelectListText(const std::string& label)
{
    return "Select the " + label + "!";
}

ESettingOutcome SettingOutcome(const std::string& lastReply, bool refused, bool modbusChosen)
{
    if (refused) return ESettingOutcome::Refused;
    if (!lastReply.empty() && lastReply[0] == '!') return ESettingOutcome::Accepted;
    return modbusChosen ? ESettingOutcome::SwitchedToModbus : ESettingOutcome::Refused;
}

SSettingWriteBack ConfigurationWriteBack(const SConfigurationFields& f, const std::string& model,
                                         const std::string& baudText, const std::string& checkText,
                                         const std::optional<std::string>& rangeText)
{
    return {{model, f.strNewAddress, baudText, checkText, rangeText},
            {f.strNewAddress, f.strBaud, f.strCheck, f.strType, f.strFormat}};
}
