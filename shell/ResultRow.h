// A row of the search's result list: what the search read from one module, turned into the texts
// the operator sees and the codes the open-module dispatch hands to the module's dialog.
#pragma once

#include <array>
#include <string>

// Columns of the result list, in the order the frame inserts them.
enum EResultColumn : int {
    kColModule = 0,      // listed model name
    kColAddressText = 1, // "17(11)ASCII", "17(11)RTU", "0(00)"
    kColBaudrate = 2,
    kColAlarm = 3,
    kColChecksum = 4,
    kColDescription = 5,
    kColDataFormat = 6, // hidden from here on
    kColAddress = 7,
    kColBrate = 8,
    kColCheck = 9,
    kColScript = 10,
    kColFormat = 11,
    kColProtocol = 12,
    kResultColumns = 13,
};

using ResultRow = std::array<std::string, kResultColumns>;

// One module as the search hands it over.
struct SFoundModule {
    // ASCII find: the name reply ("!", address, name). Modbus RTU find: the model from the probe.
    std::string strName;
    // ASCII find: the configuration reply. Modbus RTU find: the address in decimal.
    std::string strSecond;
    // The baud rate in decimal.
    std::string strBaud;
    bool bRtu = false;            // found by the Modbus RTU probes
    bool bAddressZero = false;    // found at address 0
    bool bChecksumChoice = false; // the search asked with checksum digits
};

ResultRow BuildResultRow(const SFoundModule& found);
