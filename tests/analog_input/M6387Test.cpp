// The bridge-input dialog against a simulated bridge-input module.
#include "analog_input/M6387.h"
#include "ModuleFixture.h"
#include "analog_input/AnalogInputIds.h"

#include "AsciiCommand.h"
#include "LateLine.h"
#include "ModuleDialogs.h"
#include "Resource.h"
#include "SimBridgeInput.h"
#include "Strings.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QSlider>

#include <map>
#include <memory>

namespace {

inline constexpr UINT kLeft = 1;
inline constexpr UINT kShift = 4;
inline constexpr UINT kCtrl = 8;

// A bridge module whose replies to some requests (lead and body, "@DI") are scripted.
class CScriptedBridge : public CSimBridgeInput {
public:
    CScriptedBridge() : CSimBridgeInput("6387") {}
    std::map<std::string, std::string> m_replies;

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD now) override
    {
        auto found = m_replies.find(lead + std::string(body));
        if (found != m_replies.end()) return found->second;
        return CSimBridgeInput::OnAscii(lead, body, now);
    }
};

using Requests = std::vector<std::string>;

// Address 6 at 9600 baud, checksum off, range "+/-50mV", engineering units.
const ModuleParamBlock kBlock = {"06", "06", "0", "01", "0", "4387"};

class M6387 : public CModuleFixture {
protected:
    CSimModule& AddBridge(CSimBus& bus, bool checksum = false)
    {
        CSimModule& module = bus.Add("6387", 6, 9600);
        module.SetChecksum(checksum);
        return module;
    }
    // Puts a request on the bus as another master would (sets the module's state).
    static void Ask(CSimBus& bus, const std::string& request)
    {
        ASSERT_TRUE(bus.Exchange(ESimProtocol::Ascii, SSimLine{}, request, 0)) << request;
    }
    void Open(CM6387& dlg, const ModuleParamBlock& block = kBlock)
    {
        m_frame.m_strBridgeInputParams = block;
        dlg.Create(IDD_M6387);
    }
    void Open(const ModuleParamBlock& block = kBlock) { Open(m_dlg, block); }
    // Runs the poll cycle from the open up to the tick that sends the next #AA.
    void RunCycle(CM6387& dlg) { Tick(dlg, 3); }

    static std::string Text(CDialog& dlg, int id) { return dlg.GetDlgItemText(id); }
    std::string Text(int id) { return Text(m_dlg, id); }
    static std::vector<int> Icons(CDialog& dlg, const int (&ids)[4])
    {
        std::vector<int> icons;
        for (int id : ids) icons.push_back(dlg.GetDlgItemAs<CStatic>(id)->GetIcon());
        return icons;
    }
    CComboBox* Combo(int id) { return m_dlg.GetDlgItemAs<CComboBox>(id); }
    static QSlider* Slider(CDialog& dlg)
    {
        return qobject_cast<QSlider*>(dlg.GetDlgItem(IDC_BRIDGE_SLIDER)->GetWidget());
    }
    QSlider* Slider() { return Slider(m_dlg); }
    // The operator drags the slider's thumb to position and holds it there.
    static void Drag(CDialog& dlg, int position)
    {
        QSlider* slider = Slider(dlg);
        slider->setSliderDown(true);
        slider->setSliderPosition(position);
        slider->triggerAction(QAbstractSlider::SliderMove);
    }
    void Drag(int position) { Drag(m_dlg, position); }
    static void Release(CDialog& dlg) { Slider(dlg)->setSliderDown(false); }
    void Release() { Release(m_dlg); }
    static void ClickLamp(CDialog& dlg, int lamp)
    {
        dlg.OnLButtonDown(kLeft, ui::CentreOf(dlg, kBridgeDoLampIds[lamp]));
    }

    CM6387 m_dlg;
};

constexpr int R = IDI_LAMP_ON;
constexpr int W = IDI_LAMP_OFF;
constexpr int G = IDI_LAMP_UNUSED;

} // namespace

TEST_F(M6387, OpensFromTheBlockAndPollsInputExcitationAndLampsInThreeTicks)
{
    CSimModule& module = AddBridge(m_bus);
    module.SetInput(0, 12.345);
    module.SetDigitalInput(0, true);
    Ask(m_bus, "$067+05.000");
    Ask(m_bus, "@06DO13"); // CH3 and CH4 on
    Open({"06", "06", "0", "01", "2", "4387"});

    EXPECT_EQ(Text(IDC_AI_ADDRESS), "6");
    EXPECT_EQ(Text(IDC_BRIDGE_MODEL), "4387");
    EXPECT_EQ(Combo(IDC_AI_BAUD)->GetCurSel(), 3);
    EXPECT_EQ(Combo(IDC_AI_CHECKSUM)->GetCurSel(), 1);
    EXPECT_EQ(Combo(IDC_AI_RANGE)->GetCurSel(), 1);
    EXPECT_EQ(Combo(IDC_AI_FORMAT)->GetCurSel(), 2);
    EXPECT_EQ(Text(IDC_BRIDGE_NUMBER), "CH0");
    EXPECT_EQ(Text(IDC_BRIDGE_TRIM), "00");
    EXPECT_FALSE(m_dlg.GetDlgItem(IDC_BRIDGE_OHM)->IsWindowEnabled());
    for (int id : {IDC_BRIDGE_CALIBRATION, IDC_BRIDGE_ZERO, IDC_BRIDGE_SPAN, IDC_BRIDGE_VOLT_ZERO,
                   IDC_BRIDGE_VOLT_SPAN, IDC_BRIDGE_VOLT_TRIM}) {
        EXPECT_FALSE(ui::Click(m_dlg, id)) << id;
    }
    EXPECT_EQ(Icons(m_dlg, kBridgeDoLampIds), (std::vector<int>{W, W, W, W}));
    EXPECT_EQ(Icons(m_dlg, kBridgeDiLampIds), (std::vector<int>{W, G, G, G}));
    auto* slider = m_dlg.GetDlgItemAs<CSliderCtrl>(IDC_BRIDGE_SLIDER);
    EXPECT_EQ(slider->GetRangeMin(), 0);
    EXPECT_EQ(slider->GetRangeMax(), 10000);
    EXPECT_EQ(slider->GetPos(), 0);
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
    ASSERT_EQ(m_link.Traffic().size(), 1u);
    EXPECT_EQ(m_link.Traffic()[0].strRequest, "#06");
    EXPECT_EQ(m_link.Traffic()[0].line.dwBaud, 9600u);
    TakeRequests();

    RunCycle(m_dlg);
    EXPECT_EQ(TakeRequests(), (Requests{"$066", "@06DI", "#06"}));
    EXPECT_EQ(Text(IDC_BRIDGE_INPUT), "+12.345");
    EXPECT_EQ(Text(IDC_BRIDGE_EXCITATION), "+05.000");
    EXPECT_EQ(Icons(m_dlg, kBridgeDoLampIds), (std::vector<int>{W, W, R, R}));
    EXPECT_EQ(Icons(m_dlg, kBridgeDiLampIds), (std::vector<int>{R, G, G, G}));
    EXPECT_EQ(m_dlg.m_bDoState, (std::array<int, 4>{0, 0, 1, 1}));
    EXPECT_EQ(Text(IDC_BRIDGE_OHM), "");
}

TEST_F(M6387, RepliesAndWhatTheyShow)
{
    struct Case {
        const char* request; // lead and body
        const char* reply;
        bool checksum;
        int field; // the field that shows it, or 0 for the lamps
        const char* shown;
        std::vector<int> doIcons;
        int diIcon;
    } cases[] = {
        {"#", ">+01.234", false, IDC_BRIDGE_INPUT, "+01.234", {}, 0},
        {"#", ">+01.234", true, IDC_BRIDGE_INPUT, "+01.234", {}, 0},
        {"$6", "!06+07.500", false, IDC_BRIDGE_EXCITATION, "+07.500", {}, 0},
        {"$6", "!06+07.500", true, IDC_BRIDGE_EXCITATION, "+07.500", {}, 0},
        // A reading of its form in another width is the module's reading still.
        {"#", ">+001.234", false, IDC_BRIDGE_INPUT, "+001.234", {}, 0},
        {"#", ">+1.234", false, IDC_BRIDGE_INPUT, "+1.234", {}, 0},
        {"#", ">+01.2", false, IDC_BRIDGE_INPUT, "+01.2", {}, 0},
        {"#", ">+01.234567", false, IDC_BRIDGE_INPUT, "+01.234567", {}, 0},
        {"$6", "!06+007.500", false, IDC_BRIDGE_EXCITATION, "+007.500", {}, 0},
        {"$6", "!06+7.500", false, IDC_BRIDGE_EXCITATION, "+7.500", {}, 0},
        // A reply that carries no reading of the request's form is a missed exchange: cut short,
        // padded, of another lead, address or data format.
        {"$6", "!06", false, IDC_BRIDGE_EXCITATION, "ERROR!", {}, 0},
        {"$6", "!06+07", false, IDC_BRIDGE_EXCITATION, "ERROR!", {}, 0},
        {"$6", "!06+07.500567890123456789", false, IDC_BRIDGE_EXCITATION, "ERROR!", {}, 0},
        {"$6", "!07+07.500", false, IDC_BRIDGE_EXCITATION, "ERROR!", {}, 0},
        {"#", ">+01", false, IDC_BRIDGE_INPUT, "ERROR!", {}, 0},
        {"#", ">+01.234567890123456789", false, IDC_BRIDGE_INPUT, "ERROR!", {}, 0},
        {"#", "!06+01.234", false, IDC_BRIDGE_INPUT, "ERROR!", {}, 0},
        {"#", ">01A2B", false, IDC_BRIDGE_INPUT, "ERROR!", {}, 0},
        // Whichever form the module writes: hex, resistances.
        {"#", ">1A2B", false, IDC_BRIDGE_INPUT, "1A2B", {}, 0},
        {"#", ">0138.50", false, IDC_BRIDGE_INPUT, "0138.50", {}, 0},
        {"@DI", "!0600A01", false, 0, nullptr, {W, R, W, R}, R},
        {"@DI", "!0600A01", true, 0, nullptr, {W, R, W, R}, R},
        {"@DI", "!0600F00", false, 0, nullptr, {R, R, R, R}, W},
        {"@DI", "!0600503", false, 0, nullptr, {R, W, R, W}, R},
        {"@DI", "!06", false, 0, nullptr, {W, W, W, W}, W},      // short: unchanged
        {"@DI", "!0600Z01", false, 0, nullptr, {W, W, W, W}, R}, // not a hex digit: 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.request) + " " + c.reply + (c.checksum ? " checksum" : ""));
        CSimBus bus;
        auto scripted = std::make_unique<CScriptedBridge>();
        scripted->SetAddress(6);
        scripted->SetChecksum(c.checksum);
        scripted->m_replies[c.request] = c.reply;
        if (std::string(c.request) != "@DI") scripted->m_replies["@DI"] = "!0600F01"; // lamps lit
        bus.Add(std::move(scripted));
        m_link.Attach(1, bus);
        CM6387 dlg;
        Open(dlg, {"06", "06", c.checksum ? "4" : "0", "01", "0", "4387"});
        RunCycle(dlg);
        if (c.field) {
            EXPECT_EQ(Text(dlg, c.field), c.shown);
        } else {
            EXPECT_EQ(Icons(dlg, kBridgeDoLampIds), c.doIcons);
            EXPECT_EQ(Icons(dlg, kBridgeDiLampIds)[0], c.diIcon);
        }
        dlg.OnCancel();
    }
}

TEST_F(M6387, EveryRequestByteForByte)
{
    for (bool checksum : {false, true}) {
        SCOPED_TRACE(checksum ? "checksum on" : "checksum off");
        CSimBus bus;
        CSimModule& module = AddBridge(bus, checksum);
        m_link.Attach(1, bus);
        CM6387 dlg;
        Open(dlg, {"06", "06", checksum ? "4" : "0", "01", "0", "4387"});
        RunCycle(dlg);
        ui::ClickAt(dlg, ui::CentreOf(dlg, kBridgeDoLampIds[1]));
        Tick(dlg, 2);
        ASSERT_TRUE(ui::ChooseRow(dlg, IDC_BRIDGE_NUMBER, 1));
        ASSERT_TRUE(ui::Click(dlg, IDC_BRIDGE_SELECT));
        Tick(dlg, 2);
        ASSERT_TRUE(ui::DragSlider(dlg, IDC_BRIDGE_SLIDER, 7250));
        Tick(dlg, 2);
        ASSERT_TRUE(ui::Click(dlg, IDC_AI_SETTING));
        Tick(dlg);

        Requests plain = {"#06",   "$066", "@06DI",       "#06", "@06DO02",    "#06",
                          "$0631", "#06",  "$067+07.250", "#06", "%0606010600"};
        if (checksum) plain.back() = "%0606010640";
        Requests expected;
        for (const std::string& r : plain) expected.push_back(checksum ? r + AppendChecksum(r) : r);
        EXPECT_EQ(m_link.Requests(), expected);
        auto& bridge = dynamic_cast<CSimBridgeInput&>(module);
        EXPECT_EQ(bridge.Outputs(), 0x02);
        EXPECT_EQ(bridge.SelectedChannel(), 1);
        EXPECT_DOUBLE_EQ(bridge.Excitation(), 7.25);
        m_link.ClearTraffic();
        dlg.OnCancel();
    }
}

TEST_F(M6387, LampClicksWriteTheClickedLampsBank)
{
    struct Case {
        const char* outputs; // the module's outputs before: "@06DO" bodies
        int lamp;
        UINT flags;
        const char* request;
        BYTE after;
    } cases[] = {
        {"", 0, kLeft, "@06DO01", 0x01},
        {"13", 2, kLeft, "@06DO12", 0x08}, // CH3 off, CH4 stays on
        {"12", 2, kLeft, "@06DO13", 0x0C}, // CH3 on beside CH4
        {"01", 1, kLeft, "@06DO03", 0x03},
        {"03", 0, kLeft | kShift, "@06DO03", 0x03}, // nothing toggled: the bank as read
        {"11", 3, kLeft | kCtrl, "@06DO11", 0x04},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Format("lamp CH%d after DO%s", c.lamp + 1, c.outputs));
        CSimBus bus;
        CSimModule& module = AddBridge(bus);
        if (*c.outputs) Ask(bus, std::string("@06DO") + c.outputs);
        m_link.Attach(1, bus);
        CM6387 dlg;
        Open(dlg);
        RunCycle(dlg);
        std::vector<int> before = Icons(dlg, kBridgeDoLampIds);
        m_link.ClearTraffic();
        dlg.OnLButtonDown(c.flags, ui::CentreOf(dlg, kBridgeDoLampIds[c.lamp]));
        Tick(dlg);
        EXPECT_EQ(m_link.Requests(), Requests{c.request});
        EXPECT_EQ(dynamic_cast<CSimBridgeInput&>(module).Outputs(), c.after);
        EXPECT_EQ(Icons(dlg, kBridgeDoLampIds), before); // until the module reports it
        Tick(dlg, 4);                                    // #AA, then the cycle up to @AADI's reply
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(Icons(dlg, kBridgeDoLampIds)[static_cast<size_t>(k)],
                      (c.after >> k) & 1 ? R : W)
                << k;
        }
        dlg.OnCancel();
    }
}

TEST_F(M6387, AClickOffTheLampsWritesNothing)
{
    AddBridge(m_bus);
    Ask(m_bus, "@06DO13");
    Open();
    CRect lamp;
    m_dlg.GetDlgItem(kBridgeDoLampIds[0])->GetWindowRect(&lamp);
    m_dlg.ScreenToClient(&lamp);
    TakeRequests();
    // Before any lamp was clicked, after one was, on the background and on a lamp's very edge.
    for (CPoint point : {CPoint{2, 2}, CPoint{lamp.left, lamp.top + lamp.Height() / 2}}) {
        ui::ClickAt(m_dlg, point);
        Tick(m_dlg);
    }
    m_dlg.OnLButtonDown(kLeft, ui::CentreOf(m_dlg, kBridgeDoLampIds[0]));
    Tick(m_dlg, 2);
    m_dlg.OnLButtonDown(kLeft, CPoint{2, 2});
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), (Requests{"$066", "@06DI", "@06DO01", "#06", "$066"}));
}

TEST_F(M6387, FormatVoltsWritesTwoIntegerDigitsAndThreeDecimals)
{
    struct Case {
        int millivolts;
        const char* text;
    } cases[] = {{0, "00.000"},     {1, "00.001"},     {5000, "05.000"},   {7250, "07.250"},
                 {10000, "10.000"}, {-500, "-00.500"}, {-12000, "-12.000"}};
    for (const Case& c : cases)
        EXPECT_EQ(CM6387::FormatVolts(c.millivolts), c.text) << c.millivolts;
}

TEST_F(M6387, TheSliderSetsTheExcitationOnlyWhenReleased)
{
    CSimModule& module = AddBridge(m_bus);
    Ask(m_bus, "$067+05.000");
    Open();
    RunCycle(m_dlg);
    TakeRequests();
    Drag(10000);
    EXPECT_EQ(Text(IDC_BRIDGE_EXCITATION), "+10.000");
    EXPECT_EQ(m_dlg.m_strExcitation, "10.000");
    Tick(m_dlg, 3); // a whole cycle: the read-back does not overwrite the thumb's text
    EXPECT_EQ(TakeRequests(), (Requests{"$066", "@06DI", "#06"}));
    EXPECT_EQ(Text(IDC_BRIDGE_EXCITATION), "+10.000");
    Release();
    EXPECT_FALSE(m_dlg.m_bSliderActive);
    Tick(m_dlg, 4);
    EXPECT_EQ(TakeRequests(), (Requests{"$067+10.000", "#06", "$066", "@06DI"}));
    EXPECT_DOUBLE_EQ(dynamic_cast<CSimBridgeInput&>(module).Excitation(), 10.0);
    EXPECT_EQ(Text(IDC_BRIDGE_EXCITATION), "+10.000"); // now the module's read-back
    EXPECT_EQ(m_dlg.GetDlgItemAs<CSliderCtrl>(IDC_BRIDGE_SLIDER)->GetPos(), 10000);
}

TEST_F(M6387, KeyboardMovesShowTheTextButSendNothing)
{
    CSimModule& module = AddBridge(m_bus);
    Ask(m_bus, "$067+02.000");
    Open();
    RunCycle(m_dlg);
    TakeRequests();
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(Slider(), &end);
    EXPECT_EQ(Text(IDC_BRIDGE_EXCITATION), "+10.000");
    Tick(m_dlg, 6);
    for (const std::string& r : TakeRequests()) EXPECT_NE(r.substr(0, 4), "$067");
    EXPECT_EQ(Text(IDC_BRIDGE_EXCITATION), "+10.000"); // frozen until a release
    EXPECT_DOUBLE_EQ(dynamic_cast<CSimBridgeInput&>(module).Excitation(), 2.0);
}

TEST_F(M6387, AFailureShownBeforeTheRequestGoesOutIsNotSentAsTheSetPoint)
{
    CSimModule& module = AddBridge(m_bus);
    Open();
    RunCycle(m_dlg);
    Drag(3000);
    module.Faults().nSilentAfter = 0;
    Tick(m_dlg, 2);
    EXPECT_EQ(Text(IDC_BRIDGE_INPUT), "ERROR!");
    EXPECT_EQ(Text(IDC_BRIDGE_EXCITATION), "ERROR!");
    Release();
    EXPECT_EQ(Text(IDC_BRIDGE_EXCITATION), "+03.000");
    Tick(m_dlg); // still no reply: the request waits and the field keeps the set-point
    EXPECT_EQ(Text(IDC_BRIDGE_EXCITATION), "+03.000");
    EXPECT_EQ(Text(IDC_BRIDGE_INPUT), "ERROR!");
    module.Faults().nSilentAfter = -1;
    TakeRequests();
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"#06", "$067+03.000"}));
    EXPECT_DOUBLE_EQ(dynamic_cast<CSimBridgeInput&>(module).Excitation(), 3.0);
}

// Both banks and the excitation asked for before one tick all reach the module.
TEST_F(M6387, WritesToSeveralControlsInOneTickAllReachTheModule)
{
    CSimModule& module = AddBridge(m_bus);
    Open();
    RunCycle(m_dlg);
    ClickLamp(m_dlg, 0);
    ClickLamp(m_dlg, 3);
    Drag(2500);
    Release();
    Tick(m_dlg, 8);
    auto& bridge = dynamic_cast<CSimBridgeInput&>(module);
    EXPECT_EQ(bridge.Outputs(), 0x9);
    EXPECT_DOUBLE_EQ(bridge.Excitation(), 2.5);
    EXPECT_EQ(Icons(m_dlg, kBridgeDoLampIds), (std::vector<int>{R, W, W, R}));
}

TEST_F(M6387, SelectSendsTheChannelTheNumberBoxShows)
{
    struct Case {
        const char* typed; // nullptr: the row is chosen from the list
        int row;
        const char* request;
    } cases[] = {{nullptr, 1, "$0631"},
                 {nullptr, 0, "$0630"},
                 {"ch1", -1, "$0631"},
                 {"CH7", -1, nullptr},
                 {"", -1, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed ? c.typed : Format("row %d", c.row));
        CSimBus bus;
        CSimModule& module = AddBridge(bus);
        module.SetInput(0, 1.0);
        module.SetInput(1, -2.5);
        m_link.Attach(1, bus);
        m_boxes.m_boxes.clear();
        CM6387 dlg;
        Open(dlg);
        RunCycle(dlg);
        m_link.ClearTraffic();
        if (c.typed)
            ASSERT_TRUE(ui::Type(dlg, IDC_BRIDGE_NUMBER, c.typed));
        else
            ASSERT_TRUE(ui::ChooseRow(dlg, IDC_BRIDGE_NUMBER, c.row));
        ui::Click(dlg, IDC_BRIDGE_SELECT);
        Tick(dlg, 3);
        if (c.request) {
            EXPECT_EQ(m_link.Requests(), (Requests{c.request, "#06", "$066"}));
            EXPECT_TRUE(m_boxes.m_boxes.empty());
            EXPECT_EQ(Text(dlg, IDC_BRIDGE_INPUT), c.request[4] == '1' ? "-02.500" : "+01.000");
        } else {
            EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Number must be CH0 or CH1!"});
            EXPECT_EQ(m_link.Requests(), (Requests{"$066", "@06DI", "#06"}));
        }
        dlg.OnCancel();
    }
}

TEST_F(M6387, SettingWritesBackAsItGoesOutAndCloses)
{
    CSimModule& module = AddBridge(m_bus);
    Open();
    RunCycle(m_dlg);
    m_frame.m_strNewParams[5] = "kept";
    ASSERT_TRUE(ui::Type(m_dlg, IDC_AI_ADDRESS, "255"));
    ASSERT_TRUE(ui::ChooseRow(m_dlg, IDC_AI_RANGE, 6));
    ASSERT_TRUE(ui::ChooseRow(m_dlg, IDC_AI_FORMAT, 1));
    ASSERT_TRUE(ui::Click(m_dlg, IDC_AI_SETTING));
    EXPECT_FALSE(m_frame.m_bBridgeInputChanged); // nothing has gone out yet
    TakeRequests();
    WatchTimerAtBoxes(m_dlg);
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"%06FF060601"});
    EXPECT_TRUE(m_frame.m_bBridgeInputChanged); // as it goes out
    EXPECT_EQ(m_frame.m_strNewRowText, (RowTexts{"4387", "FF", "9600", "Disable", "+/-20mA"}));
    EXPECT_EQ(m_frame.m_strNewParams, (ModuleParamBlock{"FF", "06", "0", "06", "1", "kept"}));
    EXPECT_EQ(module.Address(), 0xFF);
    EXPECT_EQ(module.Type(), 0x06);
    Tick(m_dlg);
    ASSERT_EQ(m_boxes.m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes.m_boxes[0].text, "Setting Configuration OK!");
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
    EXPECT_EQ(m_boxes.m_boxes[0].nType & MB_ICONEXCLAMATION, MB_ICONEXCLAMATION);
    EXPECT_FALSE(m_bTimerRanUnderBox);
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_FALSE(m_link.IsAsciiOpen());
    EXPECT_EQ(g_bDialogClosed, 1);
    EXPECT_TRUE(TakeRequests().empty());
}

TEST_F(M6387, ConfigurationRequestsAndOutcomes)
{
    struct Case {
        const char* check;   // the block's Check entry
        bool init;           // INIT* to GND
        const char* address; // typed
        int baudRow;
        int checksumRow;
        const char* wire; // without checksum digits
        bool framed;      // sent with checksum digits
        const char* box;
    } cases[] = {
        {"0", false, "6", 3, 1, "%0606010600", false,
         "Setting Configuration OK!"}, // nothing changed
        {"0", false, "0", 3, 1, "%0600010600", false,
         "Setting Configuration OK!"}, // 0 is an address
        {"0", false, "6", 4, 1, "%0606010700", false,
         "Setting Configuration Error! \r\n Please Connect Init* to GND!"},
        {"x", false, "6", 3, 1, "%0606010600", false, "Setting Configuration OK!"}, // not hex: 0
        {"4", false, "6", 3, 1, "%0606010600", true,
         "Setting Configuration Error! \r\n Please Connect Init* to GND!"},
        {"0", true, "6", 3, 0, "%0006010640", false,
         "Setting Configuration OK!"}, // switched on in INIT
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Format("check %s address %s baud row %d", c.check, c.address, c.baudRow));
        CSimBus bus;
        CSimModule& module = AddBridge(bus, std::string(c.check) == "4");
        module.SetInit(c.init);
        m_link.Attach(1, bus);
        m_boxes.m_boxes.clear();
        CM6387 dlg;
        Open(dlg, {c.init ? "00" : "06", "06", c.check, "01", "0", "4387"});
        RunCycle(dlg);
        m_link.ClearTraffic();
        ui::Type(dlg, IDC_AI_ADDRESS, c.address);
        ui::ChooseRow(dlg, IDC_AI_BAUD, c.baudRow);
        ui::ChooseRow(dlg, IDC_AI_CHECKSUM, c.checksumRow);
        ui::Click(dlg, IDC_AI_SETTING);
        Tick(dlg, 2);
        std::string wire = c.wire;
        EXPECT_EQ(m_link.Requests(), Requests{c.framed ? wire + AppendChecksum(wire) : wire});
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{c.box});
        EXPECT_FALSE(dlg.IsRunning());
    }
}

TEST_F(M6387, CodesOutsideTheListsLeaveTheBoxesEmptyAndNothingToWrite)
{
    AddBridge(m_bus);
    Open({"06", "0a", "0", "07", "4", "4387"});
    EXPECT_EQ(Combo(IDC_AI_BAUD)->GetCurSel(), -1);
    EXPECT_EQ(Combo(IDC_AI_RANGE)->GetCurSel(), -1);
    EXPECT_EQ(Combo(IDC_AI_FORMAT)->GetCurSel(), -1);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Open Com Error!"}); // no rate to open at
    m_boxes.m_boxes.clear();
    ui::Click(m_dlg, IDC_AI_SETTING);
    // No row chosen and no code in the block to keep: nothing to write.
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Choose the Baudrate!"});
    EXPECT_FALSE(m_frame.m_bBridgeInputChanged);
    Tick(m_dlg);
    EXPECT_EQ(m_dlg.m_nLastCommand, 0);
}

// A configuration met by silence was not heard: the next tick reports it and closes, without
// waiting for a module that may never answer again, and it is not sent again.
TEST_F(M6387, AFailedConfigurationExchangeIsReportedAsAnErrorAtOnce)
{
    CSimModule& module = AddBridge(m_bus);
    Open();
    RunCycle(m_dlg);
    ui::Click(m_dlg, IDC_AI_SETTING);
    module.Faults().nSilentAfter = 0;
    TakeRequests();
    Tick(m_dlg);
    EXPECT_TRUE(m_boxes.m_boxes.empty());
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), (Requests{"%0606010600"}));
    EXPECT_EQ(
        m_boxes.Texts(),
        std::vector<std::string>{"Setting Configuration Error! \r\n Please Connect Init* to GND!"});
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(M6387, AnOperatorsRequestIsNotDroppedByAOneShotReply)
{
    CSimModule& module = AddBridge(m_bus);
    Open();
    RunCycle(m_dlg);
    TakeRequests();
    m_dlg.OnLButtonDown(kLeft, ui::CentreOf(m_dlg, kBridgeDoLampIds[0]));
    Tick(m_dlg); // @AADO goes out; its reply would choose #AA
    ui::ChooseRow(m_dlg, IDC_BRIDGE_NUMBER, 1);
    ui::Click(m_dlg, IDC_BRIDGE_SELECT);
    Tick(m_dlg);
    m_dlg.OnLButtonDown(kLeft, ui::CentreOf(m_dlg, kBridgeDoLampIds[0]));
    ui::Click(m_dlg, IDC_AI_SETTING); // the later of two requests in one period goes out
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"@06DO01", "$0631", "%0606010600"}));
    EXPECT_EQ(module.Type(), 0x01);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
}

TEST_F(M6387, AfterAOneShotTheNextReplyIsReadAsAReading)
{
    CSimModule& module = AddBridge(m_bus);
    module.SetInput(0, 1.777); // ">+01.777": a "7" where the outputs digit of @AADI stands
    Open();
    Tick(m_dlg, 2); // @AADI is out: the cycle is at its last phase
    ui::Click(m_dlg, IDC_BRIDGE_SELECT);
    Tick(m_dlg, 3);
    EXPECT_EQ(Text(IDC_BRIDGE_INPUT), "+01.777");
    EXPECT_EQ(Icons(m_dlg, kBridgeDoLampIds), (std::vector<int>{W, W, W, W}));
    EXPECT_EQ(m_dlg.m_bDoState, (std::array<int, 4>{0, 0, 0, 0}));
    TakeRequests();
    m_dlg.OnLButtonDown(kLeft, ui::CentreOf(m_dlg, kBridgeDoLampIds[0]));
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Requests{"@06DO01"});
}

// The reply right after a miss is read as a reading, and shown once the reply after it fits too:
// a late reply of the request before would not.
TEST_F(M6387, AfterAMissTheNextReplyIsReadAsAReadingOnceTheNextFits)
{
    CSimModule& module = AddBridge(m_bus);
    module.SetInput(0, 1.777);
    Ask(m_bus, "$067+05.000");
    Open();
    module.Faults().nSilentAfter = 0;
    Tick(m_dlg); // $AA6 goes out and is not answered
    module.Faults().nSilentAfter = -1;
    TakeRequests();
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"#06", "$066"}));
    EXPECT_EQ(Text(IDC_BRIDGE_INPUT), "ERROR!");
    Tick(m_dlg);
    EXPECT_EQ(Text(IDC_BRIDGE_INPUT), "+01.777");
    EXPECT_EQ(Text(IDC_BRIDGE_EXCITATION), "+05.000");
}

// A module whose replies come one request late: each reading would land in the next phase's
// field. Every reply then fits no phase, or comes right after one that did not: nothing is shown
// but the failure.
TEST_F(M6387, RepliesOneRequestLateShowOnlyTheFailure)
{
    CSimModule& module = AddBridge(m_bus);
    module.SetInput(0, 1.777);
    Open();
    RunCycle(m_dlg);
    CLateLine line;
    line.SetLate(true);
    for (int i = 0; i < 9; ++i) {
        Tick(m_dlg);
        EXPECT_EQ(Text(IDC_BRIDGE_INPUT), i == 0 ? "+01.777" : "ERROR!") << i;
        EXPECT_EQ(Text(IDC_BRIDGE_EXCITATION), i == 0 ? "+00.000" : "ERROR!") << i;
    }
}

TEST_F(M6387, EnterCancelEscapeAndTheCloseBoxCloseTheLine)
{
    enum class Way { Enter, Cancel, Escape, CloseBox };
    for (Way way : {Way::Enter, Way::Cancel, Way::Escape, Way::CloseBox}) {
        SCOPED_TRACE(static_cast<int>(way));
        CSimBus bus;
        AddBridge(bus);
        m_link.Attach(1, bus);
        CM6387 dlg;
        Open(dlg);
        for (auto* b : dlg.GetWidget()->findChildren<QPushButton*>()) EXPECT_FALSE(b->isDefault());
        EXPECT_TRUE(m_link.IsAsciiOpen());
        EXPECT_EQ(g_bDialogClosed, 0);
        switch (way) {
        case Way::Enter:
            ui::PressKeyIn(dlg, IDC_AI_ADDRESS, Qt::Key_Return);
            break;
        case Way::Cancel:
            ASSERT_TRUE(ui::Click(dlg, IDC_BRIDGE_CANCEL));
            break;
        case Way::Escape:
            ui::PressKey(dlg, Qt::Key_Escape);
            break;
        case Way::CloseBox:
            ui::CloseBox(dlg);
            break;
        }
        EXPECT_FALSE(dlg.IsRunning());
        EXPECT_FALSE(m_link.IsAsciiOpen());
        EXPECT_EQ(g_bDialogClosed, 1);
    }
}

TEST_F(M6387, OpenComErrorKeepsPollingAnUnopenedLine)
{
    m_link.Detach(1);
    Open();
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Open Com Error!"});
    EXPECT_EQ(m_boxes.m_boxes[0].caption, "talvik4333");
    EXPECT_TRUE(m_dlg.IsTimerActive(kPollTimer));
    Tick(m_dlg, 2);
    EXPECT_EQ(Text(IDC_BRIDGE_INPUT), "ERROR!");
    EXPECT_EQ(Text(IDC_BRIDGE_EXCITATION), "ERROR!");
    EXPECT_EQ(m_boxes.m_boxes.size(), 1u);
}

// A Setting made after a missed exchange: the polls stay on the address the module answers to
// until the configuration has gone out, and then it does go out.
TEST_F(M6387, ASettingAfterAMissGoesOutToTheCurrentAddress)
{
    CSimModule& module = AddBridge(m_bus);
    Open();
    RunCycle(m_dlg);
    module.Faults().nSilentAfter = 0;
    Tick(m_dlg);
    module.Faults().nSilentAfter = -1;
    ASSERT_TRUE(ui::Type(m_dlg, IDC_AI_ADDRESS, "7"));
    ASSERT_TRUE(ui::Click(m_dlg, IDC_AI_SETTING));
    TakeRequests();
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (Requests{"#06", "%0607010600"}));
    EXPECT_EQ(module.Address(), 0x07);
}

TEST_F(M6387, SettingsBoxesRoundTrip)
{
    AddBridge(m_bus, true).SetBaud(19200); // the module as the block has it
    m_frame.m_strBridgeInputParams = {"06", "07", "4", "03", "2", "4387"};
    ExpectSettingsRoundTrip<CM6387>(
        IDD_M6387, IDC_AI_SETTING,
        {{IDC_AI_BAUD, 4}, {IDC_AI_CHECKSUM, 0}, {IDC_AI_RANGE, 3}, {IDC_AI_FORMAT, 2}},
        {"06", "07", "4", "03", "2"}, 2);
}
