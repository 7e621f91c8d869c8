#include "ModuleFamilies.h"

#include "AsciiCommand.h"
#include "ModelName.h"
#include "Strings.h"

namespace {

using Steps = std::vector<SModuleDialogStep>;

bool IsAscii(const ResultRow& row)
{
    return row[kColProtocol] == "ASC";
}
const std::string& NameOf(const ResultRow& row)
{
    return row[kColModule];
}

// ---- blocks

template <class Block> void CopyStandard(Block& block, const ResultRow& row)
{
    block[kAddress] = row[kColAddress];
    block[kBrate] = row[kColBrate];
    block[kCheck] = row[kColCheck];
    block[kScript] = row[kColScript];
    block[kFormat] = row[kColFormat];
    block[kModule] = row[kColModule];
}

template <ModuleParamBlock CMainFrame::*Block>
void FillStandard(CMainFrame& frame, const ResultRow& row)
{
    CopyStandard(frame.*Block, row);
}

// The address in lower-case hex without leading zeros, from the decimal number that begins the
// address text ("26(1A)RTU" gives "1a").
std::string LowerHexAddress(const ResultRow& row)
{
    return Format("%lx", StrToLong(row[kColAddressText], 10));
}

// The two RTD Modbus dialogs: Module, address, Brate, Format, Check.
template <ModuleParamBlock CMainFrame::*Block>
void FillRtdModbus(CMainFrame& frame, const ResultRow& row)
{
    ModuleParamBlock& block = frame.*Block;
    block[0] = row[kColModule];
    block[1] = LowerHexAddress(row);
    block[2] = row[kColBrate];
    block[3] = row[kColFormat];
    block[4] = row[kColCheck];
}

// The single-channel Modbus input dialog: address, Brate, Check, Script, Format, Module.
void FillM6385Modbus(CMainFrame& frame, const ResultRow& row)
{
    ModuleParamBlock& block = frame.m_strM6385ModbusParams;
    block[0] = LowerHexAddress(row);
    block[1] = row[kColBrate];
    block[2] = row[kColCheck];
    block[3] = row[kColScript];
    block[4] = row[kColFormat];
    block[5] = row[kColModule];
}

// A Modbus RTU power meter: Module, address, decimal baud text; the rest keeps what it held.
void FillPowerMeter(CMainFrame& frame, const ResultRow& row)
{
    ModuleParamBlock& block = frame.m_strPowerMeterParams;
    if (IsAscii(row)) {
        CopyStandard(block, row);
        return;
    }
    block[0] = row[kColModule];
    block[1] = row[kColAddress];
    block[2] = row[kColBaudrate];
}

void FillRack(CMainFrame& frame, const ResultRow& row)
{
    CopyStandard(frame.m_strRackParams, row);
    frame.m_strRackParams[kRackProtocol] = row[kColProtocol];
}

// The 4359A ASCII dialog takes the format's high digit as its Script entry.
void ScriptFromProtocol(CMainFrame& frame, const ResultRow& row)
{
    frame.m_strAnalogOutputParams[kScript] = row[kColProtocol];
}

// ---- dialogs

Steps AsciiOnly(const ResultRow& row, const char* dialog)
{
    return IsAscii(row) ? Steps{{dialog}} : Steps{};
}

Steps RtdInputDialogs(const ResultRow& row)
{
    const std::string& name = NameOf(row);
    if (IsAscii(row)) return {{ModelHas(name, "6307A") ? "CM6307p" : "CM6309x"}};
    Steps steps;
    if (ModelIsAny(name, {"6307", "4307", "6307D", "4307D"})) {
        steps.push_back({"CM6307pModbus", FillRtdModbus<&CMainFrame::m_strM6307ModbusParams>});
    }
    if (ModelHasAny(name, {"4300", "6300"})) {
        steps.push_back({"CM6300Modbus", FillRtdModbus<&CMainFrame::m_strM6300ModbusParams>});
    }
    return steps;
}

Steps SixChannelDialogs(const ResultRow& row)
{
    const std::string& name = NameOf(row);
    if (IsAscii(row)) return {{ModelHasAny(name, {"9382T", "6382T"}) ? "CM63828p" : "CM6382p"}};
    return {{ModelHas(name, "6382T") ? "CM6382TModbus" : "CM6382pModbus"}};
}

Steps AnalogInputDialogs(const ResultRow& row)
{
    const std::string& name = NameOf(row);
    if (IsAscii(row)) return {{ModelHas(name, "6384P") ? "CM6384P" : "CM6384"}};
    if (ModelHasAny(name, {"9385", "6385"})) return {{"C6385pModbus", FillM6385Modbus}};
    return {{ModelHasAny(name, {"6384P", "4384A"}) ? "CM6384pModbus" : "CM6384Modbus"}};
}

Steps ThermocoupleDialogs(const ResultRow& row)
{
    const std::string& name = NameOf(row);
    if (IsAscii(row)) return {{ModelHas(name, "6386P") ? "CM6386P" : "CM6386"}};
    return {{ModelHasAny(name, {"6386P", "4386A"}) ? "CM6386PModbus" : "CM6386Modbus"}};
}

// The 4359A models keep their protocol in the format's high digit (bit 3 set: Modbus RTU). A
// module at address 0 is in its INIT state and answers in ASCII whatever its protocol.
Steps AnalogOutputDialogs(const ResultRow& row)
{
    const std::string& name = NameOf(row);
    std::string protocol = row[kColProtocol];
    if (ModelHasAny(name, {"9359P", "4359A"}) && protocol.size() == 1) {
        protocol = (HexCharToValue(protocol[0]) & 0x08) ? "RTU" : "ASC";
    }
    bool protocolInScript = ModelHas(name, "4359A");
    if (protocol == "ASC" || CharAt(row[kColAddressText], 0) == '0') {
        return protocolInScript ? Steps{{"CM6359p", ScriptFromProtocol}} : Steps{{"CM6359"}};
    }
    return {{protocolInScript ? "CM6359pModbus" : "CM6359Modbus"}};
}

Steps RackDialogs(const ResultRow& row)
{
    if (IsAscii(row)) return {{"CV1333E"}};
    return row[kColProtocol] == "RTU" ? Steps{{"CV1333M"}} : Steps{};
}

bool IsDigitalIo(const std::string& name)
{
    return ModelIsAny(name, {"6373",  "4373",  "6395",  "4395",  "6320",  "4320",  "6325",  "4325",
                             "6398",  "4398",  "6390",  "4390",  "6324",  "4324",  "6399",  "4399",
                             "6323",  "4323",  "6373D", "4373D", "6395D", "4395D", "6320D", "4320D",
                             "6325D", "4325D", "6398D", "4398D", "6390D", "4390D", "6324D", "4324D",
                             "6399D", "4399D", "6323D", "4323D"}) ||
           ModelHasAny(name, {"4370", "6370", "4372", "6372", "4377", "6377", "4374", "6374",
                              "4376", "6376", "6371", "6328", "9328", "6322", "9322"});
}

const std::vector<SModuleFamily> kFamilies = {
    {"bridge-input",
     [](const std::string& n) {
         return ModelHasAny(n, {"6387", "4387"});
     },
     FillStandard<&CMainFrame::m_strBridgeInputParams>,
     [](const ResultRow& r) { return AsciiOnly(r, "CM6387"); }, &CMainFrame::m_bBridgeInputChanged,
     true},
    {"counter",
     [](const std::string& n) {
         return ModelHasAny(n, {"6363", "4363"});
     },
     FillStandard<&CMainFrame::m_strCounterParams>,
     [](const ResultRow& r) { return AsciiOnly(r, "CM6363"); }, &CMainFrame::m_bCounterChanged,
     true},
    {"power-meter",
     [](const std::string& n) {
         return ModelHasAny(n, {"6530", "4530", "6539"});
     },
     FillPowerMeter,
     [](const ResultRow& r) { return Steps{{IsAscii(r) ? "CM63508" : "CM6530rtu"}}; },
     &CMainFrame::m_bPowerMeterChanged, true},
    {"digital-I/O", IsDigitalIo, FillStandard<&CMainFrame::m_strDioParams>,
     [](const ResultRow& r) { return Steps{{IsAscii(r) ? "CM6373" : "CM6373Modbus"}}; },
     &CMainFrame::m_bDioChanged, true},
    {"three-channel RTD",
     [](const std::string& n) {
         return ModelHasAny(n, {"6380", "4380"});
     },
     FillStandard<&CMainFrame::m_strThreeChannelRtdParams>,
     [](const ResultRow& r) { return AsciiOnly(r, "CM6380"); },
     &CMainFrame::m_bThreeChannelRtdChanged, true},
    {"RTD-input",
     [](const std::string& n) {
         return ModelHasAny(n, {"6309", "4309", "4300", "6300", "4308", "6308", "6307", "4307"});
     },
     FillStandard<&CMainFrame::m_strRtdInputParams>, RtdInputDialogs,
     &CMainFrame::m_bRtdInputChanged, false},
    {"six-channel temperature",
     [](const std::string& n) {
         return ModelHasAny(n, {"9382", "4382"});
     },
     FillStandard<&CMainFrame::m_strSixChannelTempParams>, SixChannelDialogs,
     &CMainFrame::m_bSixChannelTempChanged, false},
    {"analog-input",
     [](const std::string& n) {
         return ModelHasAny(n, {"4385", "6385", "4389", "6389", "4384", "6384"});
     },
     FillStandard<&CMainFrame::m_strAnalogInputParams>, AnalogInputDialogs,
     &CMainFrame::m_bAnalogInputChanged, true},
    {"thermocouple-input",
     [](const std::string& n) {
         return ModelHasAny(n, {"4388", "6388", "6386", "4386"});
     },
     FillStandard<&CMainFrame::m_strThermocoupleInputParams>, ThermocoupleDialogs,
     &CMainFrame::m_bThermocoupleInputChanged, false},
    {"universal-input", [](const std::string& n) { return ModelHas(n, "6381"); },
     FillStandard<&CMainFrame::m_strUniversalInputParams>,
     [](const ResultRow&) { return Steps{{"CM6381p"}}; }, &CMainFrame::m_bUniversalInputChanged,
     false},
    {"analog-output",
     [](const std::string& n) {
         return ModelHasAny(n, {"4358", "6358", "6355", "4355", "6359", "4359"});
     },
     FillStandard<&CMainFrame::m_strAnalogOutputParams>, AnalogOutputDialogs,
     &CMainFrame::m_bAnalogOutputChanged, false},
    {"rack", [](const std::string& n) { return ModelHas(n, "1333"); }, FillRack, RackDialogs,
     nullptr, false},
};

} // namespace

const std::vector<SModuleFamily>& ModuleFamilies()
{
    return kFamilies;
}
