#include "EveryDialog.h"

#include "rack/RackIds.h"
#include "rack/RackModbusIds.h"

namespace {

using F = CMainFrame;
constexpr ELineOwnership kBorrowed = ELineOwnership::Borrowed;

// The rack main unit at 50 with its slots, as the ASCII rack rows find it.
const RackParamBlock kAsciiRack = {"50", "06", "0", "", "0", "1333E", "ASC"};
std::string AsciiRackBus(const char* slotCodes)
{
    return std::string("2333E 0x50 9600 ascii slots=") + slotCodes;
}

} // namespace

std::vector<SDialogRow> RackDialogRows()
{
    return {
        // The racks: the main units own their line, the slot dialogs borrow the ASCII unit's.
        {.name = "CV1333E",
         .nTemplate = IDD_RACK_MAIN,
         .bus = AsciiRackBus("27,59,23,71,28,25,13,FF"),
         .rack = kAsciiRack,
         .nAddressBox = rack_main::IDC_ADDRESS,
         .nSettingButton = rack_main::IDC_UPDATE,
         .nCancelButton = rack_main::IDC_CANCEL,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "CV1333M",
         .nTemplate = IDD_V1333M,
         .bus = "233E 1 9600 rtu",
         .rack = {"01", "06", "0", "", "", "1333E", "RTU"},
         .nCancelButton = IDCANCEL,
         .eLink = ELinkKind::Rtu,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "CV1327",
         .nTemplate = IDD_RACK_DIO,
         .bus = AsciiRackBus("27,59,23,71,28,25,13,FF"),
         .pBlock = &F::m_strSlotDioParams,
         .block = {"50", "", "0", "", "", "1327"},
         .rack = kAsciiRack,
         .nSettingButton = rack_dio::IDC_UPDATA,
         .nCancelButton = IDCANCEL,
         .eLine = kBorrowed,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "CV1359",
         .nTemplate = IDD_RACK_AO,
         .bus = AsciiRackBus("27,59,FF,FF,FF,FF,FF,FF"),
         .pBlock = &F::m_strSlotAoParams,
         .block = {"50", "", "1", "", "", "1359"},
         .rack = kAsciiRack,
         .nSettingButton = rack_ao::IDC_UPDATE,
         .nCancelButton = IDCANCEL,
         .eLine = kBorrowed,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "CV1300",
         .nTemplate = IDD_RACK_AI,
         .bus = AsciiRackBus("80,84,86,4H,FF,FF,FF,FF"),
         .pBlock = &F::m_strSlotAiParams,
         .block = {"", "1384", "1", "", "", ""},
         .rack = kAsciiRack,
         .nSettingButton = rack_ai::IDC_UPDATE_SETTING,
         .nCancelButton = rack_analog::IDC_CANCEL,
         .eLine = kBorrowed,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
        {.name = "CV1384H",
         .nTemplate = IDD_RACK_SPEED,
         .bus = AsciiRackBus("80,84,86,4H,FF,FF,FF,FF"),
         .pBlock = &F::m_strSlotAiParams,
         .block = {"", "1384H", "3", "", "", ""},
         .rack = kAsciiRack,
         .nSettingButton = rack_speed::IDC_UPDATE_SETTING,
         .nCancelButton = rack_analog::IDC_CANCEL,
         .eLine = kBorrowed,
         .eEnter = EEnter::Closes,
         .bSetsDialogClosed = false},
    };
}
