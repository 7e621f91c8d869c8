#include "EveryDialog.h"

#include "ModuleDialogs.h"
#include "PerChannelIds.h"
#include "analog_input/AnalogInputIds.h"
#include "analog_output/AnalogOutputIds.h"
#include "analog_output/OutputDiIds.h"
#include "counter_power/CounterPowerIds.h"
#include "digital_io/DigitalIoIds.h"
#include "rtd/RtdIds.h"
#include "thermocouple/ThermocoupleIds.h"

#include "LinkTable.h"

#include <algorithm>

namespace {

using F = CMainFrame;
constexpr ELinkKind kRtu = ELinkKind::Rtu;

std::vector<SDialogRow> Rows()
{
    std::vector<SDialogRow> rows = {
        // Power meters and the counter.
        {.name = "CM6530rtu",
         .nTemplate = IDD_M6530RTU,
         .bus = "6530 1 9600 rtu",
         .pBlock = &F::m_strPowerMeterParams,
         .block = {"6530", "01", "9600", "", "", ""},
         .nAddressBox = IDC_PM_ADDRESS,
         .nSettingButton = IDC_PM_SETTING,
         .nCancelButton = IDCANCEL,
         .eLink = kRtu,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = true},
        {.name = "CM63508",
         .nTemplate = IDD_M63508,
         .bus = "6530 1 9600 ascii",
         .pBlock = &F::m_strPowerMeterParams,
         .block = {"01", "06", "0", "01", "0", "6530"},
         .nAddressBox = IDC_PM_ADDRESS,
         .nSettingButton = IDC_PM_SETTING,
         .nCancelButton = IDCANCEL,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = true},
        {.name = "CM6363",
         .nTemplate = IDD_M6363,
         .bus = "6363 0x0A 9600 ascii",
         .pBlock = &F::m_strCounterParams,
         .block = {"0A", "06", "0", "50", "0", "4363"},
         .nAddressBox = IDC_CNT_ADDRESS,
         .nSettingButton = IDC_CNT_SETTING,
         .nCancelButton = IDCANCEL,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = true},
        // RTD inputs.
        {.name = "CM6380",
         .nTemplate = IDD_M6380,
         .bus = "6380 0x17 9600 ascii type=2C",
         .pBlock = &F::m_strThreeChannelRtdParams,
         .block = {"17", "06", "0", "2C", "0", "6380"},
         .nAddressBox = IDC_RTD_ADDRESS,
         .nSettingButton = IDC_RTD_SETTING,
         .nCancelButton = IDCANCEL,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = true},
        {.name = "CM6309x",
         .nTemplate = IDD_M6309X,
         .bus = "6309 0x13 9600 ascii type=20",
         .pBlock = &F::m_strRtdInputParams,
         .block = {"13", "06", "0", "20", "0", "6309"},
         .nAddressBox = IDC_RTD_ADDRESS,
         .nSettingButton = IDC_RTD_SETTING,
         .nCancelButton = IDC_RTD_CANCEL,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = true},
        {.name = "CM6307p",
         .nTemplate = IDD_M6307P,
         .bus = "6307A 1 9600 ascii",
         .pBlock = &F::m_strRtdInputParams,
         .block = {"01", "06", "0", "FF", "0", "4307A"},
         .nAddressBox = IDC_PC_ADDRESS,
         .nSettingButton = IDC_PC_UPDATE,
         .nCancelButton = IDC_PC_CANCEL,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "CM6382p",
         .nTemplate = IDD_M6382P,
         .bus = "6382 1 9600 ascii",
         .pBlock = &F::m_strSixChannelTempParams,
         .block = {"01", "06", "0", "FF", "0", "4382A"},
         .pTypes = &F::m_strChannelTypes6382,
         .types = {"20", "21", "22", "2A", "2D", "30"},
         .nAddressBox = IDC_PC_ADDRESS,
         .nSettingButton = IDC_PC_UPDATE,
         .nCancelButton = IDC_PC_CANCEL,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "CM63828p",
         .nTemplate = IDD_M63828P,
         .bus = "6382T 1 9600 ascii",
         .pBlock = &F::m_strSixChannelTempParams,
         .block = {"01", "06", "0", "FF", "0", "4382T"},
         .pTypes = &F::m_strChannelTypes6382,
         .types = {"30", "31", "30", "31", "20", ""},
         .nAddressBox = IDC_PC_ADDRESS,
         .nSettingButton = IDC_PC_UPDATE,
         .nCancelButton = IDC_PC_CANCEL,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "CM6307pModbus",
         .nTemplate = IDD_M6307P_MODBUS,
         .bus = "6307 12 9600 rtu type=2D",
         .pBlock = &F::m_strM6307ModbusParams,
         .block = {"6307", "c", "06", "2", "4", ""},
         .nAddressBox = IDC_PC_ADDRESS,
         .nSettingButton = IDC_PC_UPDATE,
         .nCancelButton = IDC_PC_CANCEL,
         .eLink = kRtu,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "CM6300Modbus",
         .nTemplate = IDD_M6300_MODBUS,
         .bus = "6300 0x1A 9600 rtu type=20",
         .pBlock = &F::m_strM6300ModbusParams,
         .block = {"6300", "1a", "06", "0", "0", ""},
         .nAddressBox = IDC_PC_ADDRESS,
         .nSettingButton = IDC_PC_UPDATE,
         .nCancelButton = IDC_PC_CANCEL,
         .eLink = kRtu,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "CM6382pModbus",
         .nTemplate = IDD_M6382P_MODBUS,
         .bus = "6382 1 9600 rtu",
         .pBlock = &F::m_strSixChannelTempParams,
         .block = {"01", "06", "0", "FF", "0", "4382"},
         .nAddressBox = IDC_PC_ADDRESS,
         .nSettingButton = IDC_PC_UPDATE,
         .nCancelButton = IDC_PC_CANCEL,
         .eLink = kRtu,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "CM6382TModbus",
         .nTemplate = IDD_M6382T_MODBUS,
         .bus = "6382T 1 9600 rtu",
         .pBlock = &F::m_strSixChannelTempParams,
         .block = {"01", "06", "0", "FF", "0", "4382"},
         .nAddressBox = IDC_PC_ADDRESS,
         .nSettingButton = IDC_PC_UPDATE,
         .nCancelButton = IDC_PC_CANCEL,
         .eLink = kRtu,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        // Analog inputs.
        {.name = "CM6384",
         .nTemplate = IDD_M6384,
         .bus = "6384 1 9600 ascii type=08",
         .pBlock = &F::m_strAnalogInputParams,
         .block = {"01", "06", "0", "08", "0", "4384"},
         .nAddressBox = IDC_AI_ADDRESS,
         .nSettingButton = IDC_AI_SETTING,
         .nCancelButton = IDCANCEL,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = true},
        {.name = "CM6384Modbus",
         .nTemplate = IDD_M6384_MODBUS,
         .bus = "6384 1 9600 rtu",
         .pBlock = &F::m_strAnalogInputParams,
         .block = {"01", "06", "0", "0A", "1", "4384"},
         .nAddressBox = IDC_AI_ADDRESS,
         .nSettingButton = IDC_AI_SETTING,
         .nCancelButton = IDCANCEL,
         .eLink = kRtu,
         .eEnter = EEnter::PressesDefault,
         .nDefaultButton = IDC_AI_SETTING,
         .bSetsDialogClosed = true},
        {.name = "CM6387",
         .nTemplate = IDD_M6387,
         .bus = "6387 6 9600 ascii",
         .pBlock = &F::m_strBridgeInputParams,
         .block = {"06", "06", "0", "01", "0", "4387"},
         .nAddressBox = IDC_AI_ADDRESS,
         .nSettingButton = IDC_AI_SETTING,
         .nCancelButton = IDC_BRIDGE_CANCEL,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = true},
        {.name = "CM6384P",
         .nTemplate = IDD_M6384P,
         .bus = "6384P 1 9600 ascii",
         .pBlock = &F::m_strAnalogInputParams,
         .block = {"01", "06", "0", "FF", "0", "4384P"},
         .pTypes = &F::m_strChannelTypes6384P,
         .types = {"07", "08", "09", "0A", "0B", "0C", "0D", "07"},
         .nAddressBox = IDC_PC_ADDRESS,
         .nSettingButton = IDC_PC_UPDATE,
         .nCancelButton = IDC_PC_CANCEL,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "CM6384pModbus",
         .nTemplate = IDD_M6384P_MODBUS,
         .bus = "6384P 1 9600 rtu",
         .pBlock = &F::m_strAnalogInputParams,
         .block = {"01", "06", "0", "FF", "0", "4384A"},
         .nAddressBox = IDC_PC_ADDRESS,
         .nCancelButton = IDC_PC_CANCEL,
         .eLink = kRtu,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "C6385pModbus",
         .nTemplate = IDD_6385P_MODBUS,
         .bus = "6385P 1 9600 rtu",
         .pBlock = &F::m_strM6385ModbusParams,
         .block = {"1", "06", "0", "08", "0", "4385P"},
         .nAddressBox = IDC_6385_ADDRESS,
         .nSettingButton = IDC_6385_UPDATA,
         .nCancelButton = IDC_6385_CANCEL,
         .eLink = kRtu,
         .eEnter = EEnter::PressesDefault,
         .nDefaultButton = IDC_6385_UPDATA,
         .bSetsDialogClosed = false},
        // Thermocouple and universal inputs.
        {.name = "CM6386",
         .nTemplate = IDD_M6386,
         .bus = "6386 0x10 9600 ascii type=0F",
         .pBlock = &F::m_strThermocoupleInputParams,
         .block = {"10", "06", "0", "0F", "0", "6386"},
         .nAddressBox = IDC_TC_ADDRESS,
         .nSettingButton = IDC_TC_SETTING,
         .nCancelButton = IDCANCEL,
         .eEnter = EEnter::PressesDefault,
         .nDefaultButton = IDC_TC_SETTING,
         .bSetsDialogClosed = false},
        {.name = "CM6386Modbus",
         .nTemplate = IDD_M6386_MODBUS,
         .bus = "6386 0x0A 9600 rtu",
         .pBlock = &F::m_strThermocoupleInputParams,
         .block = {"0A", "06", "0", "0F", "0", "6386"},
         .nAddressBox = IDC_TC_ADDRESS,
         .nSettingButton = IDC_TC_SETTING,
         .nCancelButton = IDCANCEL,
         .eLink = kRtu,
         .eEnter = EEnter::PressesDefault,
         .nDefaultButton = IDC_TC_SETTING,
         .bSetsDialogClosed = false},
        {.name = "CM6386P",
         .nTemplate = IDD_M6386P,
         .bus = "6386P 1 9600 ascii",
         .pBlock = &F::m_strThermocoupleInputParams,
         .block = {"01", "06", "0", "FF", "0", "4386P"},
         .pTypes = &F::m_strChannelTypes6386P,
         .types = {"06", "07", "0E", "0F", "10", "11", "12", "0e"},
         .nAddressBox = IDC_PC_ADDRESS,
         .nSettingButton = IDC_PC_UPDATE,
         .nCancelButton = IDC_PC_CANCEL,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "CM6386PModbus",
         .nTemplate = IDD_M6386P_MODBUS,
         .bus = "4386A 1 9600 rtu",
         .pBlock = &F::m_strThermocoupleInputParams,
         .block = {"01", "06", "0", "FF", "0", "4386A"},
         .nAddressBox = IDC_PC_ADDRESS,
         .nCancelButton = IDC_PC_CANCEL,
         .eLink = kRtu,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "CM6381p",
         .nTemplate = IDD_M6381P,
         .bus = "6381 1 9600 ascii",
         .pBlock = &F::m_strUniversalInputParams,
         .block = {"01", "06", "0", "FF", "0", "4381"},
         .pTypes = &F::m_strChannelTypes6381,
         .types = {"02", "03", "04", "05", "07", "08", "06", "0D"},
         .nAddressBox = IDC_PC_ADDRESS,
         .nSettingButton = IDC_PC_UPDATE,
         .nCancelButton = IDC_PC_CANCEL,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        // Analog outputs.
        {.name = "CM6359",
         .nTemplate = IDD_M6359,
         .bus = "6359 1 9600 ascii",
         .pBlock = &F::m_strAnalogOutputParams,
         .block = {"01", "06", "0", "30", "0", "6359"},
         .nAddressBox = IDC_AO_ADDRESS,
         .nSettingButton = IDC_AO_SETTING,
         .nCancelButton = IDCANCEL,
         .eEnter = EEnter::FocusesCancel,
         .bSetsDialogClosed = true},
        {.name = "CM6359Modbus",
         .nTemplate = IDD_M6359_MODBUS,
         .bus = "6359 1 9600 rtu",
         .pBlock = &F::m_strAnalogOutputParams,
         .block = {"01", "06", "0", "30", "0", "6359"},
         .nAddressBox = IDC_AO_ADDRESS,
         .nSettingButton = IDC_AO_SETTING,
         .nCancelButton = IDCANCEL,
         .eLink = kRtu,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = true},
        {.name = "CM6359p",
         .nTemplate = IDD_M6359P,
         .bus = "9359 7 9600 ascii",
         .pBlock = &F::m_strAnalogOutputParams,
         .block = {"07", "06", "0", "0", "0", "4359A"},
         .nAddressBox = IDC_ODI_ADDRESS,
         .nSettingButton = IDC_ODI_UPDATE,
         .nCancelButton = IDC_ODI_CANCEL,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "CM6359pModbus",
         .nTemplate = IDD_M6359P_MODBUS,
         .bus = "9359 7 9600 rtu",
         .pBlock = &F::m_strAnalogOutputParams,
         .block = {"07", "06", "0", "8", "0", "4359A"},
         .nAddressBox = IDC_ODI_ADDRESS,
         .nCancelButton = IDC_ODI_CANCEL,
         .eLink = kRtu,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        // Digital inputs and outputs.
        {.name = "CM6373",
         .nTemplate = IDD_M6373,
         .bus = "6373 1 9600 ascii",
         .pBlock = &F::m_strDioParams,
         .block = {"01", "06", "0", "40", "0", "6373"},
         .nAddressBox = IDC_DIO_ADDRESS,
         .nSettingButton = IDC_DIO_SETTING,
         .nCancelButton = IDCANCEL,
         .eEnter = EEnter::PressesDefault,
         .nDefaultButton = IDC_DIO_CLEAR_LATCH,
         .bSetsDialogClosed = false},
        {.name = "CM6373Modbus",
         .nTemplate = IDD_M6373_MODBUS,
         .bus = "6373 1 9600 rtu",
         .pBlock = &F::m_strDioParams,
         .block = {"01", "06", "0", "40", "0", "6373"},
         .nAddressBox = IDC_DIO_ADDRESS,
         .nSettingButton = IDC_DIO_SETTING,
         .nCancelButton = IDCANCEL,
         .eLink = kRtu,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = true},
    };
    for (SDialogRow& row : RackDialogRows()) rows.push_back(std::move(row));
    return rows;
}

} // namespace

const std::vector<SDialogRow>& EveryDialogRows()
{
    static const std::vector<SDialogRow> rows = Rows();
    return rows;
}

SDialogRow AtAddress00(SDialogRow row)
{
    // "<model> <address> <baud> ..." on the first line of the bus.
    size_t from = row.bus.find(' ') + 1;
    size_t to = row.bus.find(' ', from);
    long address = std::stol(row.bus.substr(from, to - from), nullptr, 0);
    row.bus.replace(from, to - from, "0x00");
    if (!row.rack[kAddress].empty()) row.rack[kAddress] = "00";
    if (!row.block[kAddress].empty() && std::stol(row.block[kAddress], nullptr, 16) == address)
        row.block[kAddress] = "00";
    return row;
}

std::string DialogRowName(const ::testing::TestParamInfo<SDialogRow>& info)
{
    return info.param.name;
}

std::vector<SDialogRow> OtherChannelCountRows()
{
    const struct {
        const char* dialog;
        const char* bus;
        ModuleParamBlock block;
    } models[] = {
        {"CM6309x", "4308 0x13 9600 ascii type=21", {"13", "06", "0", "21", "0", "4308"}},
        {"CM6309x", "6300 0x13 9600 ascii type=20", {"13", "06", "0", "20", "0", "6300"}},
        {"CM6309x", "6307 0x13 9600 ascii type=20", {"13", "06", "0", "20", "0", "6307"}},
        {"CM6384", "6385 1 9600 ascii type=08", {"01", "06", "0", "08", "0", "4385"}},
        {"CM6386", "4388 0x10 9600 ascii type=0F", {"10", "06", "0", "0F", "0", "4388"}},
        {"CM6386", "4386A 0x10 9600 ascii", {"10", "06", "0", "FF", "0", "4386A"}},
    };
    std::vector<SDialogRow> rows;
    for (const auto& model : models) {
        auto row = std::ranges::find(EveryDialogRows(), model.dialog, &SDialogRow::name);
        rows.push_back(*row);
        rows.back().bus = model.bus;
        rows.back().block = model.block;
    }
    return rows;
}

std::string DialogRowModelName(const ::testing::TestParamInfo<SDialogRow>& info)
{
    return info.param.name + "_" + info.param.block[kModule];
}

void CEveryDialogFixture::Prepare(const SDialogRow& row)
{
    m_bus.Load(row.bus);
    if (row.pBlock) m_frame.*row.pBlock = row.block;
    if (row.pTypes) m_frame.*row.pTypes = row.types;
    m_frame.m_strRackParams = row.rack;
    if (row.eLine == ELineOwnership::Borrowed) {
        // The main unit holds its line open at the rack's rate (9600 baud here).
        ASSERT_TRUE(OpenLineAs(row.eLink));
    }
}

std::unique_ptr<CDialog> CEveryDialogFixture::Open(const SDialogRow& row)
{
    Prepare(row);
    std::unique_ptr<CDialog> dlg = CreateModuleDialog(row.name);
    if (dlg) dlg->Create(row.nTemplate);
    return dlg;
}

bool CEveryDialogFixture::OpenLineAs(ELinkKind link)
{
    if (link == ELinkKind::Rtu) return Link().Open_ComRtu(1, 100, 9600, 8, 0, 1) == 1;
    return Link().Open_ComAscii(1, 9600, 8, 0, 0) == 0;
}

void CEveryDialogFixture::CloseLine()
{
    if (m_link.IsRtuOpen()) Link().Close_ComRtu(1);
    if (m_link.IsAsciiOpen()) Link().Close_ComAscii(1);
}
