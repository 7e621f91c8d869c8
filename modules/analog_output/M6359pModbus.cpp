#include "M6359pModbus.h"

#include "AoCodes.h"
#include "AsciiCommand.h"
#include "ModuleDialogs.h"
#include "OutputDiCodes.h"
#include "OutputDiIds.h"
#include "Strings.h"

#include <vector>

REGISTER_MODULE_DIALOG(CM6359pModbus)

namespace {

// The general settings are only shown.
const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6359P_MODBUS,
    .pBlock = &CMainFrame::m_strAnalogOutputParams,
    .eLink = ELinkKind::Rtu,
    .boxes = {IDC_ODI_ADDRESS, IDC_ODI_BAUD, IDC_ODI_CHECKSUM, 0, IDC_ODI_FORMAT, 0},
    .pFormatCodes = &FormatDigitTable,
};

inline constexpr WORD kTimeout = 100;
inline constexpr UINT kPeriod = 200;
inline constexpr int kRegistersText = 16; // four registers of four hex digits
inline constexpr int kCoilsText = 2;      // one coil byte

// A row of the register list: the reference, 7 blanks, the channel, 10 blanks, the value.
std::string ListRow(int reference, int channel, const std::string& value)
{
    return Format("%d", reference) + std::string(7, ' ') + Format("CH%d", channel) +
           std::string(10, ' ') + value;
}

inline constexpr const char* kCodeRefused = "Output code must be a number from 0 to 4095!";

} // namespace

BEGIN_MESSAGE_MAP(CM6359pModbus, CModuleDlg)
ON_CBN_SELCHANGE(kOdiRangeIds[0], OnSelchangeRange<0>)
ON_CBN_SELCHANGE(kOdiRangeIds[1], OnSelchangeRange<1>)
ON_CBN_SELCHANGE(kOdiRangeIds[2], OnSelchangeRange<2>)
ON_CBN_SELCHANGE(kOdiRangeIds[3], OnSelchangeRange<3>)
ON_CBN_SELCHANGE(IDC_ODI_CHANNEL, OnSelchangeChannel)
ON_NOTIFY(NM_RELEASEDCAPTURE, IDC_ODI_SLIDER_MODBUS, OnReleasedcaptureSlider)
ON_BN_CLICKED(IDC_ODI_OUTPUT, OnSetting)
ON_BN_CLICKED(IDC_ODI_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_ODI_CANCEL, OnCancel)
END_MESSAGE_MAP()

CM6359pModbus::CM6359pModbus(CWnd*) : CModuleDlg(kDescriptor) {}

BOOL CM6359pModbus::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_bReadInputs = false;
    GetDlgItem(IDC_ODI_RESPOND)->EnableWindow(FALSE);
    InitFromBlock();
    GetDlgItem(IDC_ODI_BAUD)->EnableWindow(IsAddressZero());
    GetDlgItem(IDC_ODI_CHECKSUM)->EnableWindow(IsAddressZero());
    if (!IsAddressZero()) GetDlgItem(IDC_ODI_FORMAT)->EnableWindow(FALSE);
    for (int id : kOdiCheckIds) GetDlgItem(id)->EnableWindow(FALSE);
    GetDlgItem(IDC_ODI_OUTPUT)->EnableWindow(FALSE);
    FillSettingsBoxes();
    SetDlgItemText(IDC_ODI_CODE, "0");
    m_lamps.Attach(*this, {kOdiLampIds[0], kOdiLampIds[1], kOdiLampIds[2], kOdiLampIds[3]});
    if (!OpenRtuLine(BlockBaudRate(), m_pMainFrame->m_nParity)) return TRUE;
    SendRtu(m_strAddress + "0300C80004", kTimeout);
    m_nCommand = kCmdFirstReply;
    SetTimer(m_nTimerId, kPeriod);
    return TRUE;
}

int CM6359pModbus::ChannelRow(int channel) const
{
    return GetDlgItemAs<CComboBox>(kOdiRangeIds[channel])->GetCurSel();
}

void CM6359pModbus::QueueRangeWrite(int channel)
{
    int row = ChannelRow(channel);
    if (CodeOfRow(kAoRangeCodes, row).empty()) return;
    m_nRangeRow[static_cast<size_t>(channel)] = row;
    QueueWrite(kCmdRangeWrite0 + channel);
}

void CM6359pModbus::OnSelchangeChannel()
{
    int channel = GetDlgItemAs<CComboBox>(IDC_ODI_CHANNEL)->GetCurSel();
    if (channel < 0) return;
    m_nSliderSpan = OutputDiSliderSpan(ChannelRow(channel));
    GetDlgItemAs<CSliderCtrl>(IDC_ODI_SLIDER_MODBUS)->SetRange(0, m_nSliderSpan);
    GetDlgItem(IDC_ODI_OUTPUT)->EnableWindow(TRUE);
}

void CM6359pModbus::OnReleasedcaptureSlider()
{
    int position = GetDlgItemAs<CSliderCtrl>(IDC_ODI_SLIDER_MODBUS)->GetPos();
    SetDlgItemText(IDC_ODI_CODE, Format("%d", OutputDiCodeOfPosition(position, m_nSliderSpan)));
}

void CM6359pModbus::OnSetting()
{
    int channel = GetDlgItemAs<CComboBox>(IDC_ODI_CHANNEL)->GetCurSel();
    if (channel < 0) return;
    // The module takes a 12-bit code: anything else would put a malformed frame on the bus.
    std::optional<int> code = ParseOutputDiCode(Trim(GetDlgItemText(IDC_ODI_CODE)));
    if (!code) {
        MessageBox(kCodeRefused, "", MB_ICONEXCLAMATION);
        return;
    }
    m_nOutputCode[static_cast<size_t>(channel)] = *code;
    QueueWrite(kCmdOutputWrite0 + channel);
}

// Refresh takes the place of the writes that have not gone out: their controls show the module's
// values again.
void CM6359pModbus::OnRefresh()
{
    std::vector<int> waiting;
    for (int ch = 0; ch < 4; ++ch) {
        for (int command : {kCmdRangeWrite0 + ch, kCmdOutputWrite0 + ch})
            if (WritePending(command)) waiting.push_back(command);
    }
    DropQueuedCommand();
    for (int command : waiting)
        if (!WritePending(command)) ShowModuleValue(command);
}

void CM6359pModbus::ShowModuleValue(int nCommand)
{
    int selected = GetDlgItemAs<CComboBox>(IDC_ODI_CHANNEL)->GetCurSel();
    if (nCommand >= kCmdOutputWrite0) {
        const std::optional<int>& code =
            m_nModuleCode[static_cast<size_t>(nCommand - kCmdOutputWrite0)];
        if (code && selected == nCommand - kCmdOutputWrite0)
            SetDlgItemText(IDC_ODI_CODE, Format("%d", *code));
        return;
    }
    int channel = nCommand - kCmdRangeWrite0;
    GetDlgItemAs<CComboBox>(kOdiRangeIds[channel])
        ->SetCurSel(m_nModuleRange[static_cast<size_t>(channel)]);
    if (selected == channel) OnSelchangeChannel();
}

void CM6359pModbus::ReadRanges(const std::string& data)
{
    if (static_cast<int>(data.size()) >= kRegistersText) {
        for (int ch = 0; ch < 4; ++ch) {
            int row = OutputDiRowOfCode(Mid(data, 4 * ch + 2, 2));
            if (row < 0) continue;
            m_nModuleRange[static_cast<size_t>(ch)] = row;
            if (!WritePending(kCmdRangeWrite0 + ch))
                GetDlgItemAs<CComboBox>(kOdiRangeIds[ch])->SetCurSel(row);
        }
    }
    GetDlgItemAs<CComboBox>(IDC_ODI_CHANNEL)->SelectString(-1, "CH0");
    OnSelchangeChannel();
}

void CM6359pModbus::ReadPoll(const std::string& data)
{
    int size = static_cast<int>(data.size());
    if (size >= kRegistersText) {
        for (int ch = 0; ch < 4; ++ch) {
            auto k = static_cast<size_t>(ch);
            int raw = static_cast<int>(StrToLong(Mid(data, 4 * ch, 4), 16));
            m_nModuleCode[k] = raw;
            m_strRawCode[k] = Format("%d", raw);
            std::optional<float> value = OutputDiEngineering(raw, m_nModuleRange[k]);
            m_strValueText[k] = value ? Format("%f", static_cast<double>(*value)) : "";
        }
    } else if (size == kCoilsText) {
        int bits = HexDigitOrZero(CharAt(data, 1));
        for (int k = 0; k < 4; ++k) {
            bool on = (bits >> k) & 1;
            m_lamps.Show(k, on);
            m_strInputState[static_cast<size_t>(k)] = on ? "1" : "0";
        }
    }
    ShowReadings();
}

void CM6359pModbus::ShowReadings()
{
    auto* list = GetDlgItemAs<CListBox>(IDC_ODI_LIST);
    list->ResetContent();
    for (int ch = 0; ch < 4; ++ch)
        list->AddString(ListRow(40001 + ch, ch, m_strRawCode[static_cast<size_t>(ch)]));
    for (int ch = 0; ch < 4; ++ch)
        list->AddString(ListRow(10001 + ch, ch, m_strInputState[static_cast<size_t>(ch)]));
    for (int ch = 0; ch < 4; ++ch)
        SetDlgItemText(kOdiCurrentIds[ch], m_strValueText[static_cast<size_t>(ch)]);
}

void CM6359pModbus::PollStep()
{
    TakeReply();
    if (m_nLastCommand == kLastWrite) {
        // A write's reply is its echo, no reading.
        SettleChannelWrite();
        m_nCommand = kCmdPoll;
    } else {
        // A reply that answers no read (an exception included) carries nothing.
        std::string data = RtuDataCame() ? ModbusDataText() : "ERROR";
        if (m_nLastCommand == kLastRead) ReadPoll(data);
        if (m_nCommand == kCmdFirstReply) {
            ReadRanges(data);
            m_nCommand = kCmdPoll;
        }
    }
    m_nLastCommand = kLastNone;
    ApplyQueuedCommand();
    SendRtu(NextRequest(), kTimeout);
}

std::string CM6359pModbus::NextRequest()
{
    if (m_nCommand != kCmdPoll) {
        m_nLastCommand = kLastWrite;
        return WriteRequest(m_nCommand);
    }
    m_nLastCommand = kLastRead;
    std::string request = m_bReadInputs ? "0100000004" : "0300000004";
    m_bReadInputs = !m_bReadInputs;
    return m_strAddress + request;
}

// A range into register 0x00C8 + channel (its code, for example 0x0031), an output code into
// register 0x0000 + channel.
std::string CM6359pModbus::WriteRequest(int nCommand)
{
    m_nWriteSent = nCommand;
    if (nCommand >= kCmdOutputWrite0) {
        int channel = nCommand - kCmdOutputWrite0;
        m_nWriteValue = m_nOutputCode[static_cast<size_t>(channel)];
        m_strWriteRequest = m_strAddress + Format("06000%d%04X", channel, m_nWriteValue);
    } else {
        int channel = nCommand - kCmdRangeWrite0;
        m_nWriteValue = m_nRangeRow[static_cast<size_t>(channel)];
        m_strWriteRequest = m_strAddress + "0600C" + ValueToHexChar(0x8 + channel) + "00" +
                            CodeOfRow(kAoRangeCodes, m_nWriteValue);
    }
    return m_strWriteRequest;
}

// Heard, the module holds the value; refused, the control shows the module's value again (the
// dialog has no text for it); not heard, the write waits to go out again.
void CM6359pModbus::SettleChannelWrite()
{
    int command = m_nWriteSent;
    EWriteAnswer answer = SettleWrite(command, RtuWriteAnswer(m_strWriteRequest));
    if (answer == EWriteAnswer::Heard) {
        bool output = command >= kCmdOutputWrite0;
        auto k = static_cast<size_t>(command - (output ? kCmdOutputWrite0 : kCmdRangeWrite0));
        if (output)
            m_nModuleCode[k] = m_nWriteValue;
        else
            m_nModuleRange[k] = m_nWriteValue;
    } else if (answer == EWriteAnswer::Refused && !WritePending(command)) {
        ShowModuleValue(command);
    }
}
