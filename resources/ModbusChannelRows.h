// Fragments of the Modbus RTU input templates with a row per channel: the "General Setting" group,
// the list of Modbus references with its headings, and the "Channel Setting" rows (enable box,
// label, type list, value field).
#pragma once

#include "DialogTemplate.h"

#include <array>
#include <string>
#include <vector>

// In the header, so the templates built at start-up find them built.
inline const std::vector<std::string> kModbusFormatRows = {"Engineer Unit", "% of FSR",
                                                           "2's complement HEX"};

struct SModbusGeneral {
    unsigned addressStyle = CS_NONE;
    unsigned formatStyle = CS_NONE; // the label follows it
    // Rows of the Protocol list; none: the group has no Protocol list.
    std::vector<std::string> protocolRows = {};
    unsigned protocolStyle = CS_NONE;
    CtlKind listKind = CtlKind::DropList; // of BaudRate, DataFormat, CheckSum and Protocol
    bool bFormatFirst = false;            // DataFormat above BaudRate
};

// The group at the top left: Address, BaudRate and DataFormat (or the other way round), CheckSum
// and Protocol one under the other; returns the y below the last.
int AddModbusGeneralSettings(std::vector<ControlTemplate>& c, const SModbusGeneral& general);
// "Location", "Channel" and "Value" above the list of references.
struct SModbusList {
    int x;
    int y;
    int cx = 128;
    int cy = 84; // the list's own height, below its headings
    unsigned style = CS_NONE;
};
void AddModbusReferenceList(std::vector<ControlTemplate>& c, const SModbusList& list);

struct SModbusChannels {
    int x;
    int y;
    int nChannels;
    std::array<int, 8> checkIds;
    std::vector<std::string> typeRows;
    int typeWidth = 70; // wide enough for the longest type row
    CtlKind typeKind = CtlKind::DropList;
};
void AddModbusChannelRows(std::vector<ControlTemplate>& c, const SModbusChannels& channels);
