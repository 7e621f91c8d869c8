// Every rack reader against replies of each form it may meet: the module's own, one a character
// wider and one a character narrower of the same form, the examples the modules' documents give,
// and replies cut short, padded or from elsewhere. A reply that holds what the reader reads, in its
// places and its form, is read in any width up to a few characters past those places (where a
// reply's width is the module's fixed form, another width is none); any other, a reply with a
// long run of other text after it included, shows, and asks, exactly what silence shows and asks.
#include "RackFixture.h"
#include "ScreenTexts.h"
#include "ScriptedLine.h"
#include "SimRackAnalog.h"
#include "SpoiltLine.h"
#include "rack/RackIds.h"

#include "ModuleDialogs.h"
#include "Resource.h"

#include <ostream>

namespace {

// The dialogs, each on its module: the main unit, and the slots 0 1327, 1 1359, 2 1323, 3 1300,
// 4 1384H.
struct SDialogUse {
    const char* pszLabel;
    const char* pszClass;
    UINT nTemplate;
    ModuleParamBlock CMainFrame::*pBlock; // null: the main unit, which owns the line
    ModuleParamBlock block;
    int nTicks;
};

const SDialogUse kUses[] = {
    {"main", "CV1333E", IDD_RACK_MAIN, nullptr, {}, 14},
    {"1327",
     "CV1327",
     IDD_RACK_DIO,
     &CMainFrame::m_strSlotDioParams,
     {"50", "", "0", "", "", "1327"},
     12},
    {"1323",
     "CV1327",
     IDD_RACK_DIO,
     &CMainFrame::m_strSlotDioParams,
     {"50", "", "2", "", "", "1323"},
     12},
    {"1359",
     "CV1359",
     IDD_RACK_AO,
     &CMainFrame::m_strSlotAoParams,
     {"50", "", "1", "", "", "1359"},
     12},
    {"1300",
     "CV1300",
     IDD_RACK_AI,
     &CMainFrame::m_strSlotAiParams,
     {"", "1300", "3", "", "", ""},
     30},
    {"1384H",
     "CV1384H",
     IDD_RACK_SPEED,
     &CMainFrame::m_strSlotAiParams,
     {"", "1384H", "4", "", "", ""},
     40},
};

const SDialogUse& Use(const std::string& label)
{
    for (const SDialogUse& use : kUses)
        if (label == use.pszLabel) return use;
    throw std::invalid_argument(label);
}

// One reply form: the replies to the requests that begin with request take it.
struct SForm {
    const char* pszUse;
    const char* pszRequest;
    const char* pszReply;
    int nShown;           // the control that shows what the reply carries
    const char* pszShown; // what it shows; null: the reply answers nothing, as silence
};

void PrintTo(const SForm& form, std::ostream* os)
{
    *os << form.pszUse << " " << form.pszRequest << " -> " << form.pszReply;
}

constexpr int kDi0 = rack_dio::kInputLampIds[0];
constexpr int kDo0 = rack_dio::kOutputLampIds[0];
constexpr int kAiValue0 = rack_analog::kChannelIds[0].nValue;
constexpr int kAiValue1 = rack_analog::kChannelIds[1].nValue;
constexpr const char* kAsSilence = nullptr;
constexpr const char* kSlotsShown = "1327,1359,1323,1300,1384H";

const SForm kForms[] = {
    // The main unit. The configuration's protocol digit at place 6.
    {"main", "$502", "!5000040", rack_main::IDC_PROTOCOL, "MODBUS"},
    {"main", "$502", "!50000400", rack_main::IDC_PROTOCOL, "MODBUS"},
    {"main", "$502", "!500004", rack_main::IDC_PROTOCOL, "MODBUS"},
    {"main", "$502", "!50060600", rack_main::IDC_PROTOCOL, ""}, // a digit of no row: answered
    {"main", "$502", "!5000040567890123456789", rack_main::IDC_PROTOCOL, kAsSilence},
    {"main", "$502", "!500", rack_main::IDC_PROTOCOL, kAsSilence},
    {"main", "$502", "!5100040", rack_main::IDC_PROTOCOL, kAsSilence},
    {"main", "$502", ">00040", rack_main::IDC_PROTOCOL, kAsSilence},
    // The Modbus parity, ">" and the address, its code's last two characters at places 4 and 5.
    {"main", "$50OU", ">5000C", rack_main::IDC_MODBUS_PARITY, "None Parity, 8 Bits, 1 Stop"},
    {"main", "$50OU", ">5000C0", rack_main::IDC_MODBUS_PARITY, "None Parity, 8 Bits, 1 Stop"},
    {"main", "$50OU", ">5004C567890123456789", rack_main::IDC_MODBUS_PARITY, kAsSilence},
    {"main", "$50OU", ">500C", rack_main::IDC_MODBUS_PARITY, kAsSilence},
    {"main", "$50OU", ">50", rack_main::IDC_MODBUS_PARITY, kAsSilence},
    {"main", "$50OU", ">5100C", rack_main::IDC_MODBUS_PARITY, kAsSilence},
    {"main", "$50OU", "!5000C", rack_main::IDC_MODBUS_PARITY, kAsSilence},
    // The watchdog time-out: its last three digits.
    {"main", "$50XR", "!50010", rack_main::IDC_WDT_TIMEOUT, "010"},
    {"main", "$50XR", "!500025", rack_main::IDC_WDT_TIMEOUT, "025"},
    {"main", "$50XR", "!50010567890123456789", rack_main::IDC_WDT_TIMEOUT, kAsSilence},
    {"main", "$50XR", "!5010", rack_main::IDC_WDT_TIMEOUT, kAsSilence},
    {"main", "$50XR", "!50+10", rack_main::IDC_WDT_TIMEOUT, kAsSilence},
    {"main", "$50XR", ">010", rack_main::IDC_WDT_TIMEOUT, kAsSilence},
    {"main", "$50XR", "!51010", rack_main::IDC_WDT_TIMEOUT, kAsSilence},
    // The slot enables: two hex digits, nothing more. "81" ticks slots 0 and 7.
    {"main", "$50XER", "!5081", rack_main::kWdtBoxIds[7], "checked"},
    {"main", "$50XER", "!50810", rack_main::kWdtBoxIds[7], kAsSilence},
    {"main", "$50XER", "!508", rack_main::kWdtBoxIds[7], kAsSilence},
    // The slot table: eight two-character codes, nothing more.
    {"main", "$50T",
     "!5027592380"
     "4HFFFFFF",
     rack_main::IDC_LIST, kSlotsShown},
    {"main", "$50T",
     "!5027592380"
     "4HFFFFFFF",
     rack_main::IDC_LIST, kAsSilence},
    {"main", "$50T",
     "!5027592380"
     "4HFFFFF",
     rack_main::IDC_LIST, kAsSilence},

    // The digital slots' status: four hex digits, nothing more. "8001" lights DO15 and DO0.
    {"1327", "$50S06", "!508001", kDo0, "red"},
    {"1327", "$50S06", "!5080010", kDo0, kAsSilence},
    {"1327", "$50S06", "!50800", kDo0, kAsSilence},
    {"1323", "$50S26", "!5000FF", kDi0, "red"},
    {"1323", "$50S26", "!5000FF567890123456789", kDi0, kAsSilence},
    {"1323", "$50S26", ">00FF", kDi0, kAsSilence},
    // The 1323's directions, read at places 3 to 6 and asked until they come: with "5" at place 6
    // channel 0 is an input.
    {"1323", "$50S27", "!5000FF", kDi0, "red"},
    {"1323", "$50S27", "!500005", kDi0, "red"},
    {"1323", "$50S27", "!5000FF0", kDi0, "red"},
    {"1323", "$50S27", "!5000FF567890123456789", kDi0, kAsSilence},
    {"1323", "$50S27", "!5000F", kDi0, kAsSilence},
    {"1323", "$50S27", "!500", kDi0, kAsSilence},
    {"1323", "$50S27", ">00FF", kDi0, kAsSilence},
    // The watchdog output pattern, read at the same places.
    {"1323", "$50XS2", "!500081", rack_dio::kWdtBoxIds[0], "checked"},
    {"1323", "$50XS2", "!5000810", rack_dio::kWdtBoxIds[0], "checked"},
    {"1323", "$50XS2", "!50008", rack_dio::kWdtBoxIds[0], kAsSilence},
    {"1323", "$50XS2", "!5100081", rack_dio::kWdtBoxIds[0], kAsSilence},

    // The 1359: a channel's configuration, the range digit at place 4 and the slew code after it.
    {"1359", "$50S1C0B", "!503108", rack_ao::kChannelIds[0].nRange, "4 ~ 20 mA"},
    {"1359", "$50S1C0B", "!5031080", rack_ao::kChannelIds[0].nRange, "4 ~ 20 mA"},
    {"1359", "$50S1C0B", "!503208567890123456789", rack_ao::kChannelIds[0].nRange, kAsSilence},
    {"1359", "$50S1C0B", "!50310", rack_ao::kChannelIds[0].nRange, kAsSilence},
    {"1359", "$50S1C0B", "!503", rack_ao::kChannelIds[0].nRange, kAsSilence},
    {"1359", "$50S1C0B", ">3108", rack_ao::kChannelIds[0].nRange, kAsSilence},
    // Its output read back: a number with its point, of any width.
    {"1359", "$50S1C06", "!5004.000", rack_ao::kChannelIds[0].nReadBack, "04.000"},
    {"1359", "$50S1C06", "!50004.000", rack_ao::kChannelIds[0].nReadBack, "004.000"},
    {"1359", "$50S1C06", "!504.000", rack_ao::kChannelIds[0].nReadBack, "4.000"},
    {"1359", "$50S1C06", "!50+04.000", rack_ao::kChannelIds[0].nReadBack, "+04.000"},
    {"1359", "$50S1C06", "!500", rack_ao::kChannelIds[0].nReadBack, kAsSilence},
    {"1359", "$50S1C06", "!503108", rack_ao::kChannelIds[0].nReadBack, kAsSilence},
    {"1359", "$50S1C06", ">04.000", rack_ao::kChannelIds[0].nReadBack, kAsSilence},

    // The 1300: its configuration, the range code at places 3 and 4, integration and format after.
    {"1300", "$50S3B", "!502383", rack_ai::IDC_RTD_RANGE, "Pt.00385 0~600'C"},
    {"1300", "$50S3B", "!5023830", rack_ai::IDC_RTD_RANGE, "Pt.00385 0~600'C"},
    {"1300", "$50S3B", "!502383567890123456789", rack_ai::IDC_RTD_RANGE, kAsSilence},
    {"1300", "$50S3B", "!50238", rack_ai::IDC_RTD_RANGE, kAsSilence},
    {"1300", "$50S3B", "!512383", rack_ai::IDC_RTD_RANGE, kAsSilence},
    // A channel's reading: a sign, digits and a point, of any width.
    {"1300", "#50S3C0", ">+090.50", kAiValue0, "+090.50"},
    {"1300", "#50S3C0", ">+012.34", kAiValue0, "+012.34"},
    {"1300", "#50S3C0", ">+0090.50", kAiValue0, "+0090.50"},
    {"1300", "#50S3C0", ">+90.50", kAiValue0, "+90.50"},
    {"1300", "#50S3C0", ">+090.50567890123456789", kAiValue0, kAsSilence},
    {"1300", "#50S3C0", ">+09", kAiValue0, kAsSilence},
    {"1300", "#50S3C0", ">+090.5.0", kAiValue0, kAsSilence},
    {"1300", "#50S3C0", "!50+090.50", kAiValue0, kAsSilence},
    // A channel's alarm status at places 3 and 4.
    {"1300", "$50S3C0S", "!5010", rack_analog::kChannelIds[0].nHighLamp, "red"},
    {"1300", "$50S3C0S", "!50100", rack_analog::kChannelIds[0].nHighLamp, "red"},
    {"1300", "$50S3C0S", "!501", rack_analog::kChannelIds[0].nHighLamp, kAsSilence},
    {"1300", "$50S3C0S", ">10", rack_analog::kChannelIds[0].nHighLamp, kAsSilence},
    // An alarm's type letter at place 3.
    {"1300", "$50S3C0AH", "!50L", rack_alarm::IDC_HIGH_TYPE, "Latch"},
    {"1300", "$50S3C0AH", "!50L0", rack_alarm::IDC_HIGH_TYPE, "Latch"},
    {"1300", "$50S3C0AH", "!50", rack_alarm::IDC_HIGH_TYPE, kAsSilence},
    {"1300", "$50S3C0AH", ">L", rack_alarm::IDC_HIGH_TYPE, kAsSilence},

    // The 1384H: its configuration, the format digit at place 6, asked until it comes.
    {"1384H", "$50S4B", "!50FF02", rack_speed::IDC_FORMAT, "Two's Complement"},
    {"1384H", "$50S4B", "!50FF020", rack_speed::IDC_FORMAT, "Two's Complement"},
    {"1384H", "$50S4B", "!50FF02567890123456789", rack_speed::IDC_FORMAT, kAsSilence},
    {"1384H", "$50S4B", "!50FF0", rack_speed::IDC_FORMAT, kAsSilence},
    {"1384H", "$50S4B", ">FF02", rack_speed::IDC_FORMAT, kAsSilence},
    // A channel's range code at place 4, asked until it comes.
    {"1384H", "$50S4C0B", "!500A", rack_analog::kChannelIds[0].nSpeedRange, "0~20mA"},
    {"1384H", "$50S4C0B", "!500A0", rack_analog::kChannelIds[0].nSpeedRange, "0~20mA"},
    {"1384H", "$50S4C0B", "!500A567890123456789", rack_analog::kChannelIds[0].nSpeedRange,
     kAsSilence},
    {"1384H", "$50S4C0B", "!500", rack_analog::kChannelIds[0].nSpeedRange, kAsSilence},
    {"1384H", "$50S4C0B", "!510A", rack_analog::kChannelIds[0].nSpeedRange, kAsSilence},
    // Readings of any width; channel 1 shows seven characters at most.
    {"1384H", "#50S4C0", ">-012.500", kAiValue0, "-012.500"},
    {"1384H", "#50S4C0", ">-0012.500", kAiValue0, "-0012.500"},
    {"1384H", "#50S4C0", ">-12.500", kAiValue0, "-12.500"},
    {"1384H", "#50S4C0", ">FF38", kAiValue0, "FF38"},
    {"1384H", "#50S4C0", ">-01", kAiValue0, kAsSilence},
    {"1384H", "#50S4C1", ">+001.500", kAiValue1, "+001.50"},
    {"1384H", "#50S4C1", ">+0001.500", kAiValue1, "+0001.5"},
    {"1384H", "#50S4C1", ">+01.500", kAiValue1, "+01.500"},
    {"1384H", "#50S4C1", ">+00", kAiValue1, kAsSilence},
};

// What a control shows: a list's first column, a list box's choice, a box's mark, a lamp's
// colour or a field's text; "hidden" for a control out of sight.
std::string Shown(CDialog& dlg, int id)
{
    CWnd* wnd = dlg.GetDlgItem(id);
    if (!wnd->IsWindowVisible()) return "hidden";
    if (auto* list = dynamic_cast<CListCtrl*>(wnd)) {
        std::string rows;
        for (int i = 0; i < list->GetItemCount(); ++i)
            rows += (i ? "," : "") + list->GetItemText(i, 0);
        return rows;
    }
    if (auto* combo = dynamic_cast<CComboBox*>(wnd))
        return combo->GetCurSel() < 0 ? "" : combo->GetLBText(combo->GetCurSel());
    if (dynamic_cast<CButton*>(wnd)) return dlg.IsDlgButtonChecked(id) ? "checked" : "";
    if (auto* lamp = dynamic_cast<CStatic*>(wnd); lamp && lamp->GetIcon()) {
        HICON icon = lamp->GetIcon();
        return icon == IDI_LAMP_ON || icon == IDI_DOT_SET ? "red" : "not lit";
    }
    return dlg.GetDlgItemText(id);
}

class ReplyForms : public CRackFixture, public ::testing::WithParamInterface<SForm> {
protected:
    ReplyForms() : CRackFixture("27,59,23,80,4H,FF,FF,FF")
    {
        m_pRack->SetFormat(0x04); // the protocol digit: Modbus
        m_pRack->SetWatchdogEnables(0x81);
        auto& dio = m_pRack->SlotAs<CSimDigitalSlot>(2);
        dio.SetInputs(0xFFFF);
        dio.SetWatchdogPattern(0x0081);
        auto& rtd = m_pRack->SlotAs<CSimAnalogInputSlot>(3);
        rtd.strRange = "23";
        rtd.cIntegration = '8';
        rtd.cFormat = '3';
        rtd.Channel(0).dValue = 90.5;
        rtd.Channel(0).high.cType = 'L';
        auto& speed = m_pRack->SlotAs<CSimSpeedInputSlot>(4);
        speed.cFormat = '2';
        speed.Channel(0).cRange = 'A';
        speed.Channel(0).dValue = -12.5;
        speed.Channel(1).dValue = 1.5;
    }

    struct SRun {
        std::vector<std::string> screen;
        std::string strShown;
        std::vector<std::string> requests;
    };
    // The dialog of the form's row opened, and run for its ticks, on the line as it stands.
    SRun Run()
    {
        const SForm& form = GetParam();
        const SDialogUse& use = Use(form.pszUse);
        if (use.pBlock) {
            OpenLine();
            m_frame.*use.pBlock = use.block;
        }
        TakeRequests();
        std::unique_ptr<CDialog> dlg = CreateModuleDialog(use.pszClass);
        dlg->Create(use.nTemplate);
        Tick(*dlg, use.nTicks);
        SRun run{ScreenTexts(*dlg), Shown(*dlg, form.nShown), TakeRequests()};
        dlg->OnCancel();
        Link().Close_ComAscii(1);
        return run;
    }
};

TEST_P(ReplyForms, AReplyIsReadWhereItHoldsWhatTheReaderReadsElseItIsSilence)
{
    const SForm& form = GetParam();
    SRun own = Run();
    SRun silent;
    {
        CSpoiltLine line(ESpoil::Silent, form.pszRequest, INT_MAX);
        silent = Run();
    }
    CScriptedLine line(CScriptedLine::Answering(form.pszRequest, form.pszReply));
    SRun got = Run();
    if (form.pszShown) {
        EXPECT_EQ(got.strShown, form.pszShown);
        // A shown text that silence shows too is told apart by the requests.
        if (*form.pszShown) {
            EXPECT_NE(got.strShown, silent.strShown);
        }
        EXPECT_EQ(got.requests, own.requests) << "a read was asked again, or a step left out";
    } else {
        EXPECT_EQ(got.strShown, silent.strShown);
        EXPECT_EQ(got.screen, silent.screen);
        EXPECT_EQ(got.requests, silent.requests);
    }
}

INSTANTIATE_TEST_SUITE_P(, ReplyForms, ::testing::ValuesIn(kForms));

} // namespace
