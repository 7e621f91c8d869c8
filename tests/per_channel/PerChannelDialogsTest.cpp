// What sets each per-channel-type ASCII dialog of the temperature families apart, and the pattern's
// checks run on each: every way of closing, the typed-address check and the settings round trip.
#include "PerChannelAsciiCases.h"

#include "SearchWindow.h"
#include "rtd/M6307p.h"
#include "rtd/M63828p.h"
#include "rtd/M6382p.h"
#include "rtd/RtdIds.h"
#include "thermocouple/M6381p.h"
#include "thermocouple/M6386P.h"
#include "thermocouple/ThermocoupleIds.h"

using namespace per_channel_test;

namespace {

const SDialogCase& Case(const char* cls)
{
    for (const SDialogCase& c : kCases) {
        if (std::string(cls) == c.cls) return c;
    }
    throw std::invalid_argument(cls);
}

} // namespace

// Typed addresses go through the pattern's check, and a setting made without touching the lists
// writes the block's codes back.
class PerChannelPattern : public PerChannelAscii {
protected:
    template <class Dialog> void Check(const char* cls)
    {
        const SDialogCase& c = Case(cls);
        SCOPED_TRACE(cls);
        m_bus.Add(c.sim, 0x12, 19200);
        m_frame.*c.pBlock = {"12", "07", "0", "FF", "2", c.listed};
        if (c.pTypes) m_frame.*c.pTypes = c.types;
        ExpectSettingsRoundTrip<Dialog>(
            c.idd, IDC_PC_UPDATE, {{IDC_PC_BAUD, 4}, {IDC_PC_CHECKSUM, 1}, {IDC_PC_FORMAT, 2}},
            {"12", "07", "0", std::nullopt, "2"}, 2);
    }
};

TEST_F(PerChannelPattern, EachDialogChecksAddressesAndKeepsItsSettings)
{
    Check<CM6386P>("CM6386P");
    Check<CM6381p>("CM6381p");
    Check<CM6382p>("CM6382p");
    Check<CM63828p>("CM63828p");
    Check<CM6307p>("CM6307p");
}

// Six channels: two clicks in one tick interval send one mask with the high digit for CH4 and CH5;
// the mask reply marks channels 0, 2 and 5; a lower-case digit marks nothing.
TEST_F(PerChannelAscii, SixChannelMasksKeepCh4AndCh5InTheHighDigit)
{
    const SDialogCase& c = Case("CM6382p");
    auto& module = static_cast<CSimTempPerChannel&>(m_bus.Add(c.sim, 1, 9600));
    module.SetEnableMask(0x25);
    auto dlg = Open(c, Block(c));
    Tick(*dlg);
    EXPECT_EQ(Checked(*dlg, c), "101001");
    ui::Click(*dlg, kPcCheckIds[0]);
    ui::Click(*dlg, kPcCheckIds[4]);
    TakeRequests();
    Tick(*dlg, 2);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$01534", "#01"}));
    EXPECT_EQ(module.EnableMask(), 0x34);
    EXPECT_EQ(Respond(*dlg), "Enable/Disable Channels Successful");

    auto& other = static_cast<CSimTempPerChannel&>(m_bus.Add(c.sim, 2, 9600));
    other.SetEnableMask(0);
    Close(*dlg);
    auto fresh = Open(c, {"02", "06", "0", "FF", "0", c.listed});
    Tick(*fresh);
    static_cast<CPerChannelAsciiDlg&>(*fresh).ParseEnableMask('a', '2');
    EXPECT_EQ(Checked(*fresh, c), "000001");
    Close(*fresh);
}

// CM6382p: a Format of "4" to "7" is a module on Modbus RTU (the protocol list says so and the
// setting switches, even at an address where the list cannot be used); at address 0 the line runs
// at 9600 baud without checksum whatever the block says.
TEST_F(PerChannelAscii, TheRtdDialogReadsTheProtocolFromTheFormatAndTalksToInitAt9600)
{
    const SDialogCase& c = Case("CM6382p");
    m_bus.Add(c.sim, 1, 9600);
    struct Row {
        const char* format;
        int protocol;
        int dataFormat;
    } rows[] = {{"0", 0, 0}, {"5", 1, 1}, {"6", 1, 2}, {"7", 1, -1}, {"x", 0, -1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.format);
        auto dlg = Open(c, Block(c, "0", r.format));
        EXPECT_EQ(dlg->GetDlgItemAs<CComboBox>(IDC_PC_PROTOCOL)->GetCurSel(), r.protocol);
        EXPECT_EQ(dlg->GetDlgItemAs<CComboBox>(IDC_PC_FORMAT)->GetCurSel(), r.dataFormat);
        Close(*dlg);
    }
    auto dlg = Open(c, Block(c, "0", "4"));
    EXPECT_FALSE(dlg->GetDlgItem(IDC_PC_PROTOCOL)->IsWindowEnabled());
    ui::Type(*dlg, IDC_PC_ADDRESS, "3");
    ui::Click(*dlg, IDC_PC_UPDATE);
    TakeRequests();
    Tick(*dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"%0003000604"});
    Close(*dlg);

    CSimModule& init = m_bus.Add(c.sim, 9, 9600);
    init.SetInit(true);
    m_bus.Module(0).Faults().nSilentAfter = 0;
    auto zero = Open(c, {"00", "08", "4", "FF", "0", c.listed}); // 38400 baud, checksum on
    EXPECT_EQ(m_link.Traffic().back().line.dwBaud, 9600u);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$006"});
    EXPECT_EQ(zero->GetDlgItemAs<CComboBox>(IDC_PC_BAUD)->GetCurSel(), 5);
    EXPECT_EQ(zero->GetDlgItemAs<CComboBox>(IDC_PC_CHECKSUM)->GetCurSel(), 0);
    Tick(*zero, 2);
    EXPECT_EQ(Checked(*zero, c), "111111");
    EXPECT_FALSE(zero->GetDlgItemText(IDC_PC_VALUE0).empty());
    Close(*zero);
}

// CM63828p: only "0" to "3" have a data-format row and the protocol list starts on ASCII; a module
// at 00 gets the setting with type "00" and format "00"; the line keeps the block's rate and
// checksum at address 0.
TEST_F(PerChannelAscii, TheThermistorDialogHasItsOwnFormAt00)
{
    const SDialogCase& c = Case("CM63828p");
    m_bus.Add(c.sim, 1, 9600);
    auto dlg = Open(c, Block(c, "0", "5"));
    EXPECT_EQ(dlg->GetDlgItemAs<CComboBox>(IDC_PC_PROTOCOL)->GetCurSel(), 0);
    EXPECT_EQ(dlg->GetDlgItemAs<CComboBox>(IDC_PC_FORMAT)->GetCurSel(), -1);
    Close(*dlg);

    CSimModule& init = m_bus.Add(c.sim, 9, 9600);
    init.SetInit(true);
    m_bus.Module(0).Faults().nSilentAfter = 0;
    auto zero = Open(c, {"00", "06", "0", "FF", "1", c.listed});
    Tick(*zero, 2);
    ui::Type(*zero, IDC_PC_ADDRESS, "10");
    ui::ChooseRow(*zero, IDC_PC_BAUD, 4); // 19200
    ui::Click(*zero, IDC_PC_UPDATE);
    TakeRequests();
    Tick(*zero);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"%000A000700"});
    init.SetInit(false);
    EXPECT_EQ(init.Address(), 0x0A);
    EXPECT_EQ(init.Baud(), 19200u);
    EXPECT_EQ(init.Protocol(), ESimProtocol::Ascii);
    Close(*zero);

    // No INIT step: at address 0 the block's rate and checksum stay in force.
    auto again = Open(c, {"00", "07", "4", "FF", "0", c.listed});
    EXPECT_EQ(m_link.Traffic().back().line.dwBaud, 19200u);
    EXPECT_EQ(TakeRequests().back(), Framed("$006", true));
    Close(*again);
}

// CM6381p: the type field "00" and the switch's format "80"; a module already on Modbus RTU (the
// dispatch opens this dialog for such rows too) answers nothing, and every write says so.
TEST_F(PerChannelAscii, TheUniversalDialogOverAModbusRowShowsNothingAndReportsEachWrite)
{
    const SDialogCase& c = Case("CM6381p");
    m_bus.Add(c.sim, 1, 9600, ESimProtocol::Rtu);
    auto dlg = Open(c, Block(c));
    Tick(*dlg, 3);
    EXPECT_EQ(Checked(*dlg, c), "00000000");
    EXPECT_EQ(Values(*dlg, c), std::vector<std::string>(8, ""));
    // No mask came: a click writes none, the box stays as it was and Respond says why; the mask
    // is asked for between the polls.
    ui::Click(*dlg, kPcCheckIds[1]);
    TakeRequests();
    Tick(*dlg, 2);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$016", "#01"}));
    EXPECT_EQ(Checked(*dlg, c), "00000000");
    EXPECT_EQ(Respond(*dlg), "Channel mask not read yet!");
    ui::ChooseRow(*dlg, IDC_PC_TYPE0 + 2, 4);
    Tick(*dlg, 2);
    EXPECT_EQ(Respond(*dlg), "Change UnSuccessful");
    EXPECT_EQ(m_frame.m_strChannelTypes6381[2], c.types[2]);
    Close(*dlg);
}

// CM6307p: six range reads, one a tick, then the six lists and the poll; "&Refresh" reads them
// again; a range change made during the reads takes their place, and "&Refresh" goes on from the
// channel where they stopped.
TEST_F(PerChannelAscii, TheRangeDialogReadsEachChannelsRangeThenPolls)
{
    const SDialogCase& c = Case("CM6307p");
    CSimModule& module = m_bus.Add(c.sim, 1, 9600);
    module.SetChannelType(2, 0x2B); // "Cu100 -50-150C"
    module.SetChannelType(4, 0x2F);
    auto dlg = Open(c, Block(c));
    Tick(*dlg, 6);
    for (int ch = 0; ch < 6; ++ch) EXPECT_EQ(TypeRow(*dlg, ch), -1) << ch;
    Tick(*dlg);
    EXPECT_EQ(TypeRow(*dlg, 2), 8);
    EXPECT_EQ(TypeRow(*dlg, 4), 12);
    EXPECT_EQ(TypeRow(*dlg, 0), 0);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$016", "$018C0", "$018C1", "$018C2",
                                                        "$018C3", "$018C4", "$018C5", "#01"}));
    EXPECT_EQ(Values(*dlg, c), std::vector<std::string>(6, ""));
    Tick(*dlg);
    EXPECT_FALSE(Values(*dlg, c)[5].empty());

    module.SetChannelType(0, 0x21);
    TakeRequests();
    ui::Click(*dlg, IDC_PC_REFRESH);
    Tick(*dlg, 3); // channels 0, 1 and 2
    ASSERT_TRUE(ui::ChooseRow(*dlg, IDC_PC_TYPE0 + 5, 12));
    Tick(*dlg, 2); // the change, then its reply
    EXPECT_EQ(Respond(*dlg), "Change Successful");
    EXPECT_EQ(TypeRow(*dlg, 0), 0); // the read did not reach its end
    ui::Click(*dlg, IDC_PC_REFRESH);
    Tick(*dlg, 4); // channels 3, 4 and 5, then the lists
    EXPECT_EQ(TypeRow(*dlg, 0), 1);
    EXPECT_EQ(TypeRow(*dlg, 5), 12);
    EXPECT_EQ(TakeRequests(),
              (std::vector<std::string>{"$018C0", "$018C1", "$018C2", "$017C5R2F", "#01", "$018C3",
                                        "$018C4", "$018C5", "#01"}));
    Close(*dlg);
}

TEST_F(PerChannelAscii, ARangeTheModuleDoesNotReportLeavesItsListAsItWas)
{
    const SDialogCase& c = Case("CM6307p");
    CSimModule& module = m_bus.Add(c.sim, 1, 9600);
    auto dlg = Open(c, Block(c));
    Tick(*dlg);
    module.Faults().nSilentAfter = 0; // from channel 1 on
    Tick(*dlg, 6);
    EXPECT_EQ(TypeRow(*dlg, 0), 0);
    for (int ch = 1; ch < 6; ++ch) EXPECT_EQ(TypeRow(*dlg, ch), -1) << ch;
    Close(*dlg);
}

// The dispatch opens each dialog from the row the search builds for a real find, listed name and
// all, and the dialog starts on that module.
TEST(PerChannelListedRows, EachListedRowOpensItsDialogOnTheModule)
{
    struct Row {
        const char* sim;
        const char* nameReply;
        const char* configReply;
        const char* caption;
    } rows[] = {
        {"6386P", "!116386P", "!11FF0600", "V-6386P ASCII"},
        {"6381", "!116381", "!11000600", "V-6381"},
        {"6382", "!116382", "!11FF0600", "4382A"},
        {"6382T", "!116382T", "!11FF0600", "V-6382T"},
        {"6307A", "!116307A", "!11200600", "V-6307P"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.sim);
        CScopedVirtualClock clock;
        CSimBus bus;
        bus.Add(r.sim, 0x11, 9600);
        CScopedSimLink link{bus};
        search_test::CSearchWindow window{search_test::SettingsText('0', "00010000", '0', '0')};
        std::string caption;
        std::vector<std::string> requests;
        ui::CModalDriver driver([&](CDialog& dlg) {
            caption = dlg.GetWindowText();
            dlg.FireTimer(kPollTimer);
            requests = link.Requests();
        });
        int item = window.AddRow(BuildResultRow({r.nameReply, r.configReply, "9600"}));
        ASSERT_TRUE(ui::DoubleClickRow(window.Dlg(), IDC_RESULT_LIST, item));
        EXPECT_EQ(caption, r.caption);
        ASSERT_GE(requests.size(), 2u);
        EXPECT_EQ(requests[0], "$116");
        EXPECT_EQ(requests[1], std::string(r.sim) == "6307A" ? "$118C0" : "#11");
    }
}
