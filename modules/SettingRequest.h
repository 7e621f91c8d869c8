// What the input dialogs share when they write a new configuration: the range lists, the fields of
// the "%" request and the forms of the switch to Modbus RTU, the codes of lists left without a
// row, the outcome of the request, the refusals of address 0, and the texts written back to the
// result row. No Qt.
#pragma once

#include "ModuleCodes.h"

#include <optional>
#include <string>
#include <vector>

// A range list of a template: its rows as the template lists them, and the codes of its first
// rows (rows past the codes stand for no range).
struct SRangeList {
    std::vector<std::string> rows;
    CodeTable codes;
};

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

// The code for a list field of the request: the code of the chosen row; with no row chosen (or a
// row without a code), the module's current code from its block when it is one (digits upper-case
// hex digits); nothing when there is neither, and the setting is refused.
std::optional<std::string> ChosenCode(const CodeTable& table, int row, const std::string& current,
                                      size_t digits);
// The refusal of a setting whose list has no row and no current code: "Select the <label>!".
std::string SelectListText(const std::string& label);

// The verdict on a configuration request (and the protocol switch that may follow it). refused:
// a reply in the sequence began with "?"; lastReply: the last reply that reached the dialog.
enum class ESettingOutcome { Accepted, SwitchedToModbus, Refused };
ESettingOutcome SettingOutcome(const std::string& lastReply, bool refused, bool modbusChosen);

// A refusal of the new address 0: its box and whether the dialog then closes (or polls on).
struct SAddressZeroRule {
    const char* pszText;
    const char* pszCaption; // nullptr: the application's title; "" an empty caption
    bool bExclamation;
    bool bCloses;
};
inline constexpr SAddressZeroRule kAddressZeroPollsOn{"重新设置时地址不能为0!", "", true, false};
inline constexpr SAddressZeroRule kAddressZeroCloses{"地址不能为0!", "", true, true};

// Texts for the result row; an entry without a value keeps the row's own text.
using WriteBackTexts = std::vector<std::optional<std::string>>;
struct SSettingWriteBack {
    WriteBackTexts row;    // model, address, baud rate, checksum, description
    WriteBackTexts params; // address, baud code, checksum digit, type code, format digit
};
// What a "%" request told the module, for its row: the model name, the new address, the texts of
// the chosen Baudrate and CheckSum rows and of the range (nothing: the row keeps its own).
SSettingWriteBack ConfigurationWriteBack(const SConfigurationFields& fields,
                                         const std::string& model, const std::string& baudText,
                                         const std::string& checkText,
                                         const std::optional<std::string>& rangeText);
