#include "SettingRequest.h"

#include "HexText.h"
#include "Strings.h"

#include <optional>

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

ESettingOutcome SettingOutcome(bool acknowledged, bool refused, bool switchedSilently)
{
    if (refused) return ESettingOutcome::Refused;
    if (acknowledged) return ESettingOutcome::Accepted;
    return switchedSilently ? ESettingOutcome::SwitchedToModbus : ESettingOutcome::Refused;
}

namespace {

inline constexpr unsigned kAddressRegister = 0x0812;
inline constexpr unsigned kProtocolRegister = 0x080D;

// The register a single-register write (function 06) goes to; nothing for any other request.
std::optional<unsigned> WrittenRegister(const std::vector<BYTE>& request)
{
    if (request.size() != 6 || request[1] != 0x06) return std::nullopt;
    return static_cast<unsigned>(request[2] << 8 | request[3]);
}

} // namespace

std::string RtuAddressWriteText(const std::string& slave, const std::string& newAddress)
{
    return slave + Format("06%04X00", kAddressRegister) + newAddress;
}

std::string RtuAsciiSwitchText(const std::string& slave, int asciiValue)
{
    return slave + Format("06%04X%04X", kProtocolRegister, static_cast<unsigned>(asciiValue));
}

bool IsRtuAsciiSwitch(const std::string& requestText)
{
    return WrittenRegister(HexTextToBytes(requestText)) == kProtocolRegister;
}

bool RtuSettingMovesModule(const std::string& requestText)
{
    std::vector<BYTE> request = HexTextToBytes(requestText);
    std::optional<unsigned> reg = WrittenRegister(request);
    return reg == kProtocolRegister || (reg == kAddressRegister && request[5] != request[0]);
}
