// When every registered dialog's settings take effect: a Setting pressed before the first tick
// goes to the address the module answers to and is the next configuration on the wire; after a
// failed open a Setting changes no row; a protocol switch leaves the row's address; a refused
// configuration never shows a success text and leaves the row with the module's values.
#include "EveryDialog.h"

#include "ModuleDialogs.h"
#include "ModuleFamilies.h"
#include "PerChannelIds.h"
#include "Strings.h"
#include "UiDriver.h"
#include "WireRequests.h"
#include "analog_input/AnalogInputIds.h"
#include "analog_output/AnalogOutputIds.h"
#include "analog_output/OutputDiIds.h"
#include "counter_power/CounterPowerIds.h"
#include "digital_io/DigitalIoIds.h"
#include "rack/RackIds.h"
#include "rtd/RtdIds.h"
#include "thermocouple/ThermocoupleIds.h"

#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <map>

namespace {

using Requests = std::vector<std::string>;

// The configuration request a row's dialog sends first, the checksum digits and CRC left off.
std::string FirstConfiguration(const Requests& requests)
{
    for (const std::string& r : requests) {
        if (!IsConfiguration(r)) continue;
        if (r[0] == '%' || r[0] == '$') return r;
        std::string hex = Remove(r, ' ');
        return hex.substr(0, hex.size() - 4);
    }
    return "";
}

// The address a request goes to: ASCII after its lead character, Modbus RTU its first byte.
std::string AddressOf(const std::string& request)
{
    return request.substr(
        request[0] == '%' || request[0] == '$' || request[0] == '#' || request[0] == '@' ? 1 : 0,
        2);
}

// Every family's settings-changed flag, in the order of the dispatch's family table.
std::vector<int> Flags(const CMainFrame& f)
{
    std::vector<int> flags;
    for (const SModuleFamily& family : ModuleFamilies()) {
        if (family.pChanged) flags.push_back(f.*family.pChanged);
    }
    return flags;
}

// No flag raised.
std::vector<int> NoFlags()
{
    auto flagged = std::ranges::count_if(
        ModuleFamilies(), [](const SModuleFamily& family) { return family.pChanged != nullptr; });
    return std::vector<int>(static_cast<size_t>(flagged), 0);
}

struct SProtocolSwitch;

class CEverySettingTest : public CEveryDialogFixture,
                          public ::testing::WithParamInterface<SDialogRow> {
protected:
    // Opens the row's dialog for its protocol switch: a switch offered only in the INIT state
    // finds the module there and the row at address 00.
    std::unique_ptr<CDialog> OpenForSwitch(const SDialogRow& row, const SProtocolSwitch& chosen);
};

// "50" typed and Setting pressed before the first tick: the first configuration on the wire
// (checksum digits and CRC left off) goes to the address the module answers to, and nothing
// before it goes to the typed one. Empty: the dialog's Setting configures no address.
const std::map<std::string, std::string> kFirstConfiguration = {
    {"CM6530rtu", "010608120032"},
    {"CM63508", "%0132010600"},
    {"CM6363", "%0A32500600"},
    {"CM6380", "%17502C0600"},
    {"CM6309x", "%1332200600"},
    {"CM6307p", "%0132200600"},
    {"CM6382p", "%0132FF0600"},
    {"CM63828p", "%0132FF0600"},
    {"CM6307pModbus", "0C0608120032"},
    {"CM6300Modbus", "1A0608120032"},
    {"CM6382pModbus", ""},
    {"CM6382TModbus", "010608120032"},
    {"CM6384", "%0132080600"},
    {"CM6384Modbus", "010608120032"},
    {"CM6387", "%0632010600"},
    {"CM6384P", "%0132FF0600"},
    {"CM6384pModbus", ""},
    {"C6385pModbus", ""},
    {"CM6386", "%10320F0600"},
    {"CM6386Modbus", "0A0608120032"},
    {"CM6386P", "%0132FF0600"},
    {"CM6386PModbus", ""},
    {"CM6381p", "%0132000600"},
    {"CM6359", "%0132300600"},
    {"CM6359Modbus", "010608120032"},
    {"CM6359p", "%0732000600"},
    {"CM6359pModbus", ""},
    {"CM6373", "%0132400600"},
    {"CM6373Modbus", "010608120032"},
    {"CV1333E", ""},
    {"CV1333M", ""},
    {"CV1327", ""},
    {"CV1359", ""},
    {"CV1300", ""},
    {"CV1384H", ""},
};

TEST(EverySettingTable, HasOneExpectationPerDialog)
{
    ExpectOneEntryPerRow(kFirstConfiguration);
}

class EveryAddressSetting : public CEverySettingTest {};

TEST_P(EveryAddressSetting, ASettingBeforeTheFirstTickGoesToTheCurrentAddress)
{
    const SDialogRow& row = GetParam();
    std::unique_ptr<CDialog> dlg = Open(row);
    ASSERT_NE(dlg, nullptr);
    const std::string& expected = kFirstConfiguration.at(row.name);
    std::string current = expected[0] == '%' ? expected.substr(1, 2) : expected.substr(0, 2);
    ui::Type(*dlg, row.nAddressBox, "50");
    ui::Click(*dlg, row.nSettingButton);
    TakeRequests();
    Tick(*dlg, 12);
    Requests sent = TakeRequests();
    EXPECT_EQ(FirstConfiguration(sent), expected);
    for (const std::string& r : sent) {
        if (IsConfiguration(r)) break;
        EXPECT_EQ(AddressOf(Remove(r, ' ')), current) << r;
    }
}

INSTANTIATE_TEST_SUITE_P(, EveryAddressSetting,
                         ::testing::ValuesIn(RowsWhere(kFirstConfiguration,
                                                       [](const std::string& expected) {
                                                           return !expected.empty();
                                                       })),
                         DialogRowName);

// The rows with a Setting on a line of their own.
std::vector<SDialogRow> OwnLineSettingRows()
{
    std::vector<SDialogRow> rows;
    for (const SDialogRow& row : EveryDialogRows()) {
        if (row.nSettingButton && row.eLine == ELineOwnership::Own) rows.push_back(row);
    }
    return rows;
}

class EverySettingAfterAFailedOpen : public CEverySettingTest {};

// On a line that never opened nothing goes out, so a Setting leaves the row as it is.
TEST_P(EverySettingAfterAFailedOpen, ChangesNoRow)
{
    const SDialogRow& row = GetParam();
    m_link.Detach(1);
    std::unique_ptr<CDialog> dlg = Open(row);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(m_boxes.Texts().front(), "Open Com Error!");
    if (row.nAddressBox) ui::Type(*dlg, row.nAddressBox, "50");
    ui::Click(*dlg, row.nSettingButton);
    Tick(*dlg, 4);
    EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
    EXPECT_EQ(m_frame.m_strNewRowText, RowTexts{});
    EXPECT_EQ(Flags(m_frame), NoFlags());
}

// How a dialog switches the module to the other protocol: the box and the row chosen in it (-1:
// the box is a check box, clicked), and the switch on the wire (checksum digits and CRC left
// off). Empty request: the dialog has no protocol switch.
struct SProtocolSwitch {
    int nBox = 0;
    int nRow = -1;
    std::string strRequest;
    // The box is offered only for a module at address 00, in its INIT state.
    bool bAtInit = false;
};

const std::map<std::string, SProtocolSwitch> kProtocolSwitch = {
    {"CM6530rtu", {IDC_PM_PROTOCOL_SWITCH, -1, "0106080D0001"}},
    {"CM63508", {IDC_PM_PROTOCOL_SWITCH, -1, "%014D020600"}},
    {"CM6363", {IDC_CNT_PROTOCOL, 1, "$0AR1"}},
    {"CM6380", {}},
    {"CM6309x", {IDC_RTD_PROTOCOL, 1, "$13R1"}},
    {"CM6307p", {IDC_PC_PROTOCOL, 1, "%004DFF0604"}},
    {"CM6382p", {IDC_PC_PROTOCOL, 1, "%004D000604", true}},
    {"CM63828p", {IDC_PC_PROTOCOL, 1, "%004D000604", true}},
    {"CM6307pModbus", {IDC_PC_PROTOCOL, 0, "0C06080D0001"}},
    {"CM6300Modbus", {IDC_PC_PROTOCOL, 0, "1A06080D0001"}},
    {"CM6382pModbus", {}},
    {"CM6382TModbus", {}},
    {"CM6384", {IDC_AI_PROTOCOL, 1, "$01R1"}},
    {"CM6384Modbus", {IDC_AI_PROTOCOL, 0, "0106080D0001"}},
    {"CM6387", {}},
    {"CM6384P", {IDC_PC_PROTOCOL, 1, "%004DFF0604", true}},
    {"CM6384pModbus", {}},
    {"C6385pModbus", {IDC_6385_ASCII, -1, "0106080D0001"}},
    {"CM6386", {IDC_TC_PROTOCOL, 1, "$10R1"}},
    {"CM6386Modbus", {IDC_TC_PROTOCOL, 0, "0A06080D0000"}},
    {"CM6386P", {IDC_PC_PROTOCOL, 1, "%004DFF0604", true}},
    {"CM6386PModbus", {}},
    {"CM6381p", {IDC_PC_PROTOCOL, 1, "%004DFF0680", true}},
    {"CM6359", {IDC_AO_PROTOCOL, 1, "$01R1"}},
    {"CM6359Modbus", {IDC_AO_PROTOCOL, 0, "0106080D0000"}},
    {"CM6359p", {IDC_ODI_PROTOCOL, 1, "%004D000680", true}},
    {"CM6359pModbus", {}},
    {"CM6373", {IDC_DIO_PROTOCOL, 1, "$01R1"}},
    {"CM6373Modbus", {IDC_DIO_PROTOCOL, 1, "0106080D0001"}},
    {"CV1333E", {rack_main::IDC_PROTOCOL, 1, "%00000604", true}},
    {"CV1333M", {}},
    {"CV1327", {}},
    {"CV1359", {}},
    {"CV1300", {}},
    {"CV1384H", {}},
};

TEST(EverySettingTable, HasOneProtocolSwitchPerDialog)
{
    ExpectOneEntryPerRow(kProtocolSwitch);
}

// The address the row names, and "77" typed (0x4D): none of its forms may reach the row.
bool NamesTypedAddress(const std::string& entry)
{
    return entry.find("4D") != std::string::npos || entry.find("4d") != std::string::npos ||
           entry.starts_with("77");
}

std::unique_ptr<CDialog> CEverySettingTest::OpenForSwitch(const SDialogRow& row,
                                                          const SProtocolSwitch& chosen)
{
    SDialogRow opened = chosen.bAtInit ? AtAddress00(row) : row;
    Prepare(opened);
    if (chosen.bAtInit) m_bus.Module(0).SetInit(true);
    std::unique_ptr<CDialog> dlg = CreateModuleDialog(row.name);
    if (dlg) dlg->Create(row.nTemplate);
    // The module in its INIT state is the one the operator has just found: its dialog has read it.
    if (dlg && chosen.bAtInit) Tick(*dlg, kStartupTicks);
    return dlg;
}

// Chooses the other protocol as the row's switch does, with "77" typed, and presses Setting.
void PressProtocolSwitch(CDialog& dlg, const SDialogRow& row, const SProtocolSwitch& chosen)
{
    // A box fixed on the address the module answers at takes nothing typed.
    if (dlg.GetDlgItem(row.nAddressBox)->IsWindowEnabled()) ui::Type(dlg, row.nAddressBox, "77");
    if (chosen.nRow < 0) {
        EXPECT_TRUE(ui::Click(dlg, chosen.nBox));
    } else {
        EXPECT_TRUE(ui::ChooseRow(dlg, chosen.nBox, chosen.nRow));
    }
    ui::Click(dlg, row.nSettingButton);
}

INSTANTIATE_TEST_SUITE_P(, EverySettingAfterAFailedOpen, ::testing::ValuesIn(OwnLineSettingRows()),
                         DialogRowName);

class EveryProtocolSwitch : public CEverySettingTest {};

// "77" typed, the other protocol chosen, Setting pressed: the switch goes to the address the
// module answers to ("%00" forms: the address of a module in its INIT state), and the row's
// address entries keep that address; only a "%" form, which carries the new address to the
// module, may name it.
TEST_P(EveryProtocolSwitch, LeavesTheRowsAddress)
{
    const SDialogRow& row = GetParam();
    const SProtocolSwitch& expected = kProtocolSwitch.at(row.name);
    std::unique_ptr<CDialog> dlg = OpenForSwitch(row, expected);
    ASSERT_NE(dlg, nullptr);
    PressProtocolSwitch(*dlg, row, expected);
    TakeRequests();
    Tick(*dlg, 12);
    EXPECT_EQ(FirstConfiguration(TakeRequests()), expected.strRequest);
    if (expected.strRequest[0] == '%') return;
    const std::string& rowAddress = m_frame.m_strNewRowText[1];
    EXPECT_FALSE(NamesTypedAddress(rowAddress)) << rowAddress;
    for (const std::string& entry : m_frame.m_strNewParams)
        EXPECT_FALSE(NamesTypedAddress(entry)) << entry;
}

// A setting the module can refuse: the button that writes it (0: the row's setting button), and
// whether the button works only while the module answers at 00.
struct SRefusable {
    int nButton = 0;
    bool bAtAddress00 = false;
};

// Every setting a dialog writes that its module can refuse (none: nothing refusable).
const std::map<std::string, std::vector<SRefusable>> kRefusable = {
    {"CM6530rtu", {{}}},
    {"CM63508", {{}}},
    {"CM6363", {{}}},
    {"CM6380", {{}}},
    {"CM6309x", {{}}},
    {"CM6307p", {{}}},
    {"CM6382p", {{}}},
    {"CM63828p", {{}}},
    {"CM6307pModbus", {{}}},
    {"CM6300Modbus", {{}}},
    {"CM6382pModbus", {}},
    {"CM6382TModbus", {{}}},
    {"CM6384", {{}}},
    {"CM6384Modbus", {{}}},
    {"CM6387", {{}}},
    {"CM6384P", {{}}},
    {"CM6384pModbus", {}},
    {"C6385pModbus", {}},
    {"CM6386", {{}}},
    {"CM6386Modbus", {{}}},
    {"CM6386P", {{}}},
    {"CM6386PModbus", {}},
    {"CM6381p", {{}}},
    {"CM6359", {{}}},
    {"CM6359Modbus", {{}}},
    {"CM6359p", {{}}},
    {"CM6359pModbus", {}},
    {"CM6373", {{}}},
    {"CM6373Modbus", {{}}},
    // The configuration, at 00, and the watchdog.
    {"CV1333E", {{0, true}, {rack_main::IDC_REFRESH}}},
    {"CV1333M", {}},
    {"CV1327", {{}}},
    {"CV1359", {{}}},
    {"CV1300", {{0, true}}},
    {"CV1384H", {{0, true}}},
};

TEST(EverySettingTable, HasOneRefusalPerDialog)
{
    ExpectOneEntryPerRow(kRefusable);
}

// A success text in a box or a field.
bool IsSuccessText(const std::string& text)
{
    for (const char* success : {"OK!", "Successful", "Succeeded"}) {
        if (text.find(success) != std::string::npos) return true;
    }
    return false;
}

std::vector<std::string> FieldTexts(CDialog& dlg)
{
    std::vector<std::string> texts;
    for (auto* label : dlg.GetWidget()->findChildren<QLabel*>())
        texts.push_back(label->text().toStdString());
    for (auto* edit : dlg.GetWidget()->findChildren<QLineEdit*>())
        texts.push_back(edit->text().toStdString());
    return texts;
}

class EveryRefusedSetting : public CEverySettingTest {
protected:
    // Whether the module refused a request since the traffic was last cleared.
    bool ModuleRefused() const
    {
        return std::ranges::any_of(m_link.Traffic(), [](const SSimExchange& exchange) {
            return exchange.strReply.starts_with("?") ||
                   (exchange.eProtocol == ESimProtocol::Rtu && exchange.strReply.size() > 1 &&
                    (static_cast<BYTE>(exchange.strReply[1]) & 0x80));
        });
    }
};

// The module refuses each setting the dialog writes ("?AA", an exception): no box or field claims
// success, and the row keeps what it said before.
TEST_P(EveryRefusedSetting, NeverShowsASuccessText)
{
    for (const SRefusable& refusable : kRefusable.at(GetParam().name)) {
        SDialogRow row = refusable.bAtAddress00 ? AtAddress00(GetParam()) : GetParam();
        int button = refusable.nButton ? refusable.nButton : row.nSettingButton;
        SCOPED_TRACE(button);
        m_bus = CSimBus{};
        m_boxes.m_boxes.clear();
        std::unique_ptr<CDialog> dlg = Open(row);
        ASSERT_NE(dlg, nullptr);
        Tick(*dlg, kStartupTicks);
        for (size_t i = 0; i < m_bus.Count(); ++i) m_bus.Module(i).Faults().bRefuseSettings = true;
        CWnd* address = row.nAddressBox ? dlg->GetDlgItem(row.nAddressBox) : nullptr;
        if (address && address->IsWindowEnabled()) ui::Type(*dlg, row.nAddressBox, "50");
        m_link.ClearTraffic();
        ui::Click(*dlg, button);
        Tick(*dlg, 12);
        EXPECT_TRUE(ModuleRefused()) << "no setting went out";
        for (const std::string& text : m_boxes.Texts()) EXPECT_FALSE(IsSuccessText(text)) << text;
        if (dlg->IsRunning()) {
            for (const std::string& text : FieldTexts(*dlg))
                EXPECT_FALSE(IsSuccessText(text)) << text;
        }
        EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
        EXPECT_EQ(m_frame.m_strNewRowText, RowTexts{});
        EXPECT_EQ(Flags(m_frame), NoFlags());
        if (dlg->IsRunning()) dlg->OnCancel();
        CloseLine();
    }
}

// The module refuses the protocol switch ("?AA", an exception; a "%00" form reaches it in its
// INIT state): no box or field claims success, and the row keeps what it said before.
TEST_P(EveryProtocolSwitch, RefusedNeverShowsASuccessText)
{
    const SDialogRow& row = GetParam();
    const SProtocolSwitch& chosen = kProtocolSwitch.at(row.name);
    std::unique_ptr<CDialog> dlg = OpenForSwitch(row, chosen);
    ASSERT_NE(dlg, nullptr);
    CSimModule& module = m_bus.Module(0);
    module.Faults().bRefuseSettings = true;
    if (AddressOf(chosen.strRequest) == "00") module.SetInit(true);
    PressProtocolSwitch(*dlg, row, chosen);
    TakeRequests();
    Tick(*dlg, 12);
    EXPECT_EQ(FirstConfiguration(TakeRequests()), chosen.strRequest);
    for (const std::string& text : m_boxes.Texts()) EXPECT_FALSE(IsSuccessText(text)) << text;
    for (const std::string& text : FieldTexts(*dlg)) EXPECT_FALSE(IsSuccessText(text)) << text;
    EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
    EXPECT_EQ(m_frame.m_strNewRowText, RowTexts{});
    EXPECT_EQ(Flags(m_frame), NoFlags());
}

INSTANTIATE_TEST_SUITE_P(, EveryRefusedSetting,
                         ::testing::ValuesIn(RowsWhere(kRefusable,
                                                       [](const std::vector<SRefusable>& settings) {
                                                           return !settings.empty();
                                                       })),
                         DialogRowName);

INSTANTIATE_TEST_SUITE_P(, EveryProtocolSwitch,
                         ::testing::ValuesIn(RowsWhere(kProtocolSwitch,
                                                       [](const SProtocolSwitch& chosen) {
                                                           return !chosen.strRequest.empty();
                                                       })),
                         DialogRowName);

} // namespace
