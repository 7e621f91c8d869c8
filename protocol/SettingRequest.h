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
// the module's acknowledgement of it ("!" and the address it answers at, nothing more);
// switchedSilently: the switch to Modbus RTU went out and nothing at all came back. A refusal is
// never a success; a switch to Modbus RTU met by silence is, since a module that has just switched
// answers no more in ASCII (noise is no such answer).
enum class ESettingOutcome { Accepted, SwitchedToModbus, Refused };

ESettingOutcome SettingOutcome(bool acknowledged, bool refused, bool switchedSilently);

// The two Modbus RTU setting writes (function 06, request text without CRC) to the slave given: a
// new slave address into register 0x0812, and the switch to ASCII, the value the model takes for
// ASCII into register 0x080D.
std::string RtuAddressWriteText(const std::string& slave, const std::string& newAddress);
std::string RtuAsciiSwitchText(const std::string& slave, int asciiValue);
// Whether a request text is the switch to ASCII.
bool IsRtuAsciiSwitch(const std::string& requestText);
// Whether a Modbus setting write leaves the module answering elsewhere: the switch to ASCII, or a
// slave address other than the one the write goes to. Only after such a write may silence count
// as success.
bool RtuSettingMovesModule(const std::string& requestText);

// How a dialog judges the answer to a Modbus setting write. A module that takes it echoes it; one
// that has already moved to its new address or protocol may not answer at all, but one that stays
// where it was must.
enum class ERtuVerdict {
    Echo,             // only the echo takes the write
    EchoOrSilentMove, // the echo, or silence after a write that moves the module
};
