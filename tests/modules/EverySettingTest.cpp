// When every registered dialog's settings take effect: a Setting pressed before the first tick
// goes to the address the module answers to and is the next configuration on the wire; after a
// failed open a Setting changes no row; a protocol switch leaves the row's address; a refused
// configuration never shows a success text and leaves the row with the module's values.
#include "EveryDialog.h"

#include "ModuleDialogs.h"
#include "Strings.h"
#include "UiDriver.h"

#include <map>

namespace {

using Requests = std::vector<std::string>;

// A configuration on the wire: ASCII "%AA..." or the switch "$AAR1"; Modbus RTU a write of
// register 0x0812 (the address) or 0x080D (the protocol).
bool IsConfiguration(const std::string& request)
{
    if (request.empty()) return false;
    if (request[0] == '%') return true;
    if (request[0] == '$') return request.substr(3, 2) == "R1";
    std::string hex = Remove(request, ' ');
    return hex.substr(2, 6) == "060812" || hex.substr(2, 6) == "06080D";
}

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

// Every flag a dialog raises for the result list.
std::vector<int> Flags(const CMainFrame& f)
{
    return {f.m_bAnalogInputChanged,
            f.m_bThermocoupleInputChanged,
            f.m_bRtdInputChanged,
            f.m_bSixChannelTempChanged,
            f.m_bThreeChannelRtdChanged,
            f.m_bAnalogOutputChanged,
            f.m_bDioChanged,
            f.m_bCounterChanged,
            f.m_bPowerMeterChanged,
            f.m_bBridgeInputChanged,
            f.m_bUniversalInputChanged};
}

class CEverySettingTest : public CEveryDialogFixture,
                          public ::testing::WithParamInterface<SDialogRow> {};

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

TEST_P(CEverySettingTest, ASettingBeforeTheFirstTickGoesToTheCurrentAddress)
{
    const SDialogRow& row = GetParam();
    std::unique_ptr<CDialog> dlg = Open(row);
    ASSERT_NE(dlg, nullptr);
    const std::string& expected = kFirstConfiguration.at(row.name);
    if (expected.empty()) GTEST_SKIP() << "no Setting that configures an address";
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

// On a line that never opened nothing goes out, so a Setting leaves the row as it is.
TEST_P(CEverySettingTest, AfterAFailedOpenASettingChangesNoRow)
{
    const SDialogRow& row = GetParam();
    if (!row.nSettingButton || row.eLine == ELineOwnership::Borrowed)
        GTEST_SKIP() << "no Setting on a line of its own";
    m_link.Detach(1);
    std::unique_ptr<CDialog> dlg = Open(row);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(m_boxes.Texts().front(), "Open Com Error!");
    if (row.nAddressBox) ui::Type(*dlg, row.nAddressBox, "50");
    ui::Click(*dlg, row.nSettingButton);
    Tick(*dlg, 4);
    EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
    EXPECT_EQ(m_frame.m_strNewRowText, RowTexts{});
    EXPECT_EQ(Flags(m_frame), std::vector<int>(11, 0));
}

INSTANTIATE_TEST_SUITE_P(, CEverySettingTest, ::testing::ValuesIn(EveryDialogRows()),
                         DialogRowName);

} // namespace
