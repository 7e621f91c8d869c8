#include "SettingRequest.h"

#include "HexText.h"

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

ESettingOutcome SettingOutcome(bool acknowledged, bool refused, bool modbusChosen)
{
    if (refused) return ESettingOutcome::Refused;
    if (acknowledged) return ESettingOutcome::Accepted;
    return modbusChosen ? ESettingOutcome::SwitchedToModbus : ESettingOutcome::Refused;
}

bool RtuSettingMovesModule(const std::string& requestText)
{
    std::vector<BYTE> request = HexTextToBytes(requestText);
    if (request.size() != 6 || request[1] != 0x06) return false;
    unsigned reg = static_cast<unsigned>(request[2] << 8 | request[3]);
    return reg == 0x080D || (reg == 0x0812 && request[5] != request[0]);
}
