// What the input dialogs share when they write a new configuration: the fields of the "%" request,
// the forms of the switch to Modbus RTU, and the outcome of the request. No Qt.
#pragma once

#include "ModuleCodes.h"

#include <string>

// The fields of "%AANNTTCCFF": old and new address, type or range code, baud code, checksum digit
// and data-format digit.
struct SConfigurationFields {
    std::string strOldAddress;
    std::string strNewAddress;
    std::string strType;
    std::string strBaud;
    std::string strCheck;
    std::string strFormat;
};

// "%" + the six fields, without checksum digits or CR.
std::string ConfigurationText(const SConfigurationFields& fields);

// How a dialog asks its module to go over to Modbus RTU: "$" + address + "R1", sent to the address
// the module answers to now; or a "%" request addressed to 00 with a type and format of its own.
struct SModbusSwitchForm {
    bool bDollarR1;
    const char* pszType = "";
    const char* pszFormat = ""; // checksum and format digits
};
inline constexpr SModbusSwitchForm kSwitchDollarR1{true};
std::string ModbusSwitchText(const SModbusSwitchForm& form, const SConfigurationFields& fields);

// The verdict on a configuration request (and the protocol switch that may follow it). refused:
// a reply in the sequence began with "?"; acknowledged: the last reply that reached the dialog is
// the module's acknowledgement of it ("!" and the address it answers at, nothing more). A
// refusal is never a success; a switch to Modbus RTU that went unanswered is, since a module that
// has just switched answers no more in ASCII.
enum class ESettingOutcome { Accepted, SwitchedToModbus, Refused };

// Whether a Modbus setting write (request text without CRC) leaves the module answering elsewhere:
// a write to the protocol register (0x080D), or a slave address (register 0x0812) other than the
// one the write goes to. Only after such a write may silence count as success.
bool RtuSettingMovesModule(const std::string& requestText);
ESettingOutcome SettingOutcome(bool acknowledged, bool refused, bool modbusChosen);
