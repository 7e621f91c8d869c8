// The ASCII dialog of the four-channel output module with digital inputs against a simulated
// module.
#include "analog_output/M6359p.h"
#include "ModuleFixture.h"
#include "analog_output/OutputDiIds.h"

#include "AsciiCommand.h"
#include "LateLine.h"
#include "Resource.h"
#include "SimOutputDi.h"
#include "SpoiltLine.h"
#include "Strings.h"

namespace {

using Requests = std::vector<std::string>;

// Address 07 at 9600 baud, checksum off, protocol digit "0" (ASCII), format "0".
const ModuleParamBlock kBlock = {"07", "06", "0", "0", "0", "4359A"};

const Requests kRangeRead = {"$078C0", "$078C1", "$078C2", "$078C3",
                             "$07DC0", "$07DC1", "$07DC2", "$07DC3"};

class M6359p : public CModuleFixture {
protected:
    CSimOutputDi& AddModule(bool checksum = false)
    {
        auto& module = static_cast<CSimOutputDi&>(m_bus.Add("9359", 7, 9600));
        module.SetChecksum(checksum);
        return module;
    }
    void Open(const ModuleParamBlock& block = kBlock)
    {
        m_frame.m_strAnalogOutputParams = block;
        m_dlg.Create(IDD_M6359P);
    }
    // Opens and runs the range read and one value cycle.
    void OpenAndRead(const ModuleParamBlock& block = kBlock)
    {
        Open(block);
        Tick(m_dlg, 16);
        TakeRequests();
    }
    void Ask(const std::string& request)
    {
        ASSERT_TRUE(m_bus.Exchange(ESimProtocol::Ascii, SSimLine{}, request, 0)) << request;
    }
    std::string Text(int id) { return m_dlg.GetDlgItemText(id); }
    int Row(int id) { return m_dlg.GetDlgItemAs<CComboBox>(id)->GetCurSel(); }
    HICON Lamp(int k) { return m_dlg.GetDlgItemAs<CStatic>(kOdiLampIds[k])->GetIcon(); }
    // The operator drags the slider to position and lets go of it.
    void Release(int position) { ASSERT_TRUE(ui::DragSlider(m_dlg, IDC_ODI_SLIDER, position)); }

    CM6359p m_dlg;
};

} // namespace

TEST_F(M6359p, ReadsRangesAndStartupValuesThenCyclesValuesAndInputs)
{
    CSimOutputDi& module = AddModule();
    Ask("$077C1R31");
    Ask("$077C2R32");
    Ask("#07SC2-05.000");
    Ask("#07C1+12.500");
    module.SetDigitalInput(1, true);
    module.SetDigitalInput(3, true);
    Open();
    // The listed name stands for the module's own number: the opening request goes out.
    EXPECT_EQ(TakeRequests(), Requests{"$078C0"});
    EXPECT_EQ(Text(IDC_ODI_VALUE), "+00.000");
    EXPECT_FALSE(m_dlg.GetDlgItem(IDC_ODI_BAUD)->IsWindowEnabled());

    Tick(m_dlg, 9); // the eight reads and one tick without a request
    EXPECT_EQ(TakeRequests(), kRangeRead);
    Tick(m_dlg, 6); // four values, the inputs and one tick without a request
    EXPECT_EQ(TakeRequests(), (Requests{"$076C0", "$076C1", "$076C2", "$076C3", "$07I"}));
    Tick(m_dlg);
    EXPECT_EQ(Row(kOdiRangeIds[0]), 0);
    EXPECT_EQ(Row(kOdiRangeIds[1]), 1); // read after the "R" of "!07C1R31"
    EXPECT_EQ(Row(kOdiRangeIds[2]), 2);
    EXPECT_EQ(Text(kOdiStartupIds[2]), "-05.000");
    EXPECT_EQ(Text(IDC_ODI_CHANNEL), "CH0");
    EXPECT_EQ(Text(IDC_ODI_SCALE), "0            10          20mA");
    EXPECT_EQ(Text(kOdiCurrentIds[1]), "+12.500");
    EXPECT_EQ(Text(kOdiCurrentIds[2]), "+00.000"); // a new range keeps the module's output at 0
    EXPECT_EQ(Lamp(0), IDI_LAMP_OFF);
    EXPECT_EQ(Lamp(1), IDI_LAMP_ON);
    EXPECT_EQ(Lamp(3), IDI_LAMP_ON);
    EXPECT_EQ(TakeRequests(), Requests{"$076C0"}); // every six ticks again
}

TEST_F(M6359p, WithTheChecksumOnTheInputsReplyStillCountsAsFourCharacters)
{
    CSimOutputDi& module = AddModule(true);
    module.SetDigitalInput(2, true);
    Open({"07", "06", "4", "0", "0", "4359A"});
    Tick(m_dlg, 16);
    Requests requests = TakeRequests();
    ASSERT_GE(requests.size(), 3u);
    EXPECT_EQ(requests[2], "$078C1" + AppendChecksum("$078C1"));
    EXPECT_EQ(Lamp(2), IDI_LAMP_ON);
}

// Lamps come only from an answer to "$AAI": an unanswered or refused read leaves them as they
// are (and not decoded from whatever the reading slot held before).
TEST_F(M6359p, LampsStayWithoutAReadingOfTheInputs)
{
    CSimOutputDi& module = AddModule();
    Ask("#07SC0+05.000"); // "+" read as a digit would light DI0, DI1 and DI3
    module.SetDigitalInput(2, true);
    Open();
    Tick(m_dlg, 13); // the range read and four value reads
    module.Faults().nSilentAfter = 0;
    Tick(m_dlg);
    ASSERT_EQ(TakeRequests().back(), "$07I"); // unanswered
    module.Faults().nSilentAfter = -1;
    Tick(m_dlg, 2); // the cycle's end, then its values shown
    for (int k = 0; k < 4; ++k) EXPECT_EQ(Lamp(k), IDI_LAMP_OFF) << k;

    Tick(m_dlg, 6); // the next cycle, answered
    EXPECT_EQ(Lamp(2), IDI_LAMP_ON);
    EXPECT_EQ(Lamp(0), IDI_LAMP_OFF);
}

// A module whose replies come one request late: each value would land in the next channel's
// field. The cycle's reply to "$AAI" (or to "$AA6C0") fits no value and no digit of the inputs,
// so the cycle shows as a silent one: no channel ever shows another channel's value.
TEST_F(M6359p, RepliesOneRequestLateShowNoValueInAnotherChannelsField)
{
    AddModule();
    Ask("#07C0+01.000");
    Ask("#07C1+02.000");
    Ask("#07C2+03.000");
    Ask("#07C3+04.000");
    OpenAndRead();
    ASSERT_EQ(Text(kOdiCurrentIds[1]), "+02.000");
    CLateLine line;
    line.SetLate(true);
    for (int i = 0; i < 18; ++i) {
        Tick(m_dlg);
        for (int ch = 0; ch < 4; ++ch) {
            std::string shown = Text(kOdiCurrentIds[ch]);
            EXPECT_TRUE(shown == Format("+0%d.000", ch + 1) || shown.empty())
                << "tick " << i << " CH" << ch << " " << shown;
        }
    }
    EXPECT_EQ(Text(kOdiCurrentIds[1]), "");
}

// One reply of the cycle that fits no value: the cycle shows as silence, every channel empty.
TEST_F(M6359p, ACycleWithAReplyOfAnotherShapeShowsNoValue)
{
    CSimOutputDi& module = AddModule();
    Ask("#07C0+01.000");
    OpenAndRead();
    ASSERT_EQ(Text(kOdiCurrentIds[0]), "+01.000");
    Tick(m_dlg, 2); // $AA6C1 and $AA6C2 go out, answered
    module.Faults().nLongTo = 12;
    Tick(m_dlg); // the reply to $AA6C3 comes padded
    module.Faults().nLongTo = 0;
    Tick(m_dlg, 3);
    for (int ch = 0; ch < 4; ++ch) EXPECT_EQ(Text(kOdiCurrentIds[ch]), "") << ch;
    Tick(m_dlg, 6); // the next cycle, answered
    EXPECT_EQ(Text(kOdiCurrentIds[0]), "+01.000");
}

TEST_F(M6359p, NoReplyLeavesTheRangesAndShowsNoValues)
{
    CSimOutputDi& module = AddModule();
    module.Faults().nSilentAfter = 0;
    Open();
    Tick(m_dlg, 16);
    for (int ch = 0; ch < 4; ++ch) EXPECT_EQ(Row(kOdiRangeIds[ch]), -1);
    EXPECT_EQ(Text(kOdiCurrentIds[0]), ""); // no piece of "ERROR" is a value
}

TEST_F(M6359p, ARangeChangeIsWrittenAndItsOutcomeShown)
{
    CSimOutputDi& module = AddModule();
    OpenAndRead();
    ui::ChooseRow(m_dlg, kOdiRangeIds[3], 2);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"$077C3R32", "$076C0"}));
    EXPECT_EQ(Text(IDC_ODI_RESPOND), "Change Successful");
    EXPECT_EQ(module.ChannelType(3), 0x32);
    // Refused, the list shows the module's range again.
    CSpoiltLine refusing(ESpoil::Declined, "$077C3");
    refusing.HideFrom(m_bus);
    ui::ChooseRow(m_dlg, kOdiRangeIds[3], 0);
    Tick(m_dlg, 2);
    EXPECT_EQ(Text(IDC_ODI_RESPOND), "Change UnSuccessful");
    EXPECT_EQ(Row(kOdiRangeIds[3]), 2);
    EXPECT_EQ(module.ChannelType(3), 0x32);
}

TEST_F(M6359p, TheSliderFillsTheValueAndOutputSendsItForTheSelectedChannel)
{
    CSimOutputDi& module = AddModule();
    Ask("$077C2R32");
    OpenAndRead();
    struct Case {
        int channel;
        int position;
        const char* text;
        const char* request;
    } cases[] = {
        {0, 12500, "+12.500", "#07C0+12.500"},
        {2, 5000, "-05.000", "#07C2-05.000"}, // +/-10 V: the position less 10000
        {2, 20000, "+10.000", "#07C2+10.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        ui::ChooseRow(m_dlg, IDC_ODI_CHANNEL, c.channel);
        Release(c.position);
        EXPECT_EQ(Text(IDC_ODI_VALUE), c.text);
        EXPECT_TRUE(TakeRequests().empty()); // a release sends nothing
        ui::Click(m_dlg, IDC_ODI_OUTPUT);
        Tick(m_dlg, 2);
        EXPECT_EQ(TakeRequests(), (Requests{c.request, "$076C0"}));
    }
    EXPECT_DOUBLE_EQ(module.Output(2), 10.0);
}

TEST_F(M6359p, AClickOnTheSlidersGrooveFillsTheValueThatOutputSends)
{
    CSimOutputDi& module = AddModule();
    OpenAndRead();
    ui::ChooseRow(m_dlg, IDC_ODI_CHANNEL, 1);
    m_dlg.GetDlgItemAs<CSliderCtrl>(IDC_ODI_SLIDER)->SetPos(5000);
    ASSERT_TRUE(ui::PressSlider(m_dlg, IDC_ODI_SLIDER, ui::SliderSpot::GrooveAfterThumb));
    int position = m_dlg.GetDlgItemAs<CSliderCtrl>(IDC_ODI_SLIDER)->GetPos();
    ASSERT_GT(position, 5000);
    std::string value = Format("+%02d.%03d", position / 1000, position % 1000);
    EXPECT_EQ(Text(IDC_ODI_VALUE), value);
    EXPECT_TRUE(TakeRequests().empty());
    ui::Click(m_dlg, IDC_ODI_OUTPUT);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"#07C1" + value, "$076C0"}));
    EXPECT_DOUBLE_EQ(module.Output(1), position / 1000.0);
}

// Values the channel's range cannot take, or that are no number, are refused and nothing goes
// out; without a channel chosen neither the slider nor Output do anything.
TEST_F(M6359p, OnlyValuesInsideTheChannelsRangeGoOut)
{
    AddModule();
    OpenAndRead();
    for (const char* typed : {"25", "-1", "abc", "1.2.3", "", "+5.00x1", "20.0005"}) {
        SCOPED_TRACE(typed);
        m_boxes.m_boxes.clear();
        ui::Type(m_dlg, IDC_ODI_VALUE, typed);
        ui::Click(m_dlg, IDC_ODI_OUTPUT);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Please Input Valid Value!"});
        Tick(m_dlg);
        for (const std::string& r : TakeRequests()) EXPECT_NE(r.substr(0, 4), "#07C") << r;
    }
    m_dlg.GetDlgItemAs<CComboBox>(IDC_ODI_CHANNEL)->SetCurSel(-1);
    ui::Type(m_dlg, IDC_ODI_VALUE, "+05.000");
    Release(7000);
    EXPECT_EQ(Text(IDC_ODI_VALUE), "+05.000");
    ui::Click(m_dlg, IDC_ODI_OUTPUT);
    Tick(m_dlg, 2);
    for (const std::string& r : TakeRequests()) EXPECT_NE(r.substr(0, 4), "#07C") << r;
}

// A typed value with more decimals than three is rounded to three, then checked against the range.
TEST_F(M6359p, TypedValuesAreRoundedToThreeDecimals)
{
    AddModule();
    OpenAndRead();
    struct Case {
        const char* typed;
        const char* request;
    } cases[] = {
        {"+5.0001", "#07C0+05.000"},  {"5.0005", "#07C0+05.001"},  {"12.34567", "#07C0+12.346"},
        {"19.99951", "#07C0+20.000"}, {"20.0004", "#07C0+20.000"},
    };
    ui::ChooseRow(m_dlg, IDC_ODI_CHANNEL, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        m_boxes.m_boxes.clear();
        ui::Type(m_dlg, IDC_ODI_VALUE, c.typed);
        ui::Click(m_dlg, IDC_ODI_OUTPUT);
        EXPECT_TRUE(m_boxes.Texts().empty());
        Tick(m_dlg, 2);
        EXPECT_EQ(TakeRequests(), (Requests{c.request, "$076C0"}));
    }
}

TEST_F(M6359p, StartupValuesAreWrittenInTurnAndTheBoxShowsWithPollingBehindIt)
{
    CSimOutputDi& module = AddModule();
    OpenAndRead();
    for (int ch = 0; ch < 4; ++ch) ui::Type(m_dlg, kOdiStartupIds[ch], Format("%d", 4 + ch));
    int ticksUnderBox = 0;
    m_boxes.m_onBox = [&](const MessageBoxRequest&) {
        EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
        m_dlg.FireTimer(kPollTimer);
        ++ticksUnderBox;
        return IDOK;
    };
    ui::Click(m_dlg, IDC_ODI_UPDATE_STARTUP);
    Tick(m_dlg, 8);
    // A read stands between two writes, so that no write takes another's late reply.
    Requests requests = TakeRequests();
    EXPECT_EQ(Requests(requests.begin(), requests.begin() + 7),
              (Requests{"#07SC0+04.000", "$076C0", "#07SC1+05.000", "$076C0", "#07SC2+06.000",
                        "$076C0", "#07SC3+07.000"}));
    ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{"Update Channel Setup Succeeded"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "talvik4333");
    EXPECT_EQ(ticksUnderBox, 1);
    // The range read starts again, and goes on behind the box.
    EXPECT_EQ(Requests(requests.begin() + 7, requests.end()), (Requests{"$078C0", "$078C1"}));
    EXPECT_DOUBLE_EQ(module.Startup(3), 7.0);
    EXPECT_TRUE(m_dlg.IsRunning());
}

// Each startup value is a write of its own: a refused one shows the module's value again and the
// others are still written; no success is shown, and the range read starts again once all four
// are settled.
TEST_F(M6359p, ARefusedStartupValueShowsTheModulesValueAndNoSuccess)
{
    CSimOutputDi& module = AddModule();
    Ask("#07SC1+03.000");
    OpenAndRead();
    for (int ch = 0; ch < 4; ++ch) ui::Type(m_dlg, kOdiStartupIds[ch], "5");
    CSpoiltLine refusing(ESpoil::Declined, "#07SC1");
    refusing.HideFrom(m_bus);
    ui::Click(m_dlg, IDC_ODI_UPDATE_STARTUP);
    Tick(m_dlg, 4);
    EXPECT_EQ(Text(kOdiStartupIds[1]), "+03.000");
    EXPECT_EQ(Text(kOdiStartupIds[2]), "5") << "a value still to be written stays";
    Tick(m_dlg, 4);
    Requests requests = TakeRequests();
    EXPECT_EQ(std::ranges::count(requests, "#07SC1+05.000"), 1);
    EXPECT_EQ(requests.back(), "$078C0");
    EXPECT_TRUE(m_boxes.m_boxes.empty());
    EXPECT_DOUBLE_EQ(module.Startup(1), 3.0);
    EXPECT_DOUBLE_EQ(module.Startup(3), 5.0);
    Tick(m_dlg, 9);
    EXPECT_EQ(Text(kOdiStartupIds[3]), "+05.000");
}

TEST_F(M6359p, UpdateSendsTheConfigurationAndTheFlagFollowsTheAcknowledgement)
{
    struct Case {
        int protocolRow;
        int checksumRow;
        const char* request;
        const char* check;
    } cases[] = {
        {0, 1, "%0008000600", "0"},
        {1, 1, "%0008000680", "0"},
        {1, 0, "%00080006C0", "4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        CSimBus bus;
        bus.Add("9359", 0, 9600).SetInit(true);
        m_link.Attach(1, bus);
        m_frame.m_bAnalogOutputChanged = false;
        m_boxes.m_boxes.clear();
        m_frame.m_strAnalogOutputParams = {"00", "06", "0", "0", "0", "4359A"};
        CM6359p dlg;
        dlg.Create(IDD_M6359P);
        ui::Type(dlg, IDC_ODI_ADDRESS, "8");
        ui::ChooseRow(dlg, IDC_ODI_PROTOCOL, c.protocolRow);
        ui::ChooseRow(dlg, IDC_ODI_CHECKSUM, c.checksumRow);
        ui::Click(dlg, IDC_ODI_UPDATE);
        EXPECT_FALSE(m_frame.m_bAnalogOutputChanged);
        m_link.ClearTraffic();
        dlg.FireTimer(kPollTimer);
        EXPECT_EQ(m_link.Requests(), Requests{c.request});
        dlg.FireTimer(kPollTimer);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
        EXPECT_TRUE(m_frame.m_bAnalogOutputChanged);
        EXPECT_EQ(m_frame.m_strNewRowText[1], "08"); // the texts come with the flag
        EXPECT_EQ(m_frame.m_strNewParams[2], c.check);
        EXPECT_EQ(m_frame.m_strNewParams[4], "0");
        EXPECT_FALSE(dlg.IsRunning());
    }
}

TEST_F(M6359p, ARefusedConfigurationClosesWithoutTheFlag)
{
    AddModule();
    OpenAndRead();
    ui::Type(m_dlg, IDC_ODI_ADDRESS, "9");
    ui::Click(m_dlg, IDC_ODI_UPDATE);
    m_bus.Module(0).Faults().nGarbage = 3;
    WatchTimerAtBoxes(m_dlg);
    Tick(m_dlg, 2);
    EXPECT_EQ(
        m_boxes.Texts(),
        std::vector<std::string>{"Setting Configuration Error! \r\n Please Connect Init* to GND!"});
    EXPECT_FALSE(m_bTimerRanUnderBox);
    EXPECT_FALSE(m_frame.m_bAnalogOutputChanged);
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_link.IsAsciiOpen());
}

TEST_F(M6359p, AddressZeroIsRefused)
{
    AddModule();
    OpenAndRead();
    ui::Type(m_dlg, IDC_ODI_ADDRESS, "0");
    ui::Click(m_dlg, IDC_ODI_UPDATE);
    ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{"地址不可设置为0"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "talvik4333");
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests()[0].substr(0, 3), "$07"); // the old address, still polled
}
