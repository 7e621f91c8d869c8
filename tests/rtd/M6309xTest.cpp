// The RTD-input dialog over ASCII against simulated RTD modules.
#include "rtd/M6309x.h"
#include "ModuleFixture.h"
#include "rtd/RtdIds.h"

#include "AsciiCommand.h"
#include "ModuleDialogs.h"
#include "ScriptedLine.h"
#include "SimRtd.h"
#include "Strings.h"
#include "UiDriver.h"

namespace {

using Requests = std::vector<std::string>;

// A 6309 that refuses the switch to Modbus RTU.
class CSimRtdWithoutModbus : public CSimRtd {
public:
    CSimRtdWithoutModbus() : CSimRtd("6309") {}

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override
    {
        if (lead == '$' && body == "R1") return Refuse();
        return CSimRtd::OnAscii(lead, body, now);
    }
};

// A 6309 that writes each resistance in eight characters.
class CSimRtdWideOhms : public CSimRtd {
public:
    CSimRtdWideOhms() : CSimRtd("6309") {}

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override
    {
        std::optional<std::string> reply = CSimRtd::OnAscii(lead, body, now);
        if (!reply || lead != '$' || body != "A") return reply;
        std::string wide = ">";
        for (size_t k = 1; k + 7 <= reply->size(); k += 7) wide += "0" + reply->substr(k, 7);
        return wide;
    }
};

class M6309x : public CModuleFixture {
protected:
    // A 6309 at 0x13 with CH0..CH3 at 100, 200, -10 and 0 degrees (Pt100 -200 to 400).
    CSimModule& AddFourChannels()
    {
        CSimModule& m = m_bus.Add("6309", 0x13, 9600);
        const double values[] = {100.0, 200.0, -10.0, 0.0};
        for (int ch = 0; ch < 4; ++ch) m.SetInput(ch, values[ch]);
        return m;
    }
    // Opens the dialog on a block: address, baud code, check, range, format, model.
    void Open(ModuleParamBlock block)
    {
        m_frame.m_strRtdInputParams = block;
        m_dlg.Create(IDD_M6309X);
    }
    // One more dialog on a block, for tables of cases; it lives as long as the test.
    CM6309x& OpenAnother(const ModuleParamBlock& block)
    {
        m_frame.m_strRtdInputParams = block;
        m_others.push_back(std::make_unique<CM6309x>());
        m_others.back()->Create(IDD_M6309X);
        return *m_others.back();
    }
    std::string Input(int ch) { return m_dlg.GetDlgItemText(kRtdInputIds[ch]); }
    std::string Ohm(int ch) { return m_dlg.GetDlgItemText(kRtdOhmIds[ch]); }
    bool Enabled(int id) { return m_dlg.GetDlgItem(id)->IsWindowEnabled(); }
    bool Visible(int id) { return m_dlg.GetDlgItem(id)->IsWindowVisible(); }
    int Row(int id) { return m_dlg.GetDlgItemAs<CComboBox>(id)->GetCurSel(); }
    // Types the address, presses Setting and runs the two ticks that send it and judge the reply.
    void Setting(const char* address)
    {
        ui::Type(m_dlg, IDC_RTD_ADDRESS, address);
        ui::Click(m_dlg, IDC_RTD_SETTING);
        TakeRequests();
        Tick(m_dlg, 2);
    }

    CM6309x m_dlg;
    std::vector<std::unique_ptr<CM6309x>> m_others;
};

} // namespace

TEST_F(M6309x, ReadsInputValuesAndResistancesInTurn)
{
    AddFourChannels();
    Open({"13", "06", "0", "20", "0", "6309"});
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_RTD_ADDRESS), "19");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_RTD_MODEL), "6309");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_RTD_ZERO_VALUE), "+000.00");
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_RTD_CHANNEL), "0");
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
    EXPECT_EQ(TakeRequests(), Requests{"#13"});

    DWORD before = GetTickCount();
    Tick(m_dlg);
    EXPECT_EQ(GetTickCount() - before, 150u) << "the pause follows every exchange";
    EXPECT_EQ(Input(0), "+0100.00");
    EXPECT_EQ(Input(1), "+0200.00");
    EXPECT_EQ(Input(2), "-0010.00");
    EXPECT_EQ(Input(3), "+0000.00");
    EXPECT_EQ(Ohm(0), "");
    Tick(m_dlg);
    EXPECT_EQ(Ohm(0), "0138.50");
    EXPECT_EQ(Ohm(3), "0100.00");
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"$13A", "#13", "$13A", "#13"}));
    EXPECT_FALSE(Enabled(kRtdInputIds[4]));
    EXPECT_FALSE(Enabled(kRtdOhmIds[5]));
    EXPECT_TRUE(Enabled(kRtdOhmIds[3]));
}

TEST_F(M6309x, WithTheChecksumOnRequestsCarryItAndRepliesLoseIt)
{
    AddFourChannels().SetChecksum(true);
    Open({"13", "06", "4", "20", "0", "6309"});
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(),
              (Requests{"#13" + AppendChecksum("#13"), "$13A" + AppendChecksum("$13A"),
                        "#13" + AppendChecksum("#13")}));
    EXPECT_EQ(Input(3), "+0000.00");
    EXPECT_EQ(Ohm(3), "0100.00");
    EXPECT_EQ(Row(IDC_RTD_CHECKSUM), 0);
}

TEST_F(M6309x, ModelNameChoosesTheRangeListAndTheChannels)
{
    struct Case {
        const char* model;
        const char* script;
        int shownList;
        int row;
        int channels;
    } cases[] = {
        {"6308", "21", IDC_RTD_RANGE13, 1, 1},  {"4300", "2B", IDC_RTD_RANGE13, 8, 3},
        {"6307", "2F", IDC_RTD_RANGE13, 12, 6}, {"4307", "28", IDC_RTD_RANGE13, -1, 6},
        {"6300A", "25", IDC_RTD_RANGE6, 5, 3},  {"4308A", "20", IDC_RTD_RANGE6, 0, 1},
        {"6309", "26", IDC_RTD_RANGE6, -1, 4},  {"4309", "2B", IDC_RTD_RANGE6, -1, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        auto& dlg = OpenAnother({"01", "06", "0", c.script, "0", c.model});
        int hidden = c.shownList == IDC_RTD_RANGE13 ? IDC_RTD_RANGE6 : IDC_RTD_RANGE13;
        EXPECT_TRUE(dlg.GetDlgItem(c.shownList)->IsWindowVisible());
        EXPECT_FALSE(dlg.GetDlgItem(hidden)->IsWindowVisible());
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(c.shownList)->GetCurSel(), c.row);
        for (int ch = 0; ch < 6; ++ch)
            EXPECT_EQ(dlg.GetDlgItem(kRtdInputIds[ch])->IsWindowEnabled() != 0, ch < c.channels)
                << ch;
        dlg.OnCancel();
    }
}

TEST_F(M6309x, ReadingsInEachFormShortRepliesAndSilence)
{
    CSimModule& three = m_bus.Add("6300", 0x14, 9600);
    three.SetFormat(0x02);
    three.SetInput(0, 25.0);
    Open({"14", "06", "0", "20", "2", "6300"});
    Tick(m_dlg);
    EXPECT_EQ(Input(0).size(), 4u) << "three equal hex groups";
    EXPECT_EQ(Input(0) + Input(1) + Input(2), m_link.Traffic()[0].strReply.substr(1, 12));

    three.Faults().nSilentAfter = 0;
    Tick(m_dlg, 3);
    for (int ch = 0; ch < 3; ++ch) {
        EXPECT_EQ(Input(ch), "ERROR!!");
        EXPECT_EQ(Ohm(ch), "ERROR!!");
    }
}

// A reply takes as many readings as the row's model has channels, each of its form: one from a
// module with fewer or more channels answers no request of the dialog, and shows as silence.
TEST_F(M6309x, AReplyWithMoreOrFewerReadingsThanChannelsIsAMissedExchange)
{
    struct Case {
        const char* row;    // the model the row names
        const char* module; // the module on the line
    } cases[] = {{"6300", "6308"}, {"6300", "6309"}, {"6309", "6307"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.module);
        CSimBus bus;
        bus.Add(c.module, 0x14, 9600);
        m_link.Attach(1, bus);
        CM6309x& dlg = OpenAnother({"14", "06", "0", "20", "0", c.row});
        Tick(dlg, 2);
        EXPECT_EQ(dlg.GetDlgItemText(kRtdInputIds[0]), "ERROR!!");
        EXPECT_EQ(dlg.GetDlgItemText(kRtdOhmIds[0]), "ERROR!!");
    }
}

// Resistances carry no sign, whatever their width; input values carry one in engineering units
// and percent, none in hex and ohms. A late reply of the one poll is no reading of the other where
// the format tells them apart.
TEST_F(M6309x, EachPollTakesTheReadingsOfItsOwnShape)
{
    struct Case {
        BYTE format;
        bool wideOhms; // the module writes its resistances in eight characters
        const char* input;
        const char* ohm;
    } cases[] = {
        {0x00, false, "+0100.00", "0138.50"},
        {0x00, true, "+0100.00", "00138.50"},
        {0x01, false, "+025.00", "0138.50"},
        {0x03, false, "0138.50", "0138.50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Format("format %d wide %d", c.format, c.wideOhms));
        CSimBus bus;
        std::unique_ptr<CSimRtd> sim =
            c.wideOhms ? std::make_unique<CSimRtdWideOhms>() : std::make_unique<CSimRtd>("6309");
        CSimModule& module = bus.Add(std::move(sim));
        module.SetAddress(0x14);
        module.SetFormat(c.format);
        module.SetInput(0, 100.0);
        m_link.Attach(1, bus);
        CM6309x& dlg = OpenAnother({"14", "06", "0", "20", Format("%d", c.format), "6309"});
        Tick(dlg, 2);
        EXPECT_EQ(dlg.GetDlgItemText(kRtdInputIds[0]), c.input);
        EXPECT_EQ(dlg.GetDlgItemText(kRtdOhmIds[0]), c.ohm);
    }
    // The block says engineering units; the module's values come unsigned.
    CSimBus bus;
    bus.Add("6309", 0x14, 9600).SetFormat(0x02);
    m_link.Attach(1, bus);
    CM6309x& dlg = OpenAnother({"14", "06", "0", "20", "0", "6309"});
    Tick(dlg);
    EXPECT_EQ(dlg.GetDlgItemText(kRtdInputIds[0]), "ERROR!!");
}

// A one-channel module's readings as it writes them, and at their edges: a reading of its form in
// any width shows whole, as the whole reply after ">"; a hex reading is four digits; a reply cut
// short, padded, of another lead or of the other poll shows as silence does.
TEST_F(M6309x, AOneChannelReadingIsTakenByItsForm)
{
    using Reply = std::optional<std::string>;
    const char* silence = "ERROR!!";
    struct Case {
        const char* what;
        const char* format;
        Reply input;
        const char* shownInput;
        Reply ohm;
        const char* shownOhm;
    } cases[] = {
        {"its own", "0", ">+0050.00", "+0050.00", ">0119.25", "0119.25"},
        {"a character wider", "0", ">+00050.00", "+00050.00", ">00119.25", "00119.25"},
        {"a character narrower", "0", ">+050.00", "+050.00", ">119.25", "119.25"},
        {"in percent", "1", ">+025.00", "+025.00", ">0119.25", "0119.25"},
        {"in hex", "2", ">0A1B", "0A1B", ">0119.25", "0119.25"},
        {"in ohms", "3", ">0119.25", "0119.25", ">0119.25", "0119.25"},
        {"silence", "0", std::nullopt, silence, std::nullopt, silence},
        {"cut short", "0", ">+00", silence, ">011", silence},
        {"cut after the point", "0", ">+0050.", silence, ">0119.", silence},
        {"padded", "0", ">+0050.00567890123456789", silence, ">0119.25567890123456789", silence},
        {"hex a digit wider", "2", ">00A1B", silence, ">0119.25", "0119.25"},
        {"hex a digit narrower", "2", ">A1B", silence, ">0119.25", "0119.25"},
        {"of another lead", "0", "!15+0050.00", silence, "!150119.25", silence},
        {"of the other poll", "0", ">0119.25", silence, ">+0050.00", silence},
    };
    m_bus.Add("4308", 0x15, 9600);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CScriptedLine line([&c](const std::string& r) -> std::optional<CScriptedLine::SAnswer> {
            if (r.starts_with("#15")) return CScriptedLine::SAnswer{c.input};
            if (r.starts_with("$15A")) return CScriptedLine::SAnswer{c.ohm};
            return std::nullopt;
        });
        CM6309x& dlg = OpenAnother({"15", "06", "0", "21", c.format, "4308"});
        Tick(dlg, 2);
        EXPECT_EQ(dlg.GetDlgItemText(kRtdInputIds[0]), c.shownInput);
        EXPECT_EQ(dlg.GetDlgItemText(kRtdOhmIds[0]), c.shownOhm);
        dlg.OnCancel();
    }
}

// Four readings: each from its sign to the next in whatever width the module writes them, or four
// hex digits each. A hex reply that lost a reading's worth of digits, or one digit of each, is no
// reply of four readings.
TEST_F(M6309x, FourReadingsAreTakenByTheirForm)
{
    struct Case {
        const char* format;
        const char* reply;
        std::vector<std::string> shown;
    } cases[] = {
        {"0",
         ">+0100.00+0200.00-0010.50+0000.00",
         {"+0100.00", "+0200.00", "-0010.50", "+0000.00"}},
        {"0", ">+00100.00+0200.000-10.50+0.00", {"+00100.00", "+0200.000", "-10.50", "+0.00"}},
        {"2", ">0A1B0C2D0E3F0F40", {"0A1B", "0C2D", "0E3F", "0F40"}},
        {"0", ">+0100.00+0200.00-0010.50", {"ERROR!!", "ERROR!!", "ERROR!!", "ERROR!!"}},
        {"0",
         ">+0100.00+0200.00-0010.50+0000.00+0000.00",
         {"ERROR!!", "ERROR!!", "ERROR!!", "ERROR!!"}},
        {"2", ">0A1B0C2D0E3F", {"ERROR!!", "ERROR!!", "ERROR!!", "ERROR!!"}},
        {"2", ">A1BC2DE3FF40", {"ERROR!!", "ERROR!!", "ERROR!!", "ERROR!!"}},
    };
    m_bus.Add("6309", 0x13, 9600);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        CScriptedLine line(CScriptedLine::Answering("#13", c.reply));
        CM6309x& dlg = OpenAnother({"13", "06", "0", "20", c.format, "6309"});
        Tick(dlg);
        std::vector<std::string> shown;
        for (int ch = 0; ch < 4; ++ch) shown.push_back(dlg.GetDlgItemText(kRtdInputIds[ch]));
        EXPECT_EQ(shown, c.shown);
        dlg.OnCancel();
    }
}

TEST_F(M6309x, OneChannelModelShowsTheWholeReplyInBothPhases)
{
    m_bus.Add("6308", 0x15, 9600).SetInput(0, 50.0);
    Open({"15", "06", "0", "21", "0", "6308"});
    Tick(m_dlg, 2);
    EXPECT_EQ(Input(0), "+0050.00");
    EXPECT_EQ(Ohm(0), "0119.25");
}

TEST_F(M6309x, SettingSendsThePercentRequestWritesBackAndCloses)
{
    CSimModule& module = AddFourChannels();
    Open({"13", "06", "0", "20", "0", "6309"});
    Tick(m_dlg, 2);
    ui::ChooseRow(m_dlg, IDC_RTD_RANGE6, 3);
    ui::ChooseRow(m_dlg, IDC_RTD_FORMAT, 3);
    ui::Type(m_dlg, IDC_RTD_ADDRESS, "31");
    ui::Click(m_dlg, IDC_RTD_SETTING);
    EXPECT_FALSE(m_frame.m_bRtdInputChanged) << "nothing has gone out yet";
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"%131F230603"});
    EXPECT_TRUE(m_frame.m_bRtdInputChanged) << "written back as the request goes out";
    EXPECT_EQ(m_frame.m_strNewRowText,
              (RowTexts{"6309", "1F", "9600", "Disable", "BA1 -200-650C"}));
    EXPECT_EQ(m_frame.m_strNewParams,
              (ModuleParamBlock{"1F", "06", "0", "23", "3", m_frame.m_strNewParams[5]}));
    WatchTimerAtBoxes(m_dlg);
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
    EXPECT_FALSE(m_bTimerRanUnderBox);
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_link.IsAsciiOpen());
    EXPECT_EQ(g_bDialogClosed, 1);
    EXPECT_EQ(module.Address(), 0x1F);
    EXPECT_EQ(module.Type(), 0x23);
}

TEST_F(M6309x, SettingIsFramedWithTheChecksumInForceBeforeTheClick)
{
    struct Case {
        const char* check;
        int newRow;
        std::string wire;
    } cases[] = {
        {"0", 0, "%1313200640"},
        {"4", 1, "%1313200600" + AppendChecksum("%1313200600")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.check);
        CSimBus bus;
        bus.Add("6309", 0x13, 9600);
        m_link.Attach(1, bus);
        auto& dlg = OpenAnother({"13", "06", c.check, "20", "0", "6309"});
        ui::ChooseRow(dlg, IDC_RTD_CHECKSUM, c.newRow);
        ui::Click(dlg, IDC_RTD_SETTING);
        TakeRequests();
        Tick(dlg);
        EXPECT_EQ(TakeRequests(), Requests{c.wire});
        dlg.OnCancel();
    }
}

TEST_F(M6309x, SwitchToModbusGoesToTheOldAddressAndWritesBackNothingItDidNotSend)
{
    CSimModule& module = AddFourChannels();
    Open({"13", "06", "0", "20", "0", "6309"});
    const RowTexts rowBefore = {"6309", "19(13)ASC", "9600", "Disable", "Pt100 -200-400C"};
    m_frame.m_strNewRowText = rowBefore;
    ui::ChooseRow(m_dlg, IDC_RTD_PROTOCOL, 1);
    ui::ChooseRow(m_dlg, IDC_RTD_RANGE6, 2);
    ui::Type(m_dlg, IDC_RTD_ADDRESS, "40");
    ui::Click(m_dlg, IDC_RTD_SETTING);
    EXPECT_EQ(m_frame.m_strNewRowText, rowBefore);
    TakeRequests();
    Tick(m_dlg, 2);
    EXPECT_EQ(m_link.Requests(), Requests{"$13R1"});
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting Modbus/RTU OK!"});
    EXPECT_EQ(module.Protocol(), ESimProtocol::Rtu);
    EXPECT_EQ(module.Address(), 0x13);
}

// The switch carries no range or format code, so lists without a row do not stand in its way.
TEST_F(M6309x, TheSwitchToModbusGoesOutWithRangeAndFormatListsWithoutARow)
{
    CSimModule& module = AddFourChannels();
    Open({"13", "06", "0", "26", "7", "6309"});
    ASSERT_EQ(Row(IDC_RTD_RANGE6), -1);
    ASSERT_EQ(Row(IDC_RTD_FORMAT), -1);
    ui::ChooseRow(m_dlg, IDC_RTD_PROTOCOL, 1);
    Setting("19");
    EXPECT_EQ(m_link.Requests(), Requests{"$13R1"});
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting Modbus/RTU OK!"});
    EXPECT_EQ(module.Protocol(), ESimProtocol::Rtu);
}

TEST_F(M6309x, ARefusalIsNeverReportedAsSuccess)
{
    struct Case {
        bool modbus;
        const char* box;
    } cases[] = {
        {false, "Setting Configuration Error! \r\n Please Connect Init* to GND!"},
        {true, "Setting Configuration Error! \r\n Please Connect Init* to GND!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.modbus);
        CSimBus bus;
        bus.Add(std::make_unique<CSimRtdWithoutModbus>()).SetAddress(0x13);
        m_link.Attach(1, bus);
        auto& dlg = OpenAnother({"13", "06", "0", "20", "0", "6309"});
        m_boxes.m_boxes.clear();
        ui::ChooseRow(dlg, IDC_RTD_PROTOCOL, c.modbus ? 1 : 0);
        ui::ChooseRow(dlg, IDC_RTD_BAUD, 4); // a new rate outside INIT is refused
        ui::Click(dlg, IDC_RTD_SETTING);
        Tick(dlg, 2);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{c.box});
        EXPECT_FALSE(dlg.IsRunning());
    }
}

TEST_F(M6309x, AnUnansweredRequestIsJudgedByTheProtocolRow)
{
    for (bool modbus : {false, true}) {
        SCOPED_TRACE(modbus);
        CSimBus bus;
        bus.Add("6309", 0x13, 9600).Faults().nSilentAfter = 1;
        m_link.Attach(1, bus);
        auto& dlg = OpenAnother({"13", "06", "0", "20", "0", "6309"});
        m_boxes.m_boxes.clear();
        ui::ChooseRow(dlg, IDC_RTD_PROTOCOL, modbus ? 1 : 0);
        ui::Click(dlg, IDC_RTD_SETTING);
        Tick(dlg, 2);
        EXPECT_EQ(m_boxes.Texts(),
                  std::vector<std::string>{
                      modbus ? "Setting Modbus/RTU OK!"
                             : "Setting Configuration Error! \r\n Please Connect Init* to GND!"});
    }
}

TEST_F(M6309x, AddressTextZeroClosesWithoutRequestOrWriteBack)
{
    AddFourChannels();
    Open({"13", "06", "0", "20", "0", "6309"});
    TakeRequests();
    ui::Type(m_dlg, IDC_RTD_ADDRESS, "0");
    ui::Click(m_dlg, IDC_RTD_SETTING);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"地址不能为0!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "");
    EXPECT_EQ(m_boxes.m_boxes[0].nType, MB_ICONEXCLAMATION);
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_link.IsAsciiOpen());
    EXPECT_FALSE(m_frame.m_bRtdInputChanged);
    EXPECT_TRUE(TakeRequests().empty());
}

TEST_F(M6309x, DoubleZeroIsAnAddress)
{
    AddFourChannels();
    Open({"13", "06", "0", "20", "0", "6309"});
    Setting("00");
    EXPECT_EQ(m_link.Requests()[0], "%1300200600");
}

TEST_F(M6309x, AListWithoutARowRefusesTheSettingWhenTheBlockHasNoCodeOfItsOwn)
{
    AddFourChannels();
    struct Case {
        ModuleParamBlock block;
        const char* box;
    } refused[] = {
        {{"13", "06", "0", "26", "0", "6309"}, "Choose the Input Range!"},
        {{"13", "06", "0", "", "0", "6309"}, "Choose the Input Range!"},
        {{"13", "0B", "0", "20", "0", "6309"}, "Choose the Baudrate!"},
        {{"13", "06", "0", "20", "7", "6309"}, "Choose the Data Format!"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.box);
        m_frame.m_bRtdInputChanged = false;
        auto& dlg = OpenAnother(c.block);
        m_boxes.m_boxes.clear();
        TakeRequests();
        ui::Click(dlg, IDC_RTD_SETTING);
        Tick(dlg, 2);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{c.box});
        EXPECT_FALSE(m_frame.m_bRtdInputChanged);
        for (const std::string& r : TakeRequests()) EXPECT_NE(r[0], '%');
        EXPECT_TRUE(dlg.IsRunning());
        dlg.OnCancel();
    }
    Open({"13", "06", "0", "26", "0", "6309"});
    ui::ChooseRow(m_dlg, IDC_RTD_RANGE6, 1);
    ui::Click(m_dlg, IDC_RTD_SETTING);
    Tick(m_dlg);
    EXPECT_EQ(m_link.Requests().back(), "%1313210600");
}

TEST_F(M6309x, AddressZeroOpensAt9600WithoutChecksum)
{
    CSimModule& module = m_bus.Add("6309", 7, 19200);
    module.SetInit(true);
    Open({"00", "07", "4", "20", "0", "6309"});
    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_RTD_ADDRESS), "0");
    EXPECT_EQ(Row(IDC_RTD_BAUD), 4);
    EXPECT_EQ(Row(IDC_RTD_CHECKSUM), 0);
    ASSERT_EQ(m_link.Traffic().size(), 1u);
    EXPECT_EQ(m_link.Traffic()[0].line.dwBaud, 9600u);
    EXPECT_EQ(m_link.Traffic()[0].strRequest, "#00");
    Tick(m_dlg);
    EXPECT_NE(Input(0), "ERROR!!");
}

TEST_F(M6309x, OpenComErrorLeavesTheDialogWithoutTimerOrRequest)
{
    m_link.Detach(1);
    Open({"13", "06", "0", "20", "0", "6309"});
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Open Com Error!"});
    EXPECT_FALSE(m_dlg.IsTimerActive(kPollTimer));
    EXPECT_TRUE(m_link.Traffic().empty());
    EXPECT_TRUE(m_dlg.IsRunning());
}
