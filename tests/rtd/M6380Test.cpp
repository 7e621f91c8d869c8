// The three-channel RTD dialog over ASCII against a simulated 6380.
#include "rtd/M6380.h"
#include "ModuleFixture.h"
#include "rtd/RtdIds.h"

#include "AsciiCommand.h"
#include "ModuleDialogs.h"
#include "SimRtd.h"
#include "SpoiltLine.h"
#include "Strings.h"
#include "UiDriver.h"

namespace {

using Requests = std::vector<std::string>;
using Texts = std::vector<std::string>;

std::string WithChecksum(const std::string& text)
{
    return text + AppendChecksum(text);
}

class M6380 : public CModuleFixture {
protected:
    // A 6380 at 0x17 (Cu50) with channel 1 at 25 degrees and channels 2 and 3 at 50 and 75.
    CSimRtd& AddModule(bool checksum = false)
    {
        auto& m = static_cast<CSimRtd&>(m_bus.Add("6380", 0x17, 9600));
        m.SetType(0x2C);
        m.SetChecksum(checksum);
        for (int ch = 0; ch < 3; ++ch) m.SetInput(ch, 25.0 * (ch + 1));
        return m;
    }
    // Opens the dialog on a block: address, baud code, check, range, format, model.
    void Open(ModuleParamBlock block)
    {
        m_frame.m_strThreeChannelRtdParams = block;
        m_dlg.Create(IDD_M6380);
    }
    std::string Text(int id) { return m_dlg.GetDlgItemText(id); }
    bool Enabled(int id) { return m_dlg.GetDlgItem(id)->IsWindowEnabled(); }
    int Row(int id) { return m_dlg.GetDlgItemAs<CComboBox>(id)->GetCurSel(); }
    // Presses a button and runs n ticks; the requests they sent.
    Requests Press(int button, int ticks)
    {
        TakeRequests();
        ui::Click(m_dlg, button);
        Tick(m_dlg, ticks);
        return TakeRequests();
    }

    CM6380 m_dlg;
};

const ModuleParamBlock kBlock = {"17", "06", "0", "2C", "0", "6380"};

} // namespace

TEST_F(M6380, ShowsTheSettingsAndReadsTheChannelsInTurn)
{
    CSimRtd& module = AddModule();
    Open(kBlock);
    EXPECT_EQ(Text(IDC_RTD_ADDRESS), "17") << "in hex";
    EXPECT_EQ(Text(IDC_RTD_MODEL), "6380");
    EXPECT_EQ(Row(IDC_RTD3_RANGE), 9);
    EXPECT_EQ(Text(IDC_RTD3_RANGE), "CU50 -50-150C");
    EXPECT_EQ(Row(IDC_RTD_BAUD), 3);
    EXPECT_EQ(Row(IDC_RTD_CHECKSUM), 1);
    EXPECT_EQ(Row(IDC_RTD_FORMAT), 0);
    EXPECT_EQ(m_dlg.GetWindowText(), "热电阻模块");
    for (int id :
         std::initializer_list<int>{IDC_RTD_ZERO_CALIBRATION, IDC_RTD_SPAN_CALIBRATION,
                                    kRtdInputIds[1], kRtdOhmIds[1], kRtdInputIds[2], kRtdOhmIds[2]})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(IDC_RTD_CALIBRATION));
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));

    // Each channel's fields show its own value: input values cut at their signs, resistances at
    // equal widths; an unanswered poll shows "ERROR!!" in every channel.
    Tick(m_dlg, 4);
    EXPECT_EQ(TakeRequests(), (Requests{"#17", "$17A", "#17", "$17A", "#17"}));
    const Texts inputs = {"+0025.00", "+0050.00", "+0075.00"};
    const Texts ohms = {"0055.35", "0060.70", "0066.05"};
    for (int ch = 0; ch < 3; ++ch) {
        EXPECT_EQ(Text(kRtdInputIds[ch]), inputs[static_cast<size_t>(ch)]) << ch;
        EXPECT_EQ(Text(kRtdOhmIds[ch]), ohms[static_cast<size_t>(ch)]) << ch;
    }
    module.Faults().nSilentAfter = 0;
    Tick(m_dlg, 2); // the inputs already asked for, then the resistances unanswered
    for (int ch = 0; ch < 3; ++ch) EXPECT_EQ(Text(kRtdOhmIds[ch]), "ERROR!!") << ch;
}

TEST_F(M6380, WithTheChecksumEveryRequestCarriesItsDigitsAndRepliesLoseTheirs)
{
    AddModule(true);
    Open({"17", "06", "4", "2C", "0", "6380"});
    EXPECT_EQ(Row(IDC_RTD_CHECKSUM), 0);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(),
              (Requests{WithChecksum("#17"), WithChecksum("$17A"), WithChecksum("#17")}));
    EXPECT_EQ(Text(kRtdInputIds[2]), "+0075.00");
    EXPECT_EQ(Text(kRtdOhmIds[2]), "0066.05");
}

// Enable, then zero and span: each step's status, and the pauses before polling resumes.
TEST_F(M6380, TheThreeCalibrationStepsWithTheirStatusesAndPauses)
{
    CSimRtd& module = AddModule();
    Open(kBlock);
    Tick(m_dlg);

    EXPECT_EQ(Press(IDC_RTD_CALIBRATION, 1), Requests{"~17E1"});
    DWORD before = GetTickCount();
    Tick(m_dlg);
    EXPECT_EQ(GetTickCount() - before, 150u) << "the pause of the resume step";
    EXPECT_EQ(TakeRequests(), Requests{"#17"});
    EXPECT_EQ(Text(IDC_RTD_STATUS), "校准准备完成.");
    EXPECT_TRUE(Enabled(IDC_RTD_ZERO_CALIBRATION));
    EXPECT_TRUE(Enabled(IDC_RTD_SPAN_CALIBRATION));

    struct Case {
        int button;
        const char* request;
        const char* status;
    } cases[] = {
        {IDC_RTD_ZERO_CALIBRATION, "$171", "零点校准完毕."},
        {IDC_RTD_SPAN_CALIBRATION, "$170", "满量程校准完毕."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        EXPECT_EQ(Press(c.button, 1), Requests{c.request});
        before = GetTickCount();
        m_dlg.SetDlgItemText(kRtdInputIds[0], "");
        Tick(m_dlg);
        EXPECT_EQ(GetTickCount() - before, 300u) << "150 ms after the status, 150 ms to resume";
        EXPECT_EQ(TakeRequests(), Requests{"#17"});
        EXPECT_EQ(Text(IDC_RTD_STATUS), c.status);
        EXPECT_EQ(Text(kRtdInputIds[0]), "");
        Tick(m_dlg);
        EXPECT_EQ(Text(kRtdInputIds[0]), "+0025.00") << "the resumed poll";
    }
    EXPECT_EQ(module.ZeroCalibrations(), 1);
    EXPECT_EQ(module.SpanCalibrations(), 1);
}

TEST_F(M6380, FailedCalibrationStepsShowTheirFailureTexts)
{
    CSimRtd& module = AddModule();
    Open(kBlock);
    Tick(m_dlg);
    // Before the enable the module refuses zero and span.
    m_dlg.OnZeroCalibration();
    Tick(m_dlg, 2);
    EXPECT_EQ(Text(IDC_RTD_STATUS), "零点校准失败!");
    m_dlg.OnSpanCalibration();
    Tick(m_dlg, 2);
    EXPECT_EQ(Text(IDC_RTD_STATUS), "满量程校准失败!");

    Press(IDC_RTD_CALIBRATION, 2);
    EXPECT_TRUE(Enabled(IDC_RTD_ZERO_CALIBRATION));
    module.Faults().nSilentAfter = 0;
    Press(IDC_RTD_CALIBRATION, 2);
    EXPECT_EQ(Text(IDC_RTD_STATUS), "校准没准备好!");
    EXPECT_FALSE(Enabled(IDC_RTD_ZERO_CALIBRATION));
    EXPECT_FALSE(Enabled(IDC_RTD_SPAN_CALIBRATION));
    EXPECT_TRUE(m_dlg.IsRunning());
}

// The row is rewritten when the request goes out, and the dialog closes on the tick after without
// judging the reply.
TEST_F(M6380, SettingSendsThePercentRequestWritesBackAndCloses)
{
    AddModule(true).SetAddress(0x01);
    Open({"01", "06", "4", "2C", "0", "6380"});
    Tick(m_dlg);
    ui::ChooseRow(m_dlg, IDC_RTD3_RANGE, 9);
    ui::ChooseRow(m_dlg, IDC_RTD_BAUD, 3);
    ui::ChooseRow(m_dlg, IDC_RTD_FORMAT, 0);
    ui::ChooseRow(m_dlg, IDC_RTD_CHECKSUM, 0);
    ui::Type(m_dlg, IDC_RTD_ADDRESS, "02");
    TakeRequests();
    ui::Click(m_dlg, IDC_RTD_SETTING);
    EXPECT_FALSE(m_frame.m_bThreeChannelRtdChanged) << "not before the request goes out";
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{WithChecksum("%01022C0640")});
    EXPECT_EQ(m_frame.m_strNewRowText, (decltype(m_frame.m_strNewRowText){
                                           "6380", "02", "9600", "校验允许", "CU50 -50-150C"}));
    EXPECT_EQ(m_frame.m_strNewParams,
              (decltype(m_frame.m_strNewParams){"02", "06", "4", "2C", "0"}));
    EXPECT_TRUE(m_frame.m_bThreeChannelRtdChanged);
    EXPECT_EQ(m_bus.Module(0).Address(), 0x02);
    Tick(m_dlg);
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_EQ(m_boxes.Texts(), Texts{});
    EXPECT_EQ(g_bDialogClosed, 1);
    EXPECT_TRUE(TakeRequests().empty());
}

// A reply to the configuration that is no acknowledgement ("!" and the new address) takes the
// write-back back: the row keeps the module's values.
// The row is written back as the request goes out; only the module's refusal takes it back. A
// reply spoilt on its way (the module took the request) leaves the row with the new settings.
TEST_F(M6380, OnlyARefusalTakesTheRowWrittenBackBack)
{
    for (std::optional<ESpoil> spoil :
         {std::optional<ESpoil>{}, std::optional{ESpoil::Bare}, std::optional{ESpoil::OtherAddress},
          std::optional{ESpoil::Refused}}) {
        SCOPED_TRACE(spoil ? SpoilName(*spoil) : "as the module answers");
        m_bus = CSimBus{};
        AddModule().SetAddress(0x01);
        m_frame.m_bThreeChannelRtdChanged = false;
        m_frame.m_strNewParams = {};
        CM6380 dlg;
        m_frame.m_strThreeChannelRtdParams = {"01", "06", "0", "2C", "0", "6380"};
        dlg.Create(IDD_M6380);
        Tick(dlg);
        std::optional<CSpoiltLine> line;
        if (spoil) line.emplace(*spoil, "%01");
        ui::Type(dlg, IDC_RTD_ADDRESS, "02");
        ui::Click(dlg, IDC_RTD_SETTING);
        Tick(dlg, 2);
        EXPECT_FALSE(dlg.IsRunning());
        bool refused = spoil == ESpoil::Refused;
        EXPECT_EQ(m_frame.m_bThreeChannelRtdChanged, refused ? 0 : 1);
        EXPECT_EQ(m_frame.m_strNewParams[0], refused ? "" : "02");
    }
}

TEST_F(M6380, AOneDigitAddressIsRefusedWithItsHint)
{
    AddModule();
    Open(kBlock);
    for (const char* typed : {"5", "G1", "123", ""}) {
        SCOPED_TRACE(typed);
        m_boxes.m_boxes.clear();
        ui::Type(m_dlg, IDC_RTD_ADDRESS, typed);
        ui::Click(m_dlg, IDC_RTD_SETTING);
        ASSERT_EQ(m_boxes.m_boxes.size(), 1u);
        if (std::string(typed) == "5") {
            EXPECT_EQ(m_boxes.m_boxes[0].text, "地址为1位数的前面需加0,例如05");
            EXPECT_EQ(m_boxes.m_boxes[0].caption, AfxGetAppName());
        }
        Tick(m_dlg, 2);
        for (const std::string& r : TakeRequests()) EXPECT_NE(r.substr(0, 1), "%");
    }
    EXPECT_FALSE(m_frame.m_bThreeChannelRtdChanged);
    EXPECT_TRUE(m_dlg.IsRunning());
}

// A refused baud change at address 00 leaves nothing behind: the polls keep their address and a
// calibration afterwards does not close the dialog.
TEST_F(M6380, ARefusedBaudChangeAtAddressZeroLeavesNothingBehind)
{
    AddModule();
    Open(kBlock);
    Tick(m_dlg);
    ui::ChooseRow(m_dlg, IDC_RTD_BAUD, 4);
    ui::Type(m_dlg, IDC_RTD_ADDRESS, "00");
    ui::Click(m_dlg, IDC_RTD_SETTING);
    EXPECT_EQ(m_boxes.Texts(), Texts{"重新设置时地址不能为0!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "");
    TakeRequests();
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"#17", "$17A"}));
    Press(IDC_RTD_CALIBRATION, 3);
    EXPECT_TRUE(m_dlg.IsRunning());
    EXPECT_EQ(Text(IDC_RTD_STATUS), "校准准备完成.");
    EXPECT_FALSE(m_frame.m_bThreeChannelRtdChanged);

    // The same address with the baud the module has is a setting like any other.
    ui::ChooseRow(m_dlg, IDC_RTD_BAUD, 3);
    m_boxes.m_boxes.clear();
    ui::Click(m_dlg, IDC_RTD_SETTING);
    EXPECT_EQ(m_boxes.Texts(), Texts{});
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests().back(), "%17002C0600");
}

// "设定" pressed while a calibration reply is awaited goes out on the tick after that reply.
TEST_F(M6380, ASettingPressedDuringACalibrationStepStillGoesOut)
{
    AddModule();
    Open(kBlock);
    Tick(m_dlg);
    EXPECT_EQ(Press(IDC_RTD_CALIBRATION, 1), Requests{"~17E1"});
    ui::Type(m_dlg, IDC_RTD_ADDRESS, "18");
    ui::Click(m_dlg, IDC_RTD_SETTING);
    EXPECT_FALSE(m_frame.m_bThreeChannelRtdChanged);
    Tick(m_dlg);
    EXPECT_EQ(Text(IDC_RTD_STATUS), "校准准备完成.");
    EXPECT_EQ(TakeRequests(), Requests{"%17182C0600"});
    EXPECT_TRUE(m_frame.m_bThreeChannelRtdChanged);
    Tick(m_dlg);
    EXPECT_FALSE(m_dlg.IsRunning());
}

// The boxes show the block's codes, and a setting made without touching them writes the same
// codes back once it has gone out.
TEST_F(M6380, SettingsRoundTrip)
{
    AddModule().SetBaud(19200);
    Open({"17", "07", "0", "2F", "3", "6380"});
    using BoxRow = std::pair<int, int>;
    for (auto [box, row] : {BoxRow{IDC_RTD3_RANGE, 12}, BoxRow{IDC_RTD_BAUD, 4},
                            BoxRow{IDC_RTD_CHECKSUM, 1}, BoxRow{IDC_RTD_FORMAT, 3}})
        EXPECT_EQ(Row(box), row) << box;
    ui::Click(m_dlg, IDC_RTD_SETTING);
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), Texts{});
    EXPECT_EQ(m_frame.m_strNewParams,
              (decltype(m_frame.m_strNewParams){"17", "07", "0", "2F", "3"}));
    EXPECT_EQ(TakeRequests().back(), "%17172F0703");
}

TEST_F(M6380, OpenComErrorKeepsTheDialogPollingWithoutReachingALine)
{
    AddModule();
    m_link.Detach(1);
    Open(kBlock);
    EXPECT_EQ(m_boxes.Texts(), Texts{"Open Com Error!"});
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
    Tick(m_dlg, 2);
    EXPECT_TRUE(TakeRequests().empty());
    EXPECT_EQ(Text(kRtdInputIds[0]), "ERROR!!");
}
