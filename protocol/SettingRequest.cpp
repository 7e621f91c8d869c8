#include "SettingRequest.h"

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

ESettingOutcome SettingOutcome(const std::string& lastReply, bool refused, bool modbusChosen)
{
    if (refused) return ESettingOutcome::Refused;
    if (!lastReply.empty() && lastReply[0] == '!') return ESettingOutcome::Accepted;
    return modbusChosen ? ESettingOutcome::SwitchedToModbus : ESettingOutcome::Refused;
}
