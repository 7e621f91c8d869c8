// The per-channel-type analog-input dialog over ASCII against a simulated module.
#include "analog_input/M6384P.h"
#include "ModuleFixture.h"
#include "analog_input/AnalogInputIds.h"

#include "AsciiCommand.h"
#include "ModuleDialogs.h"
#include "SimAnalogInput.h"
#include "Strings.h"

#include <QPushButton>

namespace {

const ChannelTypeList kTypes = {"07", "08", "09", "0A", "0B", "0C", "0D", "07"};

class M6384P : public CModuleFixture {
protected:
    CSimAnalogInputPerChannel& AddModule(int address, DWORD baud = 9600)
    {
        return static_cast<CSimAnalogInputPerChannel&>(m_bus.Add("6384P", address, baud));
    }
    // Opens the dialog on a block (address, baud code, check, script, format, model) and the
    // channel types the search read.
    void Open(ModuleParamBlock block, ChannelTypeList types = kTypes)
    {
        m_frame.m_strAnalogInputParams = block;
        m_frame.m_strChannelTypes6384P = types;
        m_dlg.Create(IDD_M6384P);
    }
    std::string Value(int ch) { return m_dlg.GetDlgItemText(IDC_PC_VALUE0 + ch); }
    std::vector<std::string> Values()
    {
        std::vector<std::string> values;
        for (int ch = 0; ch < 8; ++ch) values.push_back(Value(ch));
        return values;
    }
    std::string Checked()
    {
        std::string marks;
        for (int id : kPcCheckIds) marks += m_dlg.IsDlgButtonChecked(id) ? '1' : '0';
        return marks;
    }
    CComboBox* Combo(int id) { return m_dlg.GetDlgItemAs<CComboBox>(id); }
    bool Enabled(int id) { return m_dlg.GetDlgItem(id)->IsWindowEnabled(); }
    std::string Respond() { return m_dlg.GetDlgItemText(IDC_PC_RESPOND); }

    CM6384P m_dlg;
};

} // namespace

TEST_F(M6384P, OpensWithTheMaskReadThenPollsTheEnabledChannels)
{
    CSimAnalogInputPerChannel& module = AddModule(0x12);
    module.SetEnableMask(0x81);
    module.SetChannelType(0, 0x07); // 4 to 20 mA
    module.SetInput(0, 12.0);
    module.SetInput(1, 3.0);
    module.SetInput(7, -2.25);
    Open({"12", "06", "0", "FF", "0", "4384P"});

    EXPECT_EQ(m_dlg.GetDlgItemText(IDC_PC_ADDRESS), "18");
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(Combo(IDC_PC_TYPE0 + ch)->GetCurSel(), ch % 7) << ch;
    EXPECT_EQ(Combo(IDC_PC_BAUD)->GetCurSel(), 3);
    EXPECT_EQ(Combo(IDC_PC_CHECKSUM)->GetCurSel(), 1);
    EXPECT_EQ(Combo(IDC_PC_PROTOCOL)->GetCurSel(), 0);
    EXPECT_EQ(Combo(IDC_PC_FORMAT)->GetCurSel(), 0);
    for (int id : {IDC_PC_BAUD, IDC_PC_CHECKSUM, IDC_PC_PROTOCOL, IDC_PC_ZERO, IDC_PC_SPAN,
                   IDC_PC_CJC, IDC_PC_RESPOND}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$126"});

    Tick(m_dlg); // reads the mask; the reply in hand holds no readings
    EXPECT_EQ(Checked(), "10000001");
    EXPECT_EQ(Values(), std::vector<std::string>(8, ""));
    Tick(m_dlg);
    EXPECT_EQ(Values(), (std::vector<std::string>{"+12.000", "", "", "", "", "", "", "-02.250"}));
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"#12", "#12"}));
}

TEST_F(M6384P, EveryNameStartsWithTheMaskRead)
{
    for (const char* name : {"6384P", "4384P", "", "XYZ"}) {
        SCOPED_TRACE(name);
        CSimBus bus;
        bus.Add("6384P", 1, 9600);
        m_link.Attach(1, bus);
        CM6384P dlg;
        m_frame.m_strAnalogInputParams = {"01", "06", "0", "FF", "0", name};
        dlg.Create(IDD_M6384P);
        Tick(dlg);
        EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$016", "#01"}));
        EXPECT_EQ(dlg.IsDlgButtonChecked(kPcCheckIds[7]), 1u);
        dlg.OnCancel();
    }
}

TEST_F(M6384P, TheMaskReplyMarksItsChannelsAndNothingElseDoes)
{
    struct Case {
        const char* model; // "6385" refuses the mask read with "?01"
        BYTE mask;
        bool silent;
        const char* checked;
    } cases[] = {
        {"6384P", 0xFF, false, "11111111"}, {"6384P", 0x0F, false, "11110000"},
        {"6384P", 0xF0, false, "00001111"}, {"6384P", 0xA5, false, "10100101"},
        {"6385", 0, false, "00000000"},     {"6384P", 0xFF, true, "00000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Format("%s %02X", c.model, c.mask));
        CSimBus bus;
        CSimModule& module = bus.Add(c.model, 1, 9600);
        if (auto* perChannel = dynamic_cast<CSimAnalogInputPerChannel*>(&module)) {
            perChannel->SetEnableMask(c.mask);
        }
        if (c.silent) module.Faults().nSilentAfter = 0;
        m_link.Attach(1, bus);
        CM6384P dlg;
        m_frame.m_strAnalogInputParams = {"01", "06", "0", "FF", "0", "4384P"};
        dlg.Create(IDD_M6384P);
        Tick(dlg);
        std::string marks;
        for (int id : kPcCheckIds) marks += dlg.IsDlgButtonChecked(id) ? '1' : '0';
        EXPECT_EQ(marks, c.checked);
        dlg.OnCancel();
    }
}

TEST_F(M6384P, AMaskDigitThatIsNotHexMarksNothing)
{
    AddModule(1).SetEnableMask(0);
    Open({"01", "06", "0", "FF", "0", "4384P"});
    Tick(m_dlg);
    m_dlg.ParseEnableMask('x', '3');
    EXPECT_EQ(Checked(), "00001100");
}

TEST_F(M6384P, ReadingsAreCutBySizeAndLoseTheChecksumDigits)
{
    struct Case {
        BYTE format;
        bool checksum;
        const char* ch1;
    } cases[] = {
        {0x00, false, "+02.500"}, // 57 characters: seven a channel
        {0x00, true, "+02.500"},  // 59: the last two are the module's checksum
        {0x01, false, "+025.00"},
        {0x02, false, "2000"}, // 33: ">" and eight groups of four hex digits
        {0x02, true, "2000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Format("%d %d", c.format, c.checksum));
        CSimBus bus;
        auto& module = static_cast<CSimAnalogInputPerChannel&>(bus.Add("6384P", 1, 9600));
        module.SetFormat(c.format);
        module.SetChecksum(c.checksum);
        module.SetEnableMask(0x03);
        module.SetInput(1, 2.5);
        m_link.Attach(1, bus);
        CM6384P dlg;
        m_frame.m_strAnalogInputParams = {
            "01", "06", c.checksum ? "4" : "0", "FF", Format("%d", c.format), "4384P"};
        dlg.Create(IDD_M6384P);
        Tick(dlg, 2);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_PC_VALUE0 + 1), c.ch1);
        EXPECT_FALSE(dlg.GetDlgItemText(IDC_PC_VALUE0).empty());
        EXPECT_EQ(dlg.GetDlgItemText(IDC_PC_VALUE0 + 2), ""); // disabled: not shown
        dlg.OnCancel();
    }
}

TEST_F(M6384P, NoReplyWhilePollingEmptiesTheFields)
{
    CSimAnalogInputPerChannel& module = AddModule(1);
    Open({"01", "06", "0", "FF", "0", "4384P"});
    Tick(m_dlg, 2);
    ASSERT_FALSE(Value(0).empty());
    module.Faults().nSilentAfter = 0;
    Tick(m_dlg, 2);
    EXPECT_EQ(Values(), std::vector<std::string>(8, ""));
}

TEST_F(M6384P, ATypeChangeIsWrittenAndStoredOnceAcknowledged)
{
    CSimAnalogInputPerChannel& module = AddModule(1);
    Open({"01", "06", "0", "FF", "0", "4384P"});
    Tick(m_dlg, 2);
    TakeRequests();
    ASSERT_TRUE(ui::ChooseRow(m_dlg, IDC_PC_TYPE0 + 3, 2)); // "+/-5V"
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$017C3R09"});
    EXPECT_EQ(m_frame.m_strChannelTypes6384P[3], "0A");
    Tick(m_dlg);
    EXPECT_EQ(Respond(), "Change Successful");
    EXPECT_EQ(m_frame.m_strChannelTypes6384P[3], "09");
    EXPECT_EQ(module.ChannelType(3), 0x09);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"#01"}); // back to polling

    module.Faults().nSilentAfter = 0;
    ASSERT_TRUE(ui::ChooseRow(m_dlg, IDC_PC_TYPE0 + 4, 0));
    Tick(m_dlg, 2);
    EXPECT_EQ(Respond(), "Change UnSuccessful");
    EXPECT_EQ(m_frame.m_strChannelTypes6384P[4], "0B");
    EXPECT_EQ(Combo(IDC_PC_TYPE0 + 4)->GetCurSel(), 0); // the list keeps the refused choice
}

TEST_F(M6384P, AnAcknowledgedTypeIsStoredForTheChannelItWasSentFor)
{
    CSimAnalogInputPerChannel& module = AddModule(1);
    Open({"01", "06", "0", "FF", "0", "4384P"});
    Tick(m_dlg, 2);
    TakeRequests();
    ui::ChooseRow(m_dlg, IDC_PC_TYPE0 + 3, 2);
    Tick(m_dlg);                               // $017C3R09 goes out
    ui::ChooseRow(m_dlg, IDC_PC_TYPE0 + 5, 3); // before its reply is checked
    Tick(m_dlg);
    EXPECT_EQ(m_frame.m_strChannelTypes6384P[3], "09");
    EXPECT_EQ(m_frame.m_strChannelTypes6384P[5], "0C");
    Tick(m_dlg);
    EXPECT_EQ(m_frame.m_strChannelTypes6384P[5], "0A");
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$017C3R09", "$017C5R0A", "#01"}));
    EXPECT_EQ(module.ChannelType(5), 0x0A);
}

TEST_F(M6384P, TickingABoxWritesTheMask)
{
    for (bool checksum : {false, true}) {
        SCOPED_TRACE(checksum);
        CSimBus bus;
        auto& module = static_cast<CSimAnalogInputPerChannel&>(bus.Add("6384P", 1, 9600));
        module.SetChecksum(checksum);
        m_link.Attach(1, bus);
        CM6384P dlg;
        m_frame.m_strAnalogInputParams = {"01", "06", checksum ? "4" : "0", "FF", "0", "4384P"};
        dlg.Create(IDD_M6384P);
        Tick(dlg, 2);
        TakeRequests();
        ASSERT_TRUE(ui::Click(dlg, kPcCheckIds[0]));
        Tick(dlg, 2);
        std::vector<std::string> sent = TakeRequests();
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0], checksum ? "$015FE45" : "$015FE");
        EXPECT_EQ(module.EnableMask(), 0xFE);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_PC_RESPOND), "Enable/Disable Channels Successful");
        Tick(dlg);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_PC_VALUE0), "");
        EXPECT_FALSE(dlg.GetDlgItemText(IDC_PC_VALUE0 + 1).empty());
        dlg.OnCancel();
    }
}

TEST_F(M6384P, AnOperatorsRequestAfterAWriteIsNotDropped)
{
    CSimAnalogInputPerChannel& module = AddModule(1);
    Open({"01", "06", "0", "FF", "0", "4384P"});
    Tick(m_dlg, 2);
    ui::Click(m_dlg, kPcCheckIds[7]);
    Tick(m_dlg); // the mask write goes out
    ui::ChooseRow(m_dlg, IDC_PC_TYPE0 + 1, 6);
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(Respond(), "Enable/Disable Channels Successful");
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$017C1R0D"});
    EXPECT_EQ(module.EnableMask(), 0x7F);
}

TEST_F(M6384P, UpdateSendsTheSettingAndTheFlagFollowsTheAcknowledgement)
{
    struct Case {
        bool answered;
        const char* box;
        int flag;
    } cases[] = {{true, "Setting Configuration OK!", 1},
                 {false, "Setting Configuration Error! \r\n Please Connect Init* to GND!", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        CSimBus bus;
        auto& module = static_cast<CSimAnalogInputPerChannel&>(bus.Add("6384P", 1, 19200));
        module.SetChecksum(true);
        m_link.Attach(1, bus);
        CM6384P dlg;
        m_frame.m_strAnalogInputParams = {"01", "07", "4", "FF", "0", "4384P"};
        m_frame.m_bAnalogInputChanged = false;
        m_frame.m_strNewRowText = {"", "", "", "", "keep"};
        m_frame.m_strNewParams = {"", "", "", "keep", "", ""};
        m_boxes.m_boxes.clear();
        dlg.Create(IDD_M6384P);
        Tick(dlg, 2);
        TakeRequests();
        ASSERT_TRUE(ui::Type(dlg, IDC_PC_ADDRESS, "10"));
        ASSERT_TRUE(ui::ChooseRow(dlg, IDC_PC_FORMAT, 1)); // "% of FSR"
        ASSERT_TRUE(ui::Click(dlg, IDC_PC_UPDATE));
        EXPECT_FALSE(m_frame.m_bAnalogInputChanged);
        if (!c.answered) module.Faults().nSilentAfter = 0;
        Tick(dlg);
        EXPECT_EQ(TakeRequests(),
                  std::vector<std::string>{"%010AFF0741" + AppendChecksum("%010AFF0741")});
        Tick(dlg);
        ASSERT_EQ(m_boxes.m_boxes.size(), 1u);
        EXPECT_EQ(m_boxes.m_boxes[0].text, c.box);
        EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
        EXPECT_EQ(m_frame.m_bAnalogInputChanged, c.flag);
        // The texts come with the flag, on the acknowledgement.
        if (c.flag) {
            EXPECT_EQ(m_frame.m_strNewRowText,
                      (RowTexts{"4384P", "0A", "19200", "Enable", "keep"}));
            EXPECT_EQ(m_frame.m_strNewParams, (ModuleParamBlock{"0A", "07", "4", "keep", "1", ""}));
        }
        EXPECT_FALSE(dlg.IsRunning());
        EXPECT_FALSE(m_link.IsAsciiOpen());
    }
}

TEST_F(M6384P, AtAddressZeroTheSwitchToModbusGoesToAddress00WithoutChecksum)
{
    CSimAnalogInputPerChannel& module = AddModule(7);
    module.SetChecksum(true);
    module.SetInit(true);
    Open({"00", "06", "4", "FF", "0", "4384P"});
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$006"});
    EXPECT_EQ(Combo(IDC_PC_CHECKSUM)->GetCurSel(), 0); // shows "Enable" all the same
    for (int id : {IDC_PC_BAUD, IDC_PC_CHECKSUM, IDC_PC_PROTOCOL}) EXPECT_TRUE(Enabled(id));
    Tick(m_dlg);
    ui::Type(m_dlg, IDC_PC_ADDRESS, "5");
    ui::ChooseRow(m_dlg, IDC_PC_PROTOCOL, 1);
    ui::Click(m_dlg, IDC_PC_UPDATE);
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"%0005FF0604"});
    module.SetInit(false);
    EXPECT_EQ(module.Protocol(), ESimProtocol::Rtu);
    EXPECT_EQ(module.Address(), 5);
}

TEST_F(M6384P, TheFormatDigitSelectsProtocolAndFormat)
{
    struct Case {
        const char* format;
        int protocolRow;
        int formatRow;
    } cases[] = {{"0", 0, 0}, {"5", 1, 1}, {"6", 1, 2}, {"3", 0, -1}, {"7", 1, -1}, {"x", 0, -1}};
    AddModule(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        CM6384P dlg;
        m_frame.m_strAnalogInputParams = {"01", "06", "0", "FF", c.format, "4384P"};
        dlg.Create(IDD_M6384P);
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(IDC_PC_PROTOCOL)->GetCurSel(), c.protocolRow);
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(IDC_PC_FORMAT)->GetCurSel(), c.formatRow);
        dlg.OnCancel();
    }
}

TEST_F(M6384P, UpdateWithoutAFormatRowKeepsTheModulesFormatAndANonHexCheckReadsAsZero)
{
    AddModule(1);
    Open({"01", "06", "x", "FF", "3", "4384P"});
    Tick(m_dlg);
    ui::Type(m_dlg, IDC_PC_ADDRESS, "2");
    ui::Click(m_dlg, IDC_PC_UPDATE);
    TakeRequests();
    Tick(m_dlg);
    // The check digit "0" and the module's format "3" go out (and are what an acknowledgement
    // writes back).
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"%0102FF0603"});
}

TEST_F(M6384P, OnlyAddressesOneTo255AreTaken)
{
    AddModule(1);
    Open({"01", "06", "0", "FF", "0", "4384P"});
    struct Case {
        const char* typed;
        const char* box;
        const char* caption;
    } cases[] = {{"0", "地址不可设置为0", "talvik4333"},
                 {"256", "Address must be 0 to 255!", ""},
                 {"-5", "Address must be 0 to 255!", ""},
                 {"abc", "地址不可设置为0", "talvik4333"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        m_boxes.m_boxes.clear();
        ui::Type(m_dlg, IDC_PC_ADDRESS, c.typed);
        ui::Click(m_dlg, IDC_PC_UPDATE);
        ASSERT_EQ(m_boxes.m_boxes.size(), 1u);
        EXPECT_EQ(m_boxes.m_boxes[0].text, c.box);
        EXPECT_EQ(m_boxes.m_boxes[0].caption, c.caption);
    }
    Tick(m_dlg, 3);
    for (const std::string& r : TakeRequests()) EXPECT_NE(r[0], '%') << r;
    EXPECT_EQ(m_frame.m_strNewParams[0], "");
}

// A Refresh pressed after Update waits behind it: the setting goes out first, to the address the
// module answers to.
TEST_F(M6384P, ARefreshWaitsBehindTheSetting)
{
    CSimAnalogInputPerChannel& module = AddModule(1);
    Open({"01", "06", "0", "FF", "0", "4384P"});
    Tick(m_dlg, 2);
    ui::Type(m_dlg, IDC_PC_ADDRESS, "11");
    ui::Click(m_dlg, IDC_PC_UPDATE);
    ui::Click(m_dlg, IDC_PC_REFRESH);
    TakeRequests();
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"%010BFF0600"});
    EXPECT_EQ(module.Address(), 0x0B);
    EXPECT_EQ(m_boxes.Texts().back(), "Setting Configuration OK!");
}

TEST_F(M6384P, TheSettingBoxComesWithTheTimerStopped)
{
    AddModule(1);
    Open({"01", "06", "0", "FF", "0", "4384P"});
    ui::Type(m_dlg, IDC_PC_ADDRESS, "2");
    ui::Click(m_dlg, IDC_PC_UPDATE);
    Tick(m_dlg);
    WatchTimerAtBoxes(m_dlg);
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.m_boxes.size(), 1u);
    EXPECT_FALSE(m_bTimerRanUnderBox);
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(M6384P, OpenComErrorKeepsPollingAnUnopenedLine)
{
    m_link.Detach(1);
    Open({"01", "06", "0", "FF", "0", "4384P"});
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Open Com Error!"});
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
    Tick(m_dlg, 2);
    EXPECT_EQ(Checked(), "00000000");
    EXPECT_EQ(Values(), std::vector<std::string>(8, ""));
}

TEST_F(M6384P, SettingsBoxesRoundTrip)
{
    AddModule(0x12, 19200).SetChecksum(true); // the module as the block has it
    m_frame.m_strAnalogInputParams = {"12", "07", "4", "FF", "2", "4384P"};
    m_frame.m_strChannelTypes6384P = kTypes;
    ExpectSettingsRoundTrip<CM6384P>(IDD_M6384P, IDC_PC_UPDATE,
                                     {{IDC_PC_BAUD, 4}, {IDC_PC_CHECKSUM, 0}, {IDC_PC_FORMAT, 2}},
                                     {"12", "07", "4", std::nullopt, "2"}, 2);
}
