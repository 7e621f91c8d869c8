#include "V1327.h"

#include "AsciiCommand.h"
#include "ModuleDialogs.h"
#include "RackIds.h"
#include "RackSlots.h"
#include "Resource.h"
#include "Strings.h"

#include <bit>

REGISTER_MODULE_DIALOG(CV1327)

namespace {

constexpr UINT kPollPeriod = 100;
// The status reply is "!AA" and four hex digits, nothing more. The direction and watchdog pattern
// replies are read at the same four places, whatever follows them.
constexpr size_t kStatusChars = 4;

std::vector<int> Ids(const int (&ids)[16])
{
    return {std::begin(ids), std::end(ids)};
}

} // namespace

BEGIN_MESSAGE_MAP(CV1327, CRackDlg)
ON_BN_CLICKED(rack_dio::IDC_UPDATA, OnUpdata)
ON_CHANNEL_BOXES(rack_dio::kWdtBoxIds, OnTurnOnDo)
ON_CHANNEL_BOXES((rack_dio::kWdtBoxIds + 8), OnTurnOnDoHigh)
END_MESSAGE_MAP()

CV1327::CV1327(CWnd*) : CRackDlg(IDD_RACK_DIO, &CMainFrame::m_strSlotDioParams) {}

void CV1327::DoDataExchange(CDataExchange* pDX)
{
    for (size_t ch = 0; ch < 16; ++ch) DDX_Check(pDX, rack_dio::kWdtBoxIds[ch], m_bTurnOnDo[ch]);
    DDX_Text(pDX, rack_dio::IDC_MODEL, m_strModule);
}

BOOL CV1327::OnInitDialog()
{
    CDialog::OnInitDialog();
    InitRackContext();
    m_outputLamps.Attach(*this, Ids(rack_dio::kOutputLampIds));
    m_inputLamps.Attach(*this, Ids(rack_dio::kInputLampIds));
    m_strModule = SlotBlock()[kSlotModule];
    m_pModel = DioSlotModel(m_strModule);
    UpdateData(FALSE);

    const char* firstBody = "M";
    if (m_pModel) {
        // Input-only models have no output to switch.
        m_nDoCount = std::popcount(m_pModel->nOutputs);
        if (m_pModel->bDirections) m_nLastCommand = kReadDirections;
        for (int ch = 0; ch < 16; ++ch)
            if (!(m_pModel->nWdtBoxes & (1u << ch)))
                GetDlgItem(rack_dio::kWdtBoxIds[ch])->ShowWindow(SW_HIDE);
        firstBody = m_pModel->pszFirstBody;
    }
    if (!SendAscii(SlotRequest('$', firstBody), kOpenTimeout))
        MessageBox("Reading Alarm Mask Setting Error!");
    m_nCommand = kReadWdt;
    SetTimer(m_nTimerId, kPollPeriod);
    return TRUE;
}

std::optional<std::string> CV1327::PatternDigits() const
{
    return DataReaching('!', kStatusChars);
}

bool CV1327::ReadReply(int step)
{
    if (IsSwitch(step)) return ReadSwitchReply(step);
    switch (step) {
    case kReadDirections:
        // A direction reply cut short is read again, as a refused one is.
        m_nCommand = PatternDigits() && DecodeDirections(ReplyOf('!').value_or(""), m_nIoConfig)
                         ? kReadWdt
                         : kReadDirections;
        return false;
    case kPoll:
        if (std::optional<std::string> status = FittingData('!', kStatusChars)) {
            SetDlgItemText(rack_dio::IDC_HIGH_BYTE, "0x" + status->substr(0, 2));
            SetDlgItemText(rack_dio::IDC_LOW_BYTE, "0x" + status->substr(2));
            ParseStatusReply(ReplyOf('!').value_or(""));
        }
        m_nCommand = kPoll;
        return false;
    case kReadWdt: {
        // With the checksum on the boxes are not loaded from the module, as the unit has it.
        std::optional<std::string> pattern = PatternDigits();
        if (pattern && !m_bChecksum) SetWdtFlags(pattern->substr(0, kStatusChars));
        m_nCommand = kPoll;
        return false;
    }
    case kWriteWdt:
        TickMessageBox(Acknowledged() ? "Update WDT Setting OK!" : "Update WDT Setting Fail!",
                       "Setting", MB_ICONEXCLAMATION);
        OnCancel();
        return false;
    default:
        return true;
    }
}

bool CV1327::ReadSwitchReply(int step)
{
    EWriteAnswer answer = AsciiWriteAnswer(DataAcknowledged());
    if (answer == EWriteAnswer::NotHeard) {
        // The same switch goes out again at the next sending tick.
        QueueWrite(step);
        return false;
    }
    SettleWrite(step, answer);
    m_nCommand = kPoll;
    if (answer == EWriteAnswer::Heard) return true;
    int channel = step - kSwitch0;
    if (!WritePending(step)) {
        int reported = (m_nReportedOutputs >> channel) & 1;
        m_bDoState[static_cast<size_t>(channel)] = reported;
        m_outputLamps.Show(channel, reported != 0);
    }
    return false;
}

std::string CV1327::StepRequest()
{
    switch (m_nCommand) {
    case kReadWdt:
        return SlotFunctionRequest("");
    case kPoll:
        return SlotRequest('$', "6");
    case kWriteWdt:
        BuildWdtMask();
        return SlotFunctionRequest("D" + m_strWdtMask);
    case kReadDirections:
        return SlotRequest('$', "7");
    default:
        break;
    }
    if (!IsSwitch(m_nCommand)) return {};
    m_nClickedDo = m_nCommand - kSwitch0;
    return SlotRequest('#', "1" + ValueToHexChar(m_nClickedDo) + "0" +
                                Format("%d", m_bDoState[static_cast<size_t>(m_nClickedDo)]));
}

void CV1327::OnUpdata()
{
    // Queued, so a switch still under way keeps its turn and a pending reply cannot put the poll
    // back in place of the write.
    QueueCommand(kWriteWdt);
    if (!IsSwitch(m_nLastCommand)) m_nLastCommand = kNone;
}

bool CV1327::Clickable(int channel) const
{
    return m_pModel && channel < m_nDoCount &&
           (DioOutputs(*m_pModel, m_nIoConfig) & (1u << channel));
}

void CV1327::OnLButtonDown(UINT nFlags, CPoint point)
{
    int channel = m_outputLamps.HitTest(point);
    if (channel >= 0 && Clickable(channel) && nFlags == MK_LBUTTON) {
        int& state = m_bDoState[static_cast<size_t>(channel)];
        state = state == 0 ? 1 : 0;
        // The lamp shows the operator's state while the switch is under way.
        m_outputLamps.Show(channel, state != 0);
        m_nClickedDo = channel;
        QueueWrite(kSwitch0 + channel);
    }
    // A reply that awaits its reading is dropped, but a switch's answer is always read.
    if (!IsSwitch(m_nLastCommand)) m_nLastCommand = kNone;
    CRackDlg::OnLButtonDown(nFlags, point);
}

void CV1327::ParseStatusReply(const std::string& reply)
{
    if (!m_pModel) return;
    SDioLamps lamps = DecodeDioStatus(*m_pModel, reply, m_nIoConfig);
    auto show = [](CLamps& row, int ch, ELamp lamp) {
        if (lamp == ELamp::Grey) row.ShowIcon(ch, IDI_LAMP_UNUSED);
        if (lamp == ELamp::On || lamp == ELamp::Off) row.Show(ch, lamp == ELamp::On);
    };
    for (size_t ch = 0; ch < 16; ++ch) {
        show(m_inputLamps, static_cast<int>(ch), lamps.di[ch]);
        if (lamps.out[ch] != ELamp::On && lamps.out[ch] != ELamp::Off) {
            show(m_outputLamps, static_cast<int>(ch), lamps.out[ch]);
            continue;
        }
        WORD bit = static_cast<WORD>(1u << ch);
        bool on = lamps.out[ch] == ELamp::On;
        m_nReportedOutputs =
            static_cast<WORD>(on ? m_nReportedOutputs | bit : m_nReportedOutputs & ~bit);
        // An output whose switch is under way keeps the operator's state.
        if (WritePending(kSwitch0 + static_cast<int>(ch))) continue;
        show(m_outputLamps, static_cast<int>(ch), lamps.out[ch]);
        m_bDoState[ch] = on ? 1 : 0;
    }
}

void CV1327::BuildWdtMask()
{
    m_strWdtMask = FlagsToHex(m_bTurnOnDo);
}

void CV1327::SetWdtFlags(const std::string& digits)
{
    SetFlagsFromHex(digits, m_bTurnOnDo);
    UpdateData(FALSE);
}
