#include "6385pModbus.h"

#include "AiChannelTypes.h"
#include "HexText.h"
#include "ModuleDialogs.h"
#include "Strings.h"

#include <iterator>

REGISTER_MODULE_DIALOG(C6385pModbus)

namespace {

inline constexpr WORD kTimeout = 100;
// The switch to ASCII: taken when echoed, or when nothing comes back, as from a module that has
// switched already; noise, a spoilt echo or an exception is no switch. Nothing is written back.
constexpr SRtuSettingForm kSetting = {
    .pszSwitchOk = "Setting OK!", .pszCaption = nullptr, .nBoxType = MB_OK};
inline constexpr UINT kPeriod = 100;
// The poll cycle: the input register, the digital input, the two outputs.
enum : int { kPhaseValue = 0, kPhaseInput = 1, kPhaseOutputs = 2, kPhases = 3 };
const char* const kPollRequests[kPhases] = {"0300000001", "0100000001", "0100100002"};

// The range list is the module's, read from it; the other boxes only show the search's codes.
const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_6385P_MODBUS,
    .pBlock = &CMainFrame::m_strM6385ModbusParams,
    .eLink = ELinkKind::Rtu,
    .boxes = {IDC_6385_ADDRESS, IDC_6385_BAUD, IDC_6385_CHECKSUM, 0, IDC_6385_FORMAT, 0},
    .pFormatCodes = &FormatDigitTable,
};

// A row of the references list: the reference, 9 blanks, the channel, 13 blanks, the value.
std::string ReferenceRow(const char* reference, const char* channel, const std::string& value)
{
    return reference + std::string(9, ' ') + channel + std::string(13, ' ') + value;
}

} // namespace

BEGIN_MESSAGE_MAP(C6385pModbus, CModuleDlg)
ON_BN_CLICKED(IDC_6385_ASCII, OnAsciiBox)
ON_BN_CLICKED(IDC_6385_UPDATA, OnUpdata)
ON_BN_CLICKED(IDC_6385_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_6385_CANCEL, OnCancel)
END_MESSAGE_MAP()

C6385pModbus::C6385pModbus(CWnd*) : CModuleDlg(kDescriptor) {}

void C6385pModbus::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_6385_ASCII, m_bAscii);
    DDX_Text(pDX, IDC_6385_RESPOND, m_strRespond);
}

BOOL C6385pModbus::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_nPollPhase = kPhaseValue;
    InitFromBlock();
    GetDlgItem(IDC_6385_RESPOND)->EnableWindow(FALSE);
    // Only the range list has an effect: it chooses the scaling.
    bool addressZero = IsAddressZero();
    GetDlgItem(IDC_6385_BAUD)->EnableWindow(addressZero);
    GetDlgItem(IDC_6385_CHECKSUM)->EnableWindow(addressZero);
    if (!addressZero) {
        GetDlgItem(IDC_6385_FORMAT)->EnableWindow(FALSE);
        GetDlgItem(IDC_6385_RANGE)->EnableWindow(FALSE);
    }
    FillSettingsBoxes();
    m_outputLamps.Attach(*this, {IDC_6385_DIO0_LAMP, IDC_6385_DIO1_LAMP});
    m_inputLamp.Attach(*this, {IDC_6385_INPUT_LAMP});

    // The module is opened without parity, whatever the search used.
    if (!OpenRtuLine(BlockBaudRate(), 0)) return FALSE;
    SendRtu(m_strAddress + "0300C80001", kTimeout);
    m_nCommand = kCmdStart;
    m_nLastCommand = kRangeRead;
    SetTimer(m_nTimerId, kPeriod);
    return TRUE;
}

void C6385pModbus::PollStep()
{
    TakeReply();
    m_strReplyData = RtuDataCame() ? ModbusDataText() : "ERROR";
    if (m_nLastCommand == kSwitched) {
        m_nLastCommand = kNothing;
        EndRtuSetting(kSetting, AsciiSwitch());
        return;
    }
    CheckReply();
    ApplyQueuedCommand();
    std::string request;
    if (IsCoilWrite(m_nCommand)) {
        // Coil 0x0010 + output, on or off as the operator asked.
        int output = m_nCommand - kCmdWriteCoil0;
        m_strCoilWrite = "05001" + Format("%d", output) +
                         (m_bOutputOn[static_cast<size_t>(output)] ? "FF00" : "0000");
        m_nLastCommand = m_nCommand;
        m_nCommand = kCmdPoll;
        request = m_strAddress + m_strCoilWrite;
    } else if (m_nCommand == kCmdToAscii) {
        m_nLastCommand = kSwitched;
        request = AsciiSwitch();
    } else {
        m_nLastCommand = kPolled;
        request = m_strAddress + NextPollRequest();
    }
    SendRtu(request, kTimeout);
}

std::string C6385pModbus::AsciiSwitch() const
{
    return RtuAsciiSwitchText(m_strAddress, kSetting.nAsciiValue);
}

void C6385pModbus::CheckReply()
{
    switch (m_nLastCommand) {
    case kRangeRead:
        if (RtuDataCame()) ReadRange();
        m_nCommand = kCmdPoll;
        break;
    case kPolled:
        // An exception carries no value: what is shown stays, as under silence.
        if (RtuDataCame()) ReadPollReply();
        ShowReferences();
        SetDlgItemText(IDC_6385_VALUE, m_strValue);
        break;
    default:
        // A coil write is heard by its echo; refused, the lamp shows the module's state again.
        if (IsCoilWrite(m_nLastCommand) &&
            SettleWrite(m_nLastCommand, RtuWriteAnswer(m_strAddress + m_strCoilWrite)) ==
                EWriteAnswer::Refused)
            ShowReportedOutput(m_nLastCommand - kCmdWriteCoil0);
        break;
    }
    m_nLastCommand = kNothing;
}

void C6385pModbus::ReadRange()
{
    // The low byte of register 0x00C8; a code of no range leaves the list as it is.
    int row = RowOfCode(kAiRangeCodes, Mid(m_strReplyData, 2, 2));
    if (row >= 0) GetDlgItemAs<CComboBox>(IDC_6385_RANGE)->SetCurSel(row);
}

std::string C6385pModbus::NextPollRequest()
{
    const char* request = kPollRequests[m_nPollPhase];
    m_nPollPhase = (m_nPollPhase + 1) % kPhases;
    return request;
}

void C6385pModbus::ReadPollReply()
{
    // The phase has moved on: it tells which request the reply answers.
    const std::string& data = m_strReplyData;
    if (data.size() >= 4) {
        int raw = static_cast<int>(StrToLong(Left(data, 4), 16));
        m_strRawValue = Format("%d", raw);
        int rangeRow = GetDlgItemAs<CComboBox>(IDC_6385_RANGE)->GetCurSel();
        m_strValue = EngineeringText(RawToEngineering(raw, rangeRow));
        return;
    }
    if (data.size() != 2) return;
    int coils = HexDigitOrZero(CharAt(data, 1));
    int answered = (m_nPollPhase + kPhases - 1) % kPhases;
    if (answered == kPhaseInput) {
        bool on = coils & 0x1;
        m_inputLamp.Show(0, on);
        m_strInputState = on ? "1" : "0";
    } else if (answered == kPhaseOutputs) {
        for (int s = 0; s < 2; ++s) {
            auto k = static_cast<size_t>(s);
            m_strOutputState[k] = (coils >> s) & 0x1 ? "1" : "0";
            // A pending write's lamp keeps the operator's state.
            if (WritePending(kCmdWriteCoil0 + s))
                m_outputLamps.Show(s, m_bOutputOn[k] != 0);
            else
                ShowReportedOutput(s);
        }
    }
}

void C6385pModbus::ShowReportedOutput(int output)
{
    auto k = static_cast<size_t>(output);
    if (m_strOutputState[k].empty()) return; // not read yet
    m_bOutputOn[k] = m_strOutputState[k] == "1" ? 1 : 0;
    m_outputLamps.Show(output, m_bOutputOn[k] != 0);
}

void C6385pModbus::ShowReferences()
{
    auto* list = GetDlgItemAs<CListBox>(IDC_6385_LIST);
    list->ResetContent();
    list->AddString(ReferenceRow("40001", "CH0", m_strRawValue));
    list->AddString(ReferenceRow("10001", "CH3", m_strInputState));
    list->AddString(ReferenceRow("10017", "CH0", m_strOutputState[0]));
    list->AddString(ReferenceRow("10018", "CH3", m_strOutputState[1]));
}

std::optional<float> C6385pModbus::RawToEngineering(int raw, int row) const
{
    // The ranges are the analog-input types of the same codes.
    return ::RawToEngineering(raw, RowOfCode(kAiTypeCodes, CodeOfRow(kAiRangeCodes, row)),
                              kAiTypeScales);
}

void C6385pModbus::OnLButtonDown(UINT nFlags, CPoint point)
{
    int lamp = m_outputLamps.HitTest(point);
    // The left button alone: no other button, no Shift or Ctrl.
    if (nFlags == MK_LBUTTON && lamp >= 0) {
        int& on = m_bOutputOn[static_cast<size_t>(lamp)];
        on = on ? 0 : 1;
        QueueWrite(kCmdWriteCoil0 + lamp);
    }
    CModuleDlg::OnLButtonDown(nFlags, point);
}

void C6385pModbus::OnAsciiBox()
{
    m_bAscii = !m_bAscii;
}

void C6385pModbus::OnUpdata()
{
    if (m_bAscii) QueueCommand(kCmdToAscii);
}

void C6385pModbus::OnRefresh()
{
    // A write that has not gone out yet is cancelled; one the module did not hear stays pending.
    DropQueuedCommand();
    QueueCommand(kCmdPoll);
}
