// When every registered dialog's settings take effect: a Setting pressed before the first tick
// goes to the address the module answers to and is the next configuration on the wire; after a
// failed open a Setting changes no row; a protocol switch leaves the row's address; a refused
// configuration never shows a success text and leaves the row with the module's values; each
// configuration write and protocol switch, heard, refused, or met by silence, noise, another
// address or a spoilt check, goes out once and shows what came back.
#include "EveryDialog.h"

#include "DeafLine.h"
#include "HexText.h"
#include "ModuleDialogs.h"
#include "ModuleFamilies.h"
#include "PerChannelIds.h"
#include "SpoiltLine.h"
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
#include <optional>
#include <set>

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

// ---- what each answer to a configuration write shows ----

// What comes back to a configuration write, and whether the module carries it out.
enum class EConfigAnswer {
    Heard,        // the module takes it and acknowledges or echoes it
    Refused,      // "?AA" or an exception: the module keeps its settings
    Silence,      // the module never hears it, and nothing comes back
    Noise,        // the module never hears it, and line noise comes back
    OtherAddress, // the module takes it, but the reply comes from the next address up
    SpoiltCheck,  // its reply has a wrong checksum digit or a bad CRC
};

struct SConfigAnswer {
    const char* pszName;
    EConfigAnswer eAnswer;
};

const SConfigAnswer kConfigAnswers[] = {
    {"heard", EConfigAnswer::Heard},
    {"refused", EConfigAnswer::Refused},
    {"silence", EConfigAnswer::Silence},
    {"noise", EConfigAnswer::Noise},
    {"other address", EConfigAnswer::OtherAddress},
    {"wrong checksum or bad CRC", EConfigAnswer::SpoiltCheck},
};

// The module keeps its settings: it never heard the write, or refused it.
bool ModuleKeeps(EConfigAnswer answer)
{
    return answer == EConfigAnswer::Refused || answer == EConfigAnswer::Silence ||
           answer == EConfigAnswer::Noise;
}

// The configuration on the wire as the fault lines choose it: an ASCII request's lead and old and
// new address, a Modbus RTU request as hex bytes.
std::string WireStart(const std::string& request)
{
    if (request[0] == '%' || request[0] == '$') return request.substr(0, 5);
    return Trim(BytesToHexText(HexTextToBytes(request)));
}

// The new address a configuration on the wire carries.
BYTE NewAddressOf(const std::string& request)
{
    std::string digits = request[0] == '%' ? request.substr(3, 2) : request.substr(10, 2);
    return static_cast<BYTE>(StrToLong(digits, 16));
}

// The line as the answer has it for the first request that begins with start, while it lives.
class CConfigLine {
public:
    CConfigLine(EConfigAnswer answer, CSimBus& bus, const std::string& start, ELinkKind link)
    {
        using R = CDeafLine::EReply;
        switch (answer) {
        case EConfigAnswer::Heard:
            break;
        case EConfigAnswer::Refused:
            for (size_t i = 0; i < bus.Count(); ++i) bus.Module(i).Faults().bRefuseSettings = true;
            break;
        case EConfigAnswer::Silence:
        case EConfigAnswer::Noise:
            m_deaf.emplace(bus.Module(0), answer == EConfigAnswer::Silence ? R::Silent : R::Noise,
                           start);
            break;
        case EConfigAnswer::OtherAddress:
            m_spoilt.emplace(ESpoil::OtherAddress, start);
            break;
        case EConfigAnswer::SpoiltCheck:
            m_spoilt.emplace(link == ELinkKind::Ascii ? ESpoil::WrongDigits : ESpoil::BadCrc,
                             start);
            break;
        }
    }

private:
    std::optional<CDeafLine> m_deaf;
    std::optional<CSpoiltLine> m_spoilt;
};

// The row with its module's checksum on, and the block saying so, where a checksum digit can be
// wrong: ASCII.
SDialogRow WithChecksumWhereAscii(SDialogRow row)
{
    if (row.eLink != ELinkKind::Ascii) return row;
    row.bus.insert(std::min(row.bus.find('\n'), row.bus.size()), " checksum=on");
    row.block[kCheck] = "4";
    return row;
}

// The text a configuration that did not take shows.
constexpr const char* kInitText = "Setting Configuration Error! \r\n Please Connect Init* to GND!";

bool AnySuccessText(CDialog& dlg, const std::vector<std::string>& boxes)
{
    std::vector<std::string> texts = boxes;
    if (dlg.IsRunning()) std::ranges::copy(FieldTexts(dlg), std::back_inserter(texts));
    return std::ranges::any_of(texts, IsSuccessText);
}

// How a dialog's configuration write takes silence, where it does not take it for a write the
// module never heard.
enum class ESilence {
    Unheard,    // not heard: the dialog's error text
    Takes,      // a write that moves the module (new address or protocol): its answer
    AwaitsPoll, // the verdict waits for the first answered poll at the new address
};

// The address writes whose silence is not "not heard", as their dialogs have it.
const std::map<std::string, ESilence> kAddressSilence = {
    {"CM6300Modbus", ESilence::Takes},      {"CM6307pModbus", ESilence::Takes},
    {"CM6382TModbus", ESilence::Takes},     {"CM6384Modbus", ESilence::Takes},
    {"CM6386Modbus", ESilence::AwaitsPoll},
};

// What a dialog must show for an answer: a success text, the Init* text, or neither (a write
// whose dialog shows no verdict, or none yet).
void ExpectVerdict(CDialog& dlg, const std::vector<std::string>& boxes, bool bVerdictShown,
                   EConfigAnswer answer, ESilence silence)
{
    bool silent = answer == EConfigAnswer::Silence;
    bool success = answer == EConfigAnswer::Heard || (silent && silence == ESilence::Takes);
    bool shown = bVerdictShown && !(silent && silence == ESilence::AwaitsPoll);
    EXPECT_EQ(AnySuccessText(dlg, boxes), success && shown);
    if (!success && shown) {
        EXPECT_NE(std::ranges::find(boxes, kInitText), boxes.end()) << "reported";
    }
}

// The address writes whose dialog shows no verdict at all: it closes on the tick after the write.
const std::set<std::string> kAddressVerdictNotShown = {"CM6380"};

class EveryConfigurationAnswer : public CEverySettingTest {};

// The address typed and Setting pressed, the configuration answered each way: it goes out once and
// is never sent again by itself. Heard, the dialog says so, the module answers at its new address
// and the row names it; refused or not heard, no success text is shown, the Init* text is, and a
// refused write or one the module never heard leaves the module as it was (a refused one the row
// too).
TEST_P(EveryConfigurationAnswer, ShowsWhatCameBack)
{
    const std::string& expected = kFirstConfiguration.at(GetParam().name);
    auto silence = kAddressSilence.find(GetParam().name);
    for (const SConfigAnswer& answer : kConfigAnswers) {
        SCOPED_TRACE(answer.pszName);
        SDialogRow row = answer.eAnswer == EConfigAnswer::SpoiltCheck
                             ? WithChecksumWhereAscii(GetParam())
                             : GetParam();
        m_bus = CSimBus{};
        m_boxes.m_boxes.clear();
        m_frame.m_strNewParams = {};
        m_frame.m_strNewRowText = {};
        std::unique_ptr<CDialog> dlg = Open(row);
        ASSERT_NE(dlg, nullptr);
        Tick(*dlg, kStartupTicks);
        CSimModule& module = m_bus.Module(0);
        BYTE before = module.Address();
        ui::Type(*dlg, row.nAddressBox, "50");
        std::string start = WireStart(expected);
        int sent = 0;
        {
            CConfigLine line(answer.eAnswer, m_bus, start, row.eLink);
            m_link.ClearTraffic();
            ui::Click(*dlg, row.nSettingButton);
            Tick(*dlg, 12);
            sent = static_cast<int>(std::ranges::count_if(
                m_link.Requests(), [&](const std::string& r) { return r.starts_with(start); }));
        }
        EXPECT_EQ(sent, 1) << "once, and never again by itself";
        ExpectVerdict(*dlg, m_boxes.Texts(), !kAddressVerdictNotShown.contains(row.name),
                      answer.eAnswer,
                      silence == kAddressSilence.end() ? ESilence::Unheard : silence->second);
        BYTE asked = NewAddressOf(expected);
        if (ModuleKeeps(answer.eAnswer)) {
            EXPECT_EQ(module.Address(), before);
        } else if (answer.eAnswer != EConfigAnswer::SpoiltCheck) {
            // A module whose checksum is on may refuse what it took without.
            EXPECT_EQ(module.Address(), asked);
        }
        if (answer.eAnswer == EConfigAnswer::Heard) {
            EXPECT_EQ(m_frame.m_strNewParams[0], Format("%02X", asked));
        }
        if (answer.eAnswer == EConfigAnswer::Refused) {
            EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
            EXPECT_EQ(m_frame.m_strNewRowText, RowTexts{});
        }
        if (dlg->IsRunning()) dlg->OnCancel();
        CloseLine();
    }
}

// The protocol switches whose silence is not "not heard": a module that has switched answers no
// more in the protocol the switch went out in.
const std::map<std::string, ESilence> kSwitchSilence = {
    {"CM6530rtu", ESilence::Takes},     {"CM63508", ESilence::Takes},
    {"CM6363", ESilence::Takes},        {"CM6309x", ESilence::Takes},
    {"CM6307pModbus", ESilence::Takes}, {"CM6300Modbus", ESilence::Takes},
    {"CM6384", ESilence::Takes},        {"CM6384Modbus", ESilence::Takes},
    {"C6385pModbus", ESilence::Takes},  {"CM6386", ESilence::Takes},
    {"CM6386Modbus", ESilence::Takes},  {"CM6359", ESilence::Takes},
    {"CM6373Modbus", ESilence::Takes},
};

// The dialogs that send their switch once more, framed without checksum digits, once the first
// got any reply; the second is the one a module that missed the first may take.
const std::set<std::string> kSwitchAgainOnceAnswered = {"CM6386"};

// The switches whose dialog shows no verdict: it closes without a word once the switch is answered
// or not.
const std::set<std::string> kSwitchVerdictNotShown = {"CM6373"};

// The other protocol chosen and Setting pressed, the switch answered each way: it goes out once
// (twice where the dialog repeats it once answered). Heard, the dialog says so; refused, met by
// noise or a spoilt echo, no success text is shown and the Init* text is; silence shows what the
// dialog takes it for. A module that never took the switch still speaks its protocol.
TEST_P(EveryProtocolSwitch, ShowsWhatCameBack)
{
    const std::string& name = GetParam().name;
    const SProtocolSwitch& chosen = kProtocolSwitch.at(name);
    auto silence = kSwitchSilence.find(name);
    for (const SConfigAnswer& answer : kConfigAnswers) {
        // An ASCII switch the module takes without a word has no reply to spoil.
        if (GetParam().eLink == ELinkKind::Ascii &&
            (answer.eAnswer == EConfigAnswer::OtherAddress ||
             answer.eAnswer == EConfigAnswer::SpoiltCheck))
            continue;
        SCOPED_TRACE(answer.pszName);
        m_bus = CSimBus{};
        m_boxes.m_boxes.clear();
        std::unique_ptr<CDialog> dlg = OpenForSwitch(GetParam(), chosen);
        ASSERT_NE(dlg, nullptr);
        CSimModule& module = m_bus.Module(0);
        // A "%00" switch reaches a module in its INIT state.
        if (AddressOf(chosen.strRequest) == "00") module.SetInit(true);
        ESimProtocol before = module.Protocol();
        std::string start = WireStart(chosen.strRequest);
        int sent = 0;
        {
            CConfigLine line(answer.eAnswer, m_bus, start, GetParam().eLink);
            PressProtocolSwitch(*dlg, GetParam(), chosen);
            m_link.ClearTraffic();
            Tick(*dlg, 12);
            sent = static_cast<int>(std::ranges::count_if(
                m_link.Requests(), [&](const std::string& r) { return r.starts_with(start); }));
        }
        // The second send of a dialog that repeats its switch reaches the module.
        bool again =
            kSwitchAgainOnceAnswered.contains(name) &&
            (answer.eAnswer == EConfigAnswer::Refused || answer.eAnswer == EConfigAnswer::Noise);
        EXPECT_EQ(sent, again ? 2 : 1) << "never again by itself";
        EConfigAnswer last =
            again && answer.eAnswer == EConfigAnswer::Noise ? EConfigAnswer::Heard : answer.eAnswer;
        ExpectVerdict(*dlg, m_boxes.Texts(), !kSwitchVerdictNotShown.contains(name), last,
                      silence == kSwitchSilence.end() ? ESilence::Unheard : silence->second);
        if (ModuleKeeps(last)) {
            EXPECT_EQ(module.Protocol(), before);
        }
        if (dlg->IsRunning()) dlg->OnCancel();
        CloseLine();
    }
}

INSTANTIATE_TEST_SUITE_P(, EveryConfigurationAnswer,
                         ::testing::ValuesIn(RowsWhere(kFirstConfiguration,
                                                       [](const std::string& expected) {
                                                           return !expected.empty();
                                                       })),
                         DialogRowName);

} // namespace
