// The bridge-input dialog against a simulated bridge-input module.
#include "ModuleFixture.h"
#include "analog_input/AnalogInputIds.h"
#include "analog_input/M6387.h"

#include "AsciiCommand.h"
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
        dlg.Create(185);
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
    QSlider* Slider() { return qobject_cast<QSlider*>(m_dlg.GetDlgItem(IDC_BRIDGE_SLIDER)->GetWidget()); }
    // The operator drags the slider's thumb to position and holds it there.
    void Drag(int position)
    {
        QSlider* slider = Slider();
        slider->setSliderDown(true);
        slider->setSliderPosition(position);
        slider->triggerAction(QAbstractSlider::SliderMove);
    }
    void Release() { Slider()->setSliderDown(false); }

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
    EXPECT_TRUE(m_dlg.IsTimerActive(1000));
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
        {"$6", "!06", false, IDC_BRIDGE_EXCITATION, "", {}, 0},
        {"@DI", "!0600A01", false, 0, nullptr, {W, R, W, R}, R},
        {"@DI", "!0600A01", true, 0, nullptr, {W, R, W, R}, R},
        {"@DI", "!0600F00", false, 0, nullptr, {R, R, R, R}, W},
        {"@DI", "!0600503", false, 0, nullptr, {R, W, R, W}, R},
        {"@DI", "!06", false, 0, nullptr, {W, W, W, W}, W},       // short: off
        {"@DI", "!0600Z01", false, 0, nullptr, {W, W, W, W}, R},  // not a hex digit: 0
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
        ASSERT_TRUE(ui::ClickAt(dlg, ui::CentreOf(dlg, kBridgeDoLampIds[1])), true);
        Tick(dlg, 2);
        ASSERT_TRUE(ui::ChooseRow(dlg, IDC_BRIDGE_NUMBER, 1));
        ASSERT_TRUE(ui::Click(dlg, IDC_BRIDGE_SELECT));
        Tick(dlg, 2);
        auto* slider = qobject_cast<QSlider*>(dlg.GetDlgItem(IDC_BRIDGE_SLIDER)->GetWidget());
        slider->setSliderDown(true);
        slider->setSliderPosition(7250);
        slider->triggerAction(QAbstractSlider::SliderMove);
        slider->setSliderDown(false);
        Tick(dlg, 2);
        ASSERT_TRUE(ui::Click(dlg, IDC_AI_SETTING));
        Tick(dlg);

        Requests plain = {"#06",     "$066",  "@06DI", "#06",         "@06DO02",    "#06",
                          "$0631",   "#06",   "$067+07.250", "#06", "%0606010600"};
        if (checksum) plain.back() = "%0606010640";
        Requests expected;
        for (const std::string& r : plain) expected.push_back(checksum ? r + AppendChecksum(r) : r);
        EXPECT_EQ(m_link.Requests(), expected);
        EXPECT_EQ(module.Outputs(), 0x02);
        auto& bridge = dynamic_cast<CSimBridgeInput&>(module);
        EXPECT_EQ(bridge.SelectedChannel(), 1);
        EXPECT_DOUBLE_EQ(bridge.Excitation(), 7.25);
        m_link.ClearTraffic();
        dlg.OnCancel();
    }
}
