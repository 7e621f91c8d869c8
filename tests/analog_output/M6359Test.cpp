// The analog-output dialog over ASCII against simulated one-, two- and four-channel modules.
#include "analog_output/M6359.h"
#include "ModuleFixture.h"
#include "analog_output/AnalogOutputIds.h"

#include "AsciiCommand.h"
#include "SimAnalogOutput.h"
#include "SpoiltLine.h"
#include "Strings.h"

#include <QApplication>
#include <QFocusEvent>
#include <QSlider>

namespace {

using Requests = std::vector<std::string>;

class M6359 : public CModuleFixture {
protected:
    CSimAnalogOutput& AddModule(const char* model, int address = 1, BYTE type = 0x30)
    {
        auto& ao = static_cast<CSimAnalogOutput&>(m_bus.Add(model, address, 9600));
        if (std::string(model) != "6355") ao.SetType(type);
        return ao;
    }
    // Opens the dialog on a block: address, baud code, check, range, format, model.
    void Open(ModuleParamBlock block)
    {
        m_frame.m_strAnalogOutputParams = block;
        m_dlg.Create(IDD_M6359);
    }
    std::string Text(int id) { return m_dlg.GetDlgItemText(id); }
    std::string Output(int k) { return Text(kAoChannels[static_cast<size_t>(k)].nOutput); }
    std::string ReadBack(int k) { return Text(kAoChannels[static_cast<size_t>(k)].nReadBack); }
    bool Enabled(int id) { return m_dlg.GetDlgItem(id)->IsWindowEnabled(); }
    bool Visible(int id) { return m_dlg.GetDlgItem(id)->IsWindowVisible(); }
    CComboBox* Combo(int id) { return m_dlg.GetDlgItemAs<CComboBox>(id); }
    CSliderCtrl* SliderCtrl(int k)
    {
        return m_dlg.GetDlgItemAs<CSliderCtrl>(kAoChannels[static_cast<size_t>(k)].nSlider);
    }
    QSlider* Slider(int k) { return qobject_cast<QSlider*>(SliderCtrl(k)->GetWidget()); }
    // The operator drags slider k to position and lets go of it.
    void Drag(int k, int position)
    {
        ASSERT_TRUE(ui::DragSlider(m_dlg, kAoChannels[static_cast<size_t>(k)].nSlider, position));
    }
    // The operator moves slider k one page with the keyboard.
    void PageUp(int k) { Slider(k)->triggerAction(QAbstractSlider::SliderPageStepAdd); }

    CM6359 m_dlg;
};

} // namespace

TEST_F(M6359, EachKindOpensWithItsPanelsAndReadsItsChannelsInTurn)
{
    struct Case {
        const char* model;
        Requests opening;
        Requests cycle;
    } cases[] = {
        {"6358", {"$016"}, {"$016", "$016", "$016"}},
        {"6355", {"$0190", "$0191", "$0160"}, {"$0161", "$0160", "$0161"}},
        {"6359", {"$0160"}, {"$0161", "$0162", "$0163", "$0160"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        CSimBus bus;
        auto& ao = static_cast<CSimAnalogOutput&>(bus.Add(c.model, 1, 9600));
        for (int k = 0; k < ao.Channels(); ++k) ao.SetInput(k, 1.5 + k);
        m_link.Attach(1, bus);
        m_link.ClearTraffic();
        CM6359 dlg;
        m_frame.m_strAnalogOutputParams = ModuleParamBlock{"01", "06", "0", "30", "0", c.model};
        dlg.Create(IDD_M6359);
        EXPECT_EQ(TakeRequests(), c.opening);
        Tick(dlg, static_cast<int>(c.cycle.size()));
        EXPECT_EQ(TakeRequests(), c.cycle);
        EXPECT_TRUE(dlg.IsTimerActive(kPollTimer));
        EXPECT_EQ(m_clock.TickCount() > 0, true);
        bool four = std::string(c.model) == "6359";
        bool two = std::string(c.model) == "6355";
        EXPECT_EQ(dlg.GetDlgItem(IDC_AO_RANGE4)->IsWindowVisible(), four);
        EXPECT_EQ(dlg.GetDlgItem(IDC_AO_RANGE_CH0)->IsWindowVisible(), two);
        EXPECT_EQ(dlg.GetDlgItem(IDC_AO_CH1_SET)->IsWindowVisible(), two);
        EXPECT_EQ(dlg.GetDlgItem(IDC_AO_WATCHDOG)->IsWindowVisible(), !two);
        EXPECT_EQ(dlg.GetDlgItem(kAoChannels[1].nSlider)->IsWindowEnabled(),
                  !c.cycle.empty() && c.model[3] != '8');
        EXPECT_EQ(dlg.GetDlgItem(kAoChannels[2].nOutput)->IsWindowEnabled(), four);
        EXPECT_EQ(dlg.GetDlgItem(kAoChannels[2].labels[0])->IsWindowEnabled(),
                  !(c.model[3] == '8'));
        for (int id : {IDC_AO_CAL_ZERO, IDC_AO_CAL_SPAN, IDC_AO_TRIM, IDC_AO_SET_SAFE})
            EXPECT_FALSE(dlg.GetDlgItem(id)->IsWindowEnabled()) << id;
        EXPECT_FALSE(dlg.GetDlgItem(IDC_AO_ZERO_HIDDEN)->IsWindowVisible());
        // The first value of each channel also sets its Output edit and slider.
        auto* slider0 = dlg.GetDlgItemAs<CSliderCtrl>(kAoChannels[0].nSlider);
        EXPECT_EQ(slider0->GetPos(), 1500);
        std::string first = dlg.GetDlgItemText(kAoChannels[0].nReadBack);
        EXPECT_EQ(first, four ? "+01.500" : "01.500");
        EXPECT_EQ(dlg.GetDlgItemText(kAoChannels[0].nOutput), first);
        ui::CloseBox(dlg);
    }
}

TEST_F(M6359, RangeCodesSetLabelsSlidersAndTheSlewList)
{
    struct Case {
        const char* script;
        const char* format;
        const char* low;
        const char* unit;
        int max;
        int row;
        int slewBox;
        int slewRow;
    } cases[] = {
        {"30", "0", "0", "mA", 20000, 0, IDC_AO_SLEW_MA, 0},
        {"31", "4", "4", "mA", 20000, 1, IDC_AO_SLEW_MA, 1},
        {"32", "9", "0", "V", 10000, 2, IDC_AO_SLEW_V, 2},
        {"3F", "0", "0", "v/a", -1, -1, IDC_AO_SLEW_MA, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        CSimBus bus;
        bus.Add("6359", 1, 9600);
        m_link.Attach(1, bus);
        CM6359 dlg;
        m_frame.m_strAnalogOutputParams =
            ModuleParamBlock{"01", "06", "0", c.script, c.format, "6359"};
        dlg.Create(IDD_M6359);
        EXPECT_EQ(dlg.GetDlgItemText(kAoChannels[3].labels[0]), c.low);
        EXPECT_EQ(dlg.GetDlgItemText(kAoChannels[3].nUnit), c.unit);
        if (c.max > 0) {
            EXPECT_EQ(dlg.GetDlgItemAs<CSliderCtrl>(kAoChannels[3].nSlider)->GetRangeMax(), c.max);
        }
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(IDC_AO_RANGE4)->GetCurSel(), c.row);
        EXPECT_TRUE(dlg.GetDlgItem(c.slewBox)->IsWindowVisible());
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(c.slewBox)->GetCurSel(), c.slewRow);
        ui::CloseBox(dlg);
    }
}

TEST_F(M6359, ChecksumFramesRequestsAndIsCutFromReplies)
{
    CSimAnalogOutput& ao = AddModule("6358");
    ao.SetChecksum(true);
    ao.SetInput(0, 5.0);
    Open({"01", "06", "4", "30", "0", "6358"});
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(),
              (Requests{"$016" + AppendChecksum("$016"), "$016" + AppendChecksum("$016")}));
    EXPECT_EQ(ReadBack(0), "05.000");
}

TEST_F(M6359, OnlyTheFirstValueOfAChannelReachesItsOutputEditAndSlider)
{
    CSimAnalogOutput& ao = AddModule("6359");
    ao.SetInput(2, 5.0);
    Open({"01", "06", "0", "30", "0", "6359"});
    Tick(m_dlg, 3);
    EXPECT_EQ(ReadBack(2), "+05.000");
    EXPECT_EQ(Output(2), "+05.000");
    EXPECT_EQ(SliderCtrl(2)->GetPos(), 5000);
    ao.SetInput(2, 7.0);
    Tick(m_dlg, 4);
    EXPECT_EQ(ReadBack(2), "+07.000");
    EXPECT_EQ(Output(2), "+05.000");
    EXPECT_EQ(SliderCtrl(2)->GetPos(), 5000);
}

TEST_F(M6359, SliderReleaseWritesKeyboardMovesOnlyUpdateTheEdits)
{
    struct Case {
        const char* model;
        int channel;
        const char* write;
        const char* edit;
        const char* pageEdit;
    } cases[] = {
        {"6359", 2, "#012+05.000", "+05.000", "+01.000"},
        {"6355", 1, "#01105.000", "05.000", "01.000"},
        {"6358", 0, "#0105.000", "05.000", "01.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        CSimBus bus;
        auto& ao = static_cast<CSimAnalogOutput&>(bus.Add(c.model, 1, 9600));
        if (std::string(c.model) != "6355")
            ao.SetType(0x32);
        else
            bus.Exchange(ESimProtocol::Ascii, {}, "$019120", 0);
        m_link.Attach(1, bus);
        CM6359 dlg;
        m_frame.m_strAnalogOutputParams = ModuleParamBlock{"01", "06", "0", "32", "0", c.model};
        dlg.Create(IDD_M6359);
        Tick(dlg, 2);
        m_link.ClearTraffic();
        auto* slider = qobject_cast<QSlider*>(
            dlg.GetDlgItem(kAoChannels[static_cast<size_t>(c.channel)].nSlider)->GetWidget());
        slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
        EXPECT_EQ(dlg.GetDlgItemText(kAoChannels[static_cast<size_t>(c.channel)].nOutput),
                  c.pageEdit);
        Tick(dlg);
        EXPECT_EQ(TakeRequests().size(), 1u);
        EXPECT_TRUE(ao.OutputLog().empty());
        slider->setSliderDown(true);
        slider->setSliderPosition(5000);
        slider->triggerAction(QAbstractSlider::SliderMove);
        EXPECT_EQ(dlg.GetDlgItemText(kAoChannels[static_cast<size_t>(c.channel)].nOutput), c.edit);
        Tick(dlg);
        EXPECT_TRUE(ao.OutputLog().empty()) << "dragging sends nothing";
        TakeRequests();
        slider->setSliderDown(false);
        Tick(dlg);
        EXPECT_EQ(TakeRequests(), Requests{c.write});
        ASSERT_EQ(ao.OutputLog().size(), 1u);
        EXPECT_EQ(ao.Output(c.channel), 5.0);
        // The tick after the write starts the reading again at channel 0.
        Tick(dlg);
        EXPECT_EQ(TakeRequests(), Requests{c.model[3] == '8' ? "$016" : "$0160"});
        ui::CloseBox(dlg);
    }
}

// A slider let go of, or a value typed, while the module's replies fail waits: the reads go on
// until one is answered, and the write goes out on the tick after it. A range command waits too.
TEST_F(M6359, AWriteAskedForWhileTheModuleIsSilentGoesOutOnceItAnswers)
{
    CSimAnalogOutput& ao = AddModule("6359");
    Open({"01", "06", "0", "30", "0", "6359"});
    Tick(m_dlg, 4);
    ao.Faults().nSilentAfter = 0;
    Tick(m_dlg);
    Drag(2, 5000);
    Tick(m_dlg, 3);
    EXPECT_EQ(Output(2), "+05.000");
    EXPECT_TRUE(ao.OutputLog().empty());
    ao.Faults().nSilentAfter = -1;
    TakeRequests();
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(), (Requests{"$0160", "#012+05.000", "$0160"}));
    EXPECT_EQ(ao.Output(2), 5.0);

    // Writes of two channels asked for meanwhile both go out, each after an answered read.
    ao.Faults().nSilentAfter = 0;
    Tick(m_dlg);
    Drag(2, 7000);
    ASSERT_TRUE(ui::Type(m_dlg, kAoChannels[1].nOutput, "8"));
    Tick(m_dlg, 2);
    ao.Faults().nSilentAfter = -1;
    TakeRequests();
    Tick(m_dlg, 4);
    EXPECT_EQ(TakeRequests(), (Requests{"$0160", "#012+07.000", "$0160", "#011+08.000"}));
    EXPECT_EQ(ao.Output(2), 7.0);
    EXPECT_EQ(ao.Output(1), 8.0);
}

// A write that went out as the module fell silent may never have been heard: it goes out again
// once the module answers.
TEST_F(M6359, AWriteTheModuleDidNotAnswerGoesOutAgainOnceItAnswers)
{
    CSimAnalogOutput& ao = AddModule("6359");
    Open({"01", "06", "0", "30", "0", "6359"});
    Tick(m_dlg, 4);
    Drag(2, 5000);
    ao.Faults().nSilentAfter = 0;
    TakeRequests();
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(), (Requests{"#012+05.000", "$0160", "$0160"}));
    ao.Faults().nSilentAfter = -1;
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(), (Requests{"$0160", "#012+05.000", "$0160"}));
    EXPECT_EQ(ao.Output(2), 5.0);
}

TEST_F(M6359, AClickOnASlidersGrooveWritesTheValueItMovedTo)
{
    CSimAnalogOutput& ao = AddModule("6359", 1, 0x32);
    Open({"01", "06", "0", "32", "0", "6359"});
    Tick(m_dlg, 4);
    TakeRequests();
    ASSERT_TRUE(ui::PressSlider(m_dlg, kAoChannels[2].nSlider, ui::SliderSpot::GrooveAfterThumb));
    EXPECT_EQ(Output(2), "+01.000"); // one page
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"#012+01.000"});
    EXPECT_EQ(ao.Output(2), 1.0);
}

TEST_F(M6359, TypedOutputsMustBeNumbersInsideTheRange)
{
    CSimAnalogOutput& ao = AddModule("6359", 1, 0x31); // 4 to 20 mA
    Open({"01", "06", "0", "31", "0", "6359"});
    Tick(m_dlg, 4);
    TakeRequests();
    struct Case {
        const char* typed;
        const char* sent; // nullptr: refused
    } cases[] = {
        {"+7.5", "#010+07.500"}, {"12", "#010+12.000"}, {"abc", nullptr},
        {"3.9", nullptr},        {"20.5", nullptr},     {"7.5V", nullptr},
        {"", nullptr},           {"+1.2345", nullptr},  {"20", "#010+20.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        m_boxes.m_boxes.clear();
        ASSERT_TRUE(ui::Type(m_dlg, kAoChannels[0].nOutput, c.typed));
        Tick(m_dlg);
        Requests sent = TakeRequests();
        ASSERT_EQ(sent.size(), 1u);
        if (c.sent) {
            EXPECT_EQ(sent[0], c.sent);
            EXPECT_TRUE(m_boxes.Texts().empty());
            Tick(m_dlg); // the restart read
            TakeRequests();
        } else {
            EXPECT_EQ(sent[0].substr(0, 4), "$016");
            EXPECT_EQ(m_boxes.Texts(), Requests{"Output must be a number from 4 to 20!"});
        }
    }
    EXPECT_EQ(ao.OutputLog().size(), 3u);
    EXPECT_EQ(SliderCtrl(0)->GetPos(), 20000);
}

TEST_F(M6359, LeavingAnOutputEditWritesItsValueAgain)
{
    CSimAnalogOutput& ao = AddModule("6359");
    ao.SetInput(1, 2.0);
    Open({"01", "06", "0", "30", "0", "6359"});
    Tick(m_dlg, 2);
    TakeRequests();
    QWidget* edit = m_dlg.GetDlgItem(kAoChannels[1].nOutput)->GetWidget();
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"#011+02.000"});
}

TEST_F(M6359, ChannelRangeButtonsWriteRangeAndSlewAndReportTheOutcome)
{
    CSimAnalogOutput& ao = AddModule("6355");
    Open({"01", "06", "0", "3F", "0", "6355"});
    EXPECT_EQ(Combo(IDC_AO_RANGE_CH0)->GetCurSel(), 0);
    EXPECT_EQ(Combo(IDC_AO_SLEW_CH1)->GetCurSel(), 0);
    EXPECT_FALSE(Enabled(IDC_AO_SLEW_MA));
    Tick(m_dlg);
    TakeRequests();

    ui::ChooseRow(m_dlg, IDC_AO_RANGE_CH1, 2);
    ui::ChooseRow(m_dlg, IDC_AO_SLEW_CH1, 12);
    ui::Click(m_dlg, IDC_AO_CH1_SET);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"$0191212", "$0160"}));
    EXPECT_EQ(Text(IDC_AO_STATUS), "CH1 Ready!");
    EXPECT_EQ(ao.SlewIndex(1), 12);

    // A refusal: the lists show the module's rows again, and the command goes out no more.
    ui::ChooseRow(m_dlg, IDC_AO_SLEW_CH0, 3);
    ui::Click(m_dlg, IDC_AO_CH0_SET);
    {
        CSpoiltLine refusing(ESpoil::Declined, "$0190");
        refusing.HideFrom(m_bus);
        Tick(m_dlg, 4);
    }
    EXPECT_EQ(std::ranges::count(TakeRequests(), "$019003"), 1);
    EXPECT_EQ(Text(IDC_AO_STATUS), "CH0 Error!");
    EXPECT_EQ(Combo(IDC_AO_SLEW_CH0)->GetCurSel(), 0);
    EXPECT_EQ(ao.SlewIndex(0), 0);

    // A command the module does not answer says nothing yet: it goes out again once the module
    // answers a read, and its answer is the outcome. A later read is no answer to it.
    ui::ChooseRow(m_dlg, IDC_AO_SLEW_CH1, 5);
    ui::Click(m_dlg, IDC_AO_CH1_SET);
    ao.Faults().nSilentAfter = 0;
    Tick(m_dlg, 3);
    EXPECT_EQ(Text(IDC_AO_STATUS), "CH0 Error!");
    EXPECT_EQ(Combo(IDC_AO_SLEW_CH1)->GetCurSel(), 5) << "the operator's row stays";
    ao.Faults().nSilentAfter = -1;
    TakeRequests();
    Tick(m_dlg, 3);
    EXPECT_EQ(TakeRequests(), (Requests{"$0160", "$019125", "$0160"}));
    EXPECT_EQ(Text(IDC_AO_STATUS), "CH1 Ready!");
    EXPECT_EQ(ao.SlewIndex(1), 5);
}

// A channel takes the range of an acknowledged range command: its labels, unit and slider, and
// so what may be typed; a refused command leaves the channel as it was.
TEST_F(M6359, AnAcknowledgedRangeCommandRescalesItsChannel)
{
    CSimAnalogOutput& ao = AddModule("6355");
    Open({"01", "06", "0", "3F", "0", "6355"});
    Tick(m_dlg);
    ui::ChooseRow(m_dlg, IDC_AO_RANGE_CH0, 2); // 0 to 10 V
    ui::Click(m_dlg, IDC_AO_CH0_SET);
    ui::ChooseRow(m_dlg, IDC_AO_RANGE_CH0, 1); // chosen after the click: not sent
    Tick(m_dlg, 2);
    ASSERT_EQ(Text(IDC_AO_STATUS), "CH0 Ready!");
    EXPECT_EQ(Text(kAoChannels[0].labels[1]), "5");
    EXPECT_EQ(Text(kAoChannels[0].labels[2]), "10");
    EXPECT_EQ(Text(kAoChannels[0].nUnit), "V");
    EXPECT_EQ(SliderCtrl(0)->GetRangeMax(), 10000);
    EXPECT_EQ(Text(kAoChannels[1].nUnit), "mA") << "the other channel keeps its range";
    TakeRequests();
    ASSERT_TRUE(ui::Type(m_dlg, kAoChannels[0].nOutput, "15"));
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), Requests{"Output must be a number from 0 to 10!"});
    EXPECT_TRUE(ao.OutputLog().empty());

    ui::ChooseRow(m_dlg, IDC_AO_RANGE_CH1, 1); // 4 to 20 mA
    ui::Click(m_dlg, IDC_AO_CH1_SET);
    CSpoiltLine refusing(ESpoil::Declined, "$0191");
    refusing.HideFrom(m_bus);
    Tick(m_dlg, 2);
    EXPECT_EQ(Text(IDC_AO_STATUS), "CH1 Error!");
    EXPECT_EQ(Text(kAoChannels[1].labels[0]), "0");
    EXPECT_EQ(SliderCtrl(1)->GetRangeMin(), 0);
    EXPECT_EQ(Combo(IDC_AO_RANGE_CH1)->GetCurSel(), 0) << "the module's range again";
}

TEST_F(M6359, TwoChannelModelsReadTheirRangesAtOpening)
{
    CSimAnalogOutput& ao = AddModule("6355");
    ao.SetChannelType(1, 0x31);
    m_bus.Exchange(ESimProtocol::Ascii, {}, "$0191113", 0);
    Open({"01", "06", "0", "3F", "0", "6355"});
    EXPECT_EQ(Combo(IDC_AO_RANGE_CH1)->GetCurSel(), 1);
    EXPECT_EQ(Combo(IDC_AO_SLEW_CH1)->GetCurSel(), 13);
    EXPECT_EQ(Text(kAoChannels[1].labels[1]), "12");
    EXPECT_EQ(SliderCtrl(1)->GetRangeMin(), 4000);
    EXPECT_EQ(Text(kAoChannels[0].labels[2]), "20");

    // Without an answer to a range read the dialog stays without polling.
    CSimBus silent;
    m_link.Attach(1, silent);
    CM6359 dlg;
    dlg.Create(IDD_M6359);
    EXPECT_FALSE(dlg.IsTimerActive(kPollTimer));
    EXPECT_TRUE(dlg.IsRunning());

    // Nor with a reply that carries no range and slew row.
    CSimBus padded;
    padded.Add("6355", 1, 9600).Faults().nLongTo = 8;
    m_link.Attach(1, padded);
    CM6359 paddedDlg;
    paddedDlg.Create(IDD_M6359);
    EXPECT_FALSE(paddedDlg.IsTimerActive(kPollTimer));
}

// A read-back's reply cut short, padded or from another address carries no value of the model's
// shape: the ReadBack edit keeps what it showed, and the reading starts again at channel 0 as
// after a read the module did not answer.
TEST_F(M6359, AReadBackOfAnotherShapeIsAMissedExchange)
{
    struct Fault {
        const char* name;
        int cutTo;
        int longTo;
    } faults[] = {{"cut", 6, 0}, {"padded", -1, 12}};
    struct Kind {
        const char* model;
        const char* shown;
        const char* firstRead;
    } kinds[] = {
        {"6358", "01.500", "$016"}, {"6355", "01.500", "$0160"}, {"6359", "+01.500", "$0160"}};
    for (const Kind& k : kinds) {
        for (const Fault& f : faults) {
            SCOPED_TRACE(std::string(k.model) + " " + f.name);
            CSimBus bus;
            auto& ao = static_cast<CSimAnalogOutput&>(bus.Add(k.model, 1, 9600));
            ao.SetInput(0, 1.5);
            m_link.Attach(1, bus);
            CM6359 dlg;
            m_frame.m_strAnalogOutputParams = {"01", "06", "0", "30", "0", k.model};
            dlg.Create(IDD_M6359);
            Tick(dlg);
            ASSERT_EQ(dlg.GetDlgItemText(kAoChannels[0].nReadBack), k.shown);
            ao.SetInput(0, 2.5);
            ao.Faults().nCutTo = f.cutTo;
            ao.Faults().nLongTo = f.longTo;
            Tick(dlg); // the reply in hand came before the fault
            m_link.ClearTraffic();
            Tick(dlg, 2);
            EXPECT_EQ(dlg.GetDlgItemText(kAoChannels[0].nReadBack), k.shown);
            EXPECT_EQ(TakeRequests(), (Requests{k.firstRead, k.firstRead}));
            dlg.OnCancel();
        }
    }
}

namespace {
struct ConfigCase {
    const char* name;
    ModuleParamBlock block;
    const char* address;
    int checksumRow;
    int slewRow; // in the list of the output kind
    int formatRow;
    int protocolRow;
    const char* request;
    RowTexts rowTexts;
    RowTexts params;
};
} // namespace

TEST_F(M6359, SettingSendsOneConfigurationAndWritesTheRowBackAsItGoesOut)
{
    const ConfigCase cases[] = {
        {"four, bit 7 carried, slew and format",
         {"01", "06", "8", "30", "D", "6359"},
         "2",
         1,
         5,
         0,
         0,
         "%0102300694",
         {"6359", "02", "9600", "Disable", "0 to 20 mA"},
         {"02", "06", "9", "30", "4"}},
        {"one, voltage",
         {"01", "06", "0", "32", "0", "6358"},
         "1",
         1,
         15,
         2,
         0,
         "%01013206 3E",
         {"6358", "01", "9600", "Disable", "0 to 10 V"},
         {"01", "06", "3", "32", "E"}},
        {"two",
         {"01", "06", "0", "3F", "1", "6355"},
         "3",
         1,
         -1,
         1,
         0,
         "%01033F0601",
         {"6355", "03", "9600", "Disable", ""},
         {"03", "06", "0", "3F", "1"}},
    };
    for (const ConfigCase& c : cases) {
        SCOPED_TRACE(c.name);
        CSimBus bus;
        bus.Add(c.block[kModule], 1, 9600).SetType(c.block[kModule] == "6355" ? 0x3F : 0x30);
        m_link.Attach(1, bus);
        m_frame.m_bAnalogOutputChanged = false;
        m_frame.m_strNewParams = {};
        m_frame.m_strAnalogOutputParams = c.block;
        CM6359 dlg;
        dlg.Create(IDD_M6359);
        WatchTimerAtBoxes(dlg);
        Tick(dlg);
        TakeRequests();
        ui::Type(dlg, IDC_AO_ADDRESS, c.address);
        ui::ChooseRow(dlg, IDC_AO_CHECKSUM, c.checksumRow);
        int slewBox = c.block[kScript] == "32" ? IDC_AO_SLEW_V : IDC_AO_SLEW_MA;
        if (c.slewRow >= 0) ui::ChooseRow(dlg, slewBox, c.slewRow);
        ui::ChooseRow(dlg, IDC_AO_FORMAT, c.formatRow);
        ui::ChooseRow(dlg, IDC_AO_PROTOCOL, c.protocolRow);
        ASSERT_TRUE(ui::Click(dlg, IDC_AO_SETTING));
        EXPECT_FALSE(m_frame.m_bAnalogOutputChanged) << "nothing has gone out yet";
        Tick(dlg);
        std::string want = Remove(c.request, ' ');
        EXPECT_EQ(TakeRequests(), Requests{want});
        EXPECT_TRUE(m_frame.m_bAnalogOutputChanged);
        EXPECT_EQ(m_frame.m_strNewRowText, c.rowTexts);
        for (size_t i = 0; i < 5; ++i) EXPECT_EQ(m_frame.m_strNewParams[i], c.params[i]) << i;
        m_boxes.m_boxes.clear();
        Tick(dlg);
        EXPECT_EQ(m_boxes.Texts(), Requests{"Setting Configuration OK!"});
        EXPECT_EQ(m_boxes.m_boxes.back().caption, "Setting");
        EXPECT_FALSE(dlg.IsRunning());
        EXPECT_FALSE(m_bTimerRanUnderBox);
        EXPECT_TRUE(TakeRequests().empty());
    }
}

TEST_F(M6359, ConfigurationOutcomes)
{
    struct Case {
        const char* name;
        int protocolRow;
        int faultGarbage;
        bool silent;
        const char* box;
    } cases[] = {
        {"refused", 0, 3, false, "Setting Configuration Error! \r\n Please Connect Init* to GND!"},
        {"% unanswered", 0, 0, true,
         "Setting Configuration Error! \r\n Please Connect Init* to GND!"},
        {"switch to RTU", 1, 0, false, "Setting Modbus/RTU OK!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSimBus bus;
        CSimModule& ao = bus.Add("6359", 1, 9600);
        m_link.Attach(1, bus);
        m_frame.m_strAnalogOutputParams = ModuleParamBlock{"01", "06", "0", "30", "0", "6359"};
        CM6359 dlg;
        dlg.Create(IDD_M6359);
        Tick(dlg);
        ui::ChooseRow(dlg, IDC_AO_PROTOCOL, c.protocolRow);
        ui::Click(dlg, IDC_AO_SETTING);
        m_boxes.m_boxes.clear();
        ao.Faults().nGarbage = c.faultGarbage;
        if (c.silent) ao.Faults().nSilentAfter = 0;
        TakeRequests();
        Tick(dlg, 2);
        EXPECT_EQ(TakeRequests().front(), c.protocolRow ? "$01R1" : "%0101300600");
        EXPECT_EQ(m_boxes.Texts(), Requests{c.box});
        EXPECT_FALSE(dlg.IsRunning());
    }
}

// A Setting pressed while the module is silent waits, written back only as it goes out, which is
// once the module answers a read again.
TEST_F(M6359, ASettingWhileTheModuleIsSilentGoesOutOnceItAnswers)
{
    CSimAnalogOutput& ao = AddModule("6359");
    Open({"01", "06", "0", "30", "0", "6359"});
    ao.Faults().nSilentAfter = 0;
    Tick(m_dlg); // this read gets no reply
    ui::Click(m_dlg, IDC_AO_SETTING);
    Tick(m_dlg, 2);
    EXPECT_FALSE(m_frame.m_bAnalogOutputChanged);
    ao.Faults().nSilentAfter = -1;
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"$0160"}) << "the read after a miss";
    EXPECT_FALSE(m_frame.m_bAnalogOutputChanged);
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"%0101300600"});
    EXPECT_TRUE(m_frame.m_bAnalogOutputChanged);
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), Requests{"Setting Configuration OK!"});
    EXPECT_FALSE(m_dlg.IsRunning());

    // A Setting on a line that never opened writes nothing back.
    m_frame.m_bAnalogOutputChanged = false;
    m_boxes.m_boxes.clear();
    m_link.Detach(1);
    CM6359 dlg;
    dlg.Create(IDD_M6359);
    ui::Click(dlg, IDC_AO_SETTING);
    EXPECT_FALSE(m_frame.m_bAnalogOutputChanged);
    EXPECT_EQ(m_boxes.Texts().front(), "Open Com Error!");
}

// Only the typed text "0" closes the dialog; "00" is an address, refused only together with a new
// baud rate, and then the dialog stays.
TEST_F(M6359, AddressRefusals)
{
    AddModule("6359");
    Open({"01", "06", "0", "30", "0", "6359"});
    ui::Type(m_dlg, IDC_AO_ADDRESS, "256");
    ui::Click(m_dlg, IDC_AO_SETTING);
    ui::Type(m_dlg, IDC_AO_ADDRESS, "1x");
    ui::Click(m_dlg, IDC_AO_SETTING);
    EXPECT_EQ(m_boxes.Texts(),
              (Requests{"Address must be 0 to 255!", "Address must be 0 to 255!"}));
    EXPECT_TRUE(m_dlg.IsRunning());
    m_boxes.m_boxes.clear();
    ui::Type(m_dlg, IDC_AO_ADDRESS, "00");
    ui::ChooseRow(m_dlg, IDC_AO_BAUD, 4);
    ui::Click(m_dlg, IDC_AO_SETTING);
    ASSERT_EQ(m_boxes.Texts(), Requests{"重新设置时地址不能为0!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "");
    EXPECT_TRUE(m_dlg.IsRunning());
    EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
    TakeRequests();
    Tick(m_dlg);
    for (const std::string& r : TakeRequests()) EXPECT_NE(r[0], '%') << r;
    ui::Type(m_dlg, IDC_AO_ADDRESS, "0");
    ui::Click(m_dlg, IDC_AO_SETTING);
    EXPECT_EQ(m_boxes.Texts().back(), "地址不能为零!");
    EXPECT_EQ(m_boxes.m_boxes.back().caption, "");
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_frame.m_bAnalogOutputChanged);
}

TEST_F(M6359, ARangeListWithoutARowAsksForARangeInsteadOfSendingOne)
{
    AddModule("6359");
    Open({"01", "06", "0", "35", "0", "6359"});
    EXPECT_EQ(Combo(IDC_AO_RANGE4)->GetCurSel(), -1);
    EXPECT_EQ(Text(kAoChannels[0].nUnit), "v/a");
    Tick(m_dlg);
    TakeRequests();
    ui::Click(m_dlg, IDC_AO_SETTING);
    EXPECT_EQ(m_boxes.Texts(), Requests{"Choose the Output Range!"});
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"$0162"}) << "nothing was queued";
    // The blank last row is no range either.
    ui::ChooseRow(m_dlg, IDC_AO_RANGE4, 3);
    ui::Click(m_dlg, IDC_AO_SETTING);
    EXPECT_EQ(m_boxes.Texts().size(), 2u);
    ui::ChooseRow(m_dlg, IDC_AO_RANGE4, 1);
    ui::Click(m_dlg, IDC_AO_SETTING);
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"%0101310600"});
    EXPECT_EQ(m_frame.m_strNewRowText[4], "4 to 20 mA");
}

TEST_F(M6359, AddressZeroOpensAt9600WithoutChecksum)
{
    CSimAnalogOutput& ao = AddModule("6359", 0);
    Open({"00", "08", "4", "30", "0", "6359"});
    EXPECT_EQ(Text(IDC_AO_ADDRESS), "0");
    EXPECT_EQ(m_link.Line(1).dwBaud, 9600u);
    EXPECT_EQ(TakeRequests(), Requests{"$0060"});
    (void)ao;
}

TEST_F(M6359, EnterMovesTheFocusToCancel)
{
    AddModule("6359");
    Open({"01", "06", "0", "30", "0", "6359"});
    ui::PressKey(m_dlg, Qt::Key_Return);
    EXPECT_TRUE(m_dlg.IsRunning());
    EXPECT_EQ(m_dlg.GetWidget()->focusWidget(), m_dlg.GetDlgItem(IDCANCEL)->GetWidget());
}

TEST_F(M6359, SettingsRoundTrip)
{
    AddModule("6359", 1, 0x31);
    m_frame.m_strAnalogOutputParams = ModuleParamBlock{"01", "06", "0", "31", "5", "6359"};
    // Format 5: slew row 1, data format 1; written back as it goes out, on the next tick.
    ExpectSettingsRoundTrip<CM6359>(IDD_M6359, IDC_AO_SETTING,
                                    {{IDC_AO_BAUD, 3},
                                     {IDC_AO_CHECKSUM, 1},
                                     {IDC_AO_FORMAT, 1},
                                     {IDC_AO_RANGE4, 1},
                                     {IDC_AO_SLEW_MA, 1}},
                                    {"01", "06", "0", "31", "5"}, 1);
}

// A slider let go of after a Setting that turns the checksum off waits: the configuration goes
// out first, still framed with the checksum the module needs. The module, outside INIT, refuses
// it, so the row keeps the module's values.
TEST_F(M6359, ASliderReleasedBeforeTheTickDisplacesNoConfiguration)
{
    CSimAnalogOutput& ao = AddModule("6359");
    ao.SetChecksum(true);
    Open({"01", "06", "4", "30", "0", "6359"});
    Tick(m_dlg);
    ui::ChooseRow(m_dlg, IDC_AO_CHECKSUM, 1);
    ui::Click(m_dlg, IDC_AO_SETTING);
    Drag(0, 5000);
    TakeRequests();
    Tick(m_dlg);
    const std::string configuration = "%0101300600";
    EXPECT_EQ(TakeRequests(), Requests{configuration + AppendChecksum(configuration)});
    EXPECT_TRUE(m_frame.m_bAnalogOutputChanged);
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(),
              Requests{"Setting Configuration Error! \r\n Please Connect Init* to GND!"});
    EXPECT_TRUE(ao.Checksum());
    EXPECT_FALSE(m_frame.m_bAnalogOutputChanged) << "the refusal takes the write-back back";
    EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
}

// The switch to Modbus RTU goes to the address the module answers to; the row keeps that address
// whatever the Address box says.
TEST_F(M6359, TheSwitchLeavesTheRowsAddress)
{
    CSimAnalogOutput& ao = AddModule("6359");
    Open({"01", "06", "0", "30", "0", "6359"});
    m_frame.m_strNewRowText[1] = "01";
    m_frame.m_strNewParams[0] = "01";
    ui::Type(m_dlg, IDC_AO_ADDRESS, "5");
    ui::ChooseRow(m_dlg, IDC_AO_PROTOCOL, 1);
    ui::Click(m_dlg, IDC_AO_SETTING);
    TakeRequests();
    Tick(m_dlg, 2);
    EXPECT_EQ(m_link.Requests().front(), "$01R1");
    EXPECT_EQ(ao.Protocol(), ESimProtocol::Rtu);
    EXPECT_TRUE(m_frame.m_bAnalogOutputChanged);
    EXPECT_EQ(m_frame.m_strNewRowText[1], "01");
    EXPECT_EQ(m_frame.m_strNewParams[0], "01");
}
