#include "M6384.h"

#include "AnalogInputIds.h"
#include "AsciiCommand.h"
#include "Clock.h"
#include "ModelName.h"
#include "ModuleDialogs.h"
#include "Resource.h"
#include "Resources.h"
#include "Strings.h"

#include <algorithm>

REGISTER_MODULE_DIALOG(CM6384)

namespace {

// Input Range rows; the blank last row stands for one type per channel.
const CodeTable kRangeCodes = {"08", "09", "0A", "0B", "0C", "0D", "07", "FF"};
const CodeTable kChannelTypeCodes = {"07", "08", "09", "0A", "0B", "0C", "0D"};
// Data Format rows by the Format digit, with or without the protocol bit.
const CodeTable kFormatDigits = {"0", "1", "2", "3"};
const CodeTable kFormatDigitsModbus = {"4", "5", "6", "7"};

const int kAlarmControls[] = {IDC_AI_HIGH_LIMIT,   IDC_AI_LOW_LIMIT,   IDC_AI_ALARMH_LABEL,
                              IDC_AI_ALARML_LABEL, IDC_AI_HIGH_LABEL,  IDC_AI_LOW_LABEL,
                              IDC_AI_ALARM_VALUE,  IDC_AI_ALARM_CLEAR, IDC_AI_ALARM_TYPE};
const int kChannelTypeControls[] = {IDC_AI_CH_NUMBER, IDC_AI_CH_TYPE, IDC_AI_CH_READ,
                                    IDC_AI_CH_CONF, IDC_AI_FOLLOW_CH0};
// Alarm-mode rows and the command each sends.
const char* const kAlarmModeCommands[] = {"DA", "EAM", "EAL"};

inline constexpr WORD kPollTimeout = 300;
inline constexpr DWORD kPause = 150;

// The eight readings of ">+01.234-00.500...", or of eight equal groups of hex digits.
std::array<std::string, 8> SplitReadings(const std::string& reply)
{
    std::array<std::string, 8> values;
    std::string text = Mid(reply, 1);
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        size_t k = 0;
        for (char c : text) {
            if ((c == '+' || c == '-') && !values[k].empty() && ++k == values.size()) break;
            values[k] += c;
        }
    } else {
        int n = static_cast<int>(text.size()) / 8;
        for (int k = 0; k < 8; ++k) values[static_cast<size_t>(k)] = Mid(reply, 1 + k * n, n);
    }
    return values;
}

} // namespace

BEGIN_MESSAGE_MAP(CM6384, CModuleDlg)
ON_BN_CLICKED(IDC_AI_SETTING, OnSetting)
ON_CHANNEL_BOXES(kAiCheckIds, OnChannelCheck)
ON_BN_CLICKED(IDC_AI_CH_READ, OnChannelRead)
ON_BN_CLICKED(IDC_AI_CH_CONF, OnChannelConfigure)
ON_BN_CLICKED(IDC_AI_FOLLOW_CH0, OnFollowChannel0)
ON_BN_CLICKED(IDC_AI_ALARM_VALUE, OnAlarmValueSetting)
ON_BN_CLICKED(IDC_AI_ALARM_TYPE, OnAlarmTypeSetting)
ON_BN_CLICKED(IDC_AI_ALARM_CLEAR, OnAlarmClear)
END_MESSAGE_MAP()

CM6384::CM6384(CWnd*) : CModuleDlg(155, &CMainFrame::m_strAnalogInputParams, ELinkKind::Ascii) {}

void CM6384::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_AI_MODEL, m_strModelText);
    for (int k = 0; k < 8; ++k)
        DDX_Check(pDX, kAiCheckIds[k], m_bChannelCheck[static_cast<size_t>(k)]);
}

bool CM6384::IsSingleChannel() const
{
    return ModelHasAny(m_strModuleName, {"4385", "6385", "4389", "6389"});
}

BOOL CM6384::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_strModelText = Block()[kModule];
    InitFromBlock(IDC_AI_ADDRESS);
    m_bChannelEnabled.fill(0);
    GetDlgItem(IDC_AI_ZERO)->EnableWindow(FALSE);
    GetDlgItem(IDC_AI_SPAN)->EnableWindow(FALSE);

    const ModuleParamBlock& block = Block();
    int baudRow = RowOfCode(BaudCodeTable, block[kBrate]);
    DWORD baud = BaudRateOfRow(baudRow);
    GetDlgItemAs<CComboBox>(IDC_AI_BAUD)->SetCurSel(baudRow);
    m_bChecksum = ChecksumOn(block[kCheck]) ? 1 : 0;
    GetDlgItemAs<CComboBox>(IDC_AI_CHECKSUM)->SetCurSel(m_bChecksum ? 0 : 1);
    bool addressZero = m_strAddressDecimal == "0";
    if (addressZero) m_bChecksum = 0;
    GetDlgItemAs<CComboBox>(IDC_AI_RANGE)->SetCurSel(RowOfCode(kRangeCodes, block[kScript]));
    int formatRow = std::max(RowOfCode(kFormatDigits, block[kFormat]),
                             RowOfCode(kFormatDigitsModbus, block[kFormat]));
    GetDlgItemAs<CComboBox>(IDC_AI_FORMAT)->SetCurSel(formatRow);
    GetDlgItemAs<CComboBox>(IDC_AI_PROTOCOL)->SetCurSel(0);

    if (ModelHas(m_strModuleName, "4384A")) {
        bool modbus = RowOfCode(kFormatDigitsModbus, block[kFormat]) >= 0;
        GetDlgItemAs<CComboBox>(IDC_AI_PROTOCOL)->SetCurSel(modbus ? 1 : 0);
        GetDlgItemAs<CComboBox>(IDC_AI_CH_NUMBER)->SelectString(-1, "CH0");
        for (int id : kChannelTypeControls) GetDlgItem(id)->EnableWindow(TRUE);
        GetDlgItem(IDC_AI_RANGE)->EnableWindow(FALSE);
    }
    if (addressZero) baud = 9600; // the INIT state answers at 9600 without checksum
    m_doLamps.Attach(*this, {IDC_AI_LAMP0, IDC_AI_LAMP1});
    if (IsSingleChannel()) {
        for (int k = 1; k < 8; ++k) GetDlgItem(kAiValueIds[k])->EnableWindow(FALSE);
        for (int id : kAiCheckIds) GetDlgItem(id)->EnableWindow(FALSE);
        for (int id : kAlarmControls) GetDlgItem(id)->EnableWindow(TRUE);
        GetDlgItem(IDC_AI_ALARM_MODE)->EnableWindow(TRUE);
        m_nCommand = 30;
    }
    if (ModelHasAny(m_strModuleName, {"4384F", "6384F", "6384CF"})) {
        GetDlgItem(IDC_AI_MODE)->EnableWindow(TRUE);
        GetDlgItem(IDC_AI_MODE_LABEL)->EnableWindow(TRUE);
    }
    if (ModelHasAny(m_strModuleName, {"4384", "6384"})) {
        for (int id : kAlarmControls) GetDlgItem(id)->EnableWindow(FALSE);
        if (!ModelHas(m_strModuleName, "4384A")) {
            for (int id : kChannelTypeControls) GetDlgItem(id)->EnableWindow(FALSE);
            GetDlgItem(IDC_AI_RANGE)->EnableWindow(TRUE);
        }
        if (ModelHasAny(m_strModuleName, {"4384C", "6384C", "4384c", "6384c"})) {
            GetDlgItem(IDC_AI_RANGE)->EnableWindow(FALSE);
        }
    }

    OpenAsciiLine(baud);
    if (IsSingleChannel()) {
        SendAscii(Request('#', ""), 100); // its reply is not read
    } else {
        SendAscii(Request('$', "6"), 100);
        m_nCommand = -1;
    }
    SetTimer(m_nTimerId, 500);
    return TRUE;
}

void CM6384::ToggleChannel(int k)
{
    auto i = static_cast<size_t>(k);
    m_bChannelCheck[i] = m_bChannelCheck[i] == 1 ? 0 : 1;
    m_bChannelEnabled[i] = m_bChannelCheck[i];
    BuildEnableMask();
}

void CM6384::BuildEnableMask()
{
    m_strEnableMask = ChannelMaskText(m_bChannelEnabled);
    QueueCommand(20);
}

void CM6384::ParseEnableMask(char low, char high)
{
    int lowValue = HexCharToValue(low);
    int highValue = HexCharToValue(high);
    for (int k = 0; k < 4; ++k) {
        if (lowValue & (1 << k))
            m_bChannelEnabled[static_cast<size_t>(k)] = m_bChannelCheck[static_cast<size_t>(k)] = 1;
        if (highValue & (1 << k)) {
            m_bChannelEnabled[static_cast<size_t>(k + 4)] =
                m_bChannelCheck[static_cast<size_t>(k + 4)] = 1;
        }
    }
    UpdateData(FALSE);
    SetDlgItemText(IDC_AI_ADDRESS, m_strAddressDecimal);
}

void CM6384::ShowChannelValue(int channel, const std::string& text)
{
    SetDlgItemText(kAiValueIds[channel], text);
}

void CM6384::SetStatus(const std::string& text)
{
    SetDlgItemText(IDC_AI_STATUS, text);
}

std::string CM6384::ChannelTypeRequest(char op, int channel, int typeRow) const
{
    std::string body = std::string(1, op) + "C" + Format("%d", channel);
    if (op == '7') body += "R" + CodeOfRow(kChannelTypeCodes, typeRow);
    return Request('$', body);
}

void CM6384::OnChannelRead()
{
    m_strChannelRequest =
        ChannelTypeRequest('8', GetDlgItemAs<CComboBox>(IDC_AI_CH_NUMBER)->GetCurSel(), 0);
    QueueCommand(28);
}

void CM6384::OnChannelConfigure()
{
    int typeRow = GetDlgItemAs<CComboBox>(IDC_AI_CH_TYPE)->GetCurSel();
    if (typeRow < 0) return; // no type chosen: nothing valid to write
    m_strChannelRequest =
        ChannelTypeRequest('7', GetDlgItemAs<CComboBox>(IDC_AI_CH_NUMBER)->GetCurSel(), typeRow);
    QueueCommand(29);
}

void CM6384::OnFollowChannel0()
{
    if (GetDlgItemText(IDC_AI_CH_NUMBER) != "CH0") {
        AfxMessageBox("Select the CH0!");
        return;
    }
    m_nFollowType = GetDlgItemAs<CComboBox>(IDC_AI_CH_TYPE)->GetCurSel();
    if (m_nFollowType < 0) return;
    m_strChannelRequest = ChannelTypeRequest('7', 0, m_nFollowType);
    m_bFollowCh0 = 1;
    QueueCommand(29);
}

void CM6384::OnAlarmValueSetting()
{
    std::string high = GetDlgItemText(IDC_AI_HIGH_LIMIT);
    std::string low = GetDlgItemText(IDC_AI_LOW_LIMIT);
    if (high.empty() || low.empty()) return;
    m_strHighLimitRequest = Request('@', "HI" + high);
    m_strLowLimitRequest = Request('@', "LO" + low);
    QueueCommand(11);
}

void CM6384::OnAlarmTypeSetting()
{
    // Typed text that is none of the three modes has no command.
    if (GetDlgItemAs<CComboBox>(IDC_AI_ALARM_MODE)->GetCurSel() >= 0) QueueCommand(24);
}

void CM6384::OnAlarmClear()
{
    QueueCommand(25);
}

void CM6384::OnLButtonDown(UINT nFlags, CPoint point)
{
    int lamp = m_doLamps.HitTest(point);
    if (lamp < 0) return;
    auto i = static_cast<size_t>(lamp);
    if (nFlags == MK_LBUTTON) m_bDoState[i] = m_bDoState[i] ? 0 : 1;
    QueueCommand(19);
    m_nLastReadCommand = 0;
}

void CM6384::OnSetting()
{
    m_pMainFrame = GetMainFrame();
    UpdateData(TRUE);
    std::optional<int> typed = ReadTypedAddress(IDC_AI_ADDRESS);
    if (!typed) return;
    if (*typed == 0) {
        RefuseAddressZero();
        return;
    }
    const ModuleParamBlock& block = Block();
    std::string newAddress = Format("%02X", *typed);
    auto* baudBox = GetDlgItemAs<CComboBox>(IDC_AI_BAUD);
    int rangeRow = GetDlgItemAs<CComboBox>(IDC_AI_RANGE)->GetCurSel();
    int formatRow = GetDlgItemAs<CComboBox>(IDC_AI_FORMAT)->GetCurSel();
    bool modbusChosen = GetDlgItemAs<CComboBox>(IDC_AI_PROTOCOL)->GetCurSel() == 1;
    bool checksumOn = GetDlgItemAs<CComboBox>(IDC_AI_CHECKSUM)->GetCurSel() == 0;
    bool perChannel = ModelHas(m_strModuleName, "4384A");

    std::string baudCode = CodeOfRow(BaudCodeTable, baudBox->GetCurSel());
    // A list without a chosen row keeps the module's current code.
    std::string rangeCode = perChannel      ? "FF"
                            : rangeRow >= 0 ? CodeOfRow(kRangeCodes, rangeRow)
                                            : block[kScript];
    int format = formatRow >= 0 ? formatRow : HexDigitOrZero(CharAt(block[kFormat], 0)) & 0x3;
    if (perChannel) format = modbusChosen ? (format | 0x4) : (format & ~0x4);
    std::string formatDigit = Format("%d", format);
    std::string checkDigit = ChecksumDigit(block[kCheck], checksumOn);

    std::string command;
    m_bProtocolSwitch = 0;
    if (perChannel) {
        command = "%" + m_strOldAddress + newAddress + "FF" + baudCode + checkDigit + formatDigit;
    } else if (modbusChosen) {
        // The switch goes to the address the module answers to now.
        command = "$" + m_strOldAddress + "R1";
        m_bProtocolSwitch = 1;
    } else if (ModelHasAny(m_strModuleName, {"4384F", "6384F", "6384CF"})) {
        int high = HexDigitOrZero(CharAt(m_strFormatHighDigit, 0));
        bool fast = GetDlgItemAs<CComboBox>(IDC_AI_MODE)->GetCurSel() == 1;
        m_strFormatHighDigit = ValueToHexChar(fast ? (high | 0x2) : (high & 0x8));
        command = "%" + m_strOldAddress + newAddress + rangeCode + baudCode + m_strFormatHighDigit +
                  formatDigit;
    } else {
        command =
            "%" + m_strOldAddress + newAddress + rangeCode + baudCode + checkDigit + formatDigit;
    }
    m_strOldAddress = newAddress;
    m_strConfigRequest = FrameAsciiCommand(command, m_bChecksum != 0);
    WriteBack({m_strModuleName, newAddress, GetDlgItemText(IDC_AI_BAUD),
               GetDlgItemText(IDC_AI_CHECKSUM), SelectedText(IDC_AI_RANGE)},
              {newAddress, baudCode, checkDigit, rangeCode, formatDigit},
              &CMainFrame::m_bAnalogInputChanged);
    m_bChecksum = checksumOn ? 1 : 0;
    m_nLastReadCommand = 0;
    QueueCommand(1);
}

void CM6384::ShowFailureTexts()
{
    for (int k = 0; k < 8; ++k)
        ShowChannelValue(k, m_bChannelEnabled[static_cast<size_t>(k)] ? "ERROR!!" : "");
}

void CM6384::ReadReadings()
{
    bool answered = m_nLastResult == 1;
    if (IsSingleChannel()) {
        if (answered && !m_strReply.empty()) ShowChannelValue(0, Mid(m_strReply, 1));
        m_nCommand = m_nLimitReads == 0 ? 7 : 9;
        return;
    }
    if (answered) {
        std::array<std::string, 8> values = SplitReadings(m_strReply);
        for (int k = 0; k < 8; ++k) {
            ShowChannelValue(
                k, m_bChannelEnabled[static_cast<size_t>(k)] ? values[static_cast<size_t>(k)] : "");
        }
    }
    if (!m_bTypeRead) {
        // One type read after the first readings, for the channel the CH Number box shows.
        m_bTypeRead = 1;
        m_strChannelRequest =
            ChannelTypeRequest('8', GetDlgItemAs<CComboBox>(IDC_AI_CH_NUMBER)->GetCurSel(), 0);
        m_nCommand = 28;
    }
}

void CM6384::ReadLimitWrites()
{
    bool ack = CharAt(m_strReply, 0) == '!';
    if (m_nLimitWriteStep == 1) {
        m_nCommand = ack ? 12 : 11;
        if (ack) SetStatus("Ready");
    } else if (m_nLimitWriteStep == 2) {
        m_nLimitWriteStep = 0;
        m_nCommand = ack ? 2 : 12;
        if (ack) SetStatus("Ready");
    }
}

void CM6384::ShowLamps(const std::string& outputs)
{
    int bits = outputs == "01" ? 1 : outputs == "02" ? 2 : outputs == "03" ? 3 : 0;
    for (size_t i = 0; i < m_bDoState.size(); ++i) {
        m_bDoState[i] = (bits >> i) & 1;
        m_doLamps.Show(static_cast<int>(i), m_bDoState[i] != 0);
    }
}

void CM6384::ReadConfigurationMode()
{
    if (CharAt(m_strReply, 0) == '!') m_strFormatHighDigit = Mid(m_strReply, 7, 1);
    bool fast = HexCharToValue(CharAt(m_strFormatHighDigit, 0)) & 0x2;
    GetDlgItemAs<CComboBox>(IDC_AI_MODE)->SetCurSel(fast ? 1 : 0);
}

void CM6384::ReadAlarmReads()
{
    bool ack = CharAt(m_strReply, 0) == '!';
    switch (m_nLastReadCommand) {
    case 1:
        m_nCommand = ack ? 8 : 7;
        if (ack) SetDlgItemText(IDC_AI_HIGH_LIMIT, Mid(m_strReply, 3, 7));
        return;
    case 2:
        m_nCommand = ack ? 2 : 8;
        m_nLastReadCommand = 0;
        ++m_nLimitReads;
        if (ack) SetDlgItemText(IDC_AI_LOW_LIMIT, Mid(m_strReply, 3, 7));
        return;
    case 4: {
        // The same @AADI reply also carries the outputs: the output reader reads it next.
        m_nCommand = ack ? 2 : 30;
        m_nLastReadCommand = 3;
        int mode = CharAt(m_strReply, 3) - '0';
        if (ack && mode >= 0 && mode <= 2)
            GetDlgItemAs<CComboBox>(IDC_AI_ALARM_MODE)->SetCurSel(mode);
        break;
    }
    case 25:
        m_nLastReadCommand = 0;
        m_nCommand = ack ? 2 : 8;
        return;
    case 5:
        m_nLastReadCommand = 0;
        ReadConfigurationMode();
        ++m_nLimitReads;
        return;
    default:
        break;
    }
    if (m_nLastReadCommand == 3) {
        m_nLastReadCommand = 0;
        m_nCommand = ack ? 2 : 9;
        if (ack) ShowLamps(Mid(m_strReply, 4, 2));
        SetStatus(m_strReply);
    }
}

void CM6384::ReadChannelTypeReply()
{
    if (CharAt(m_strReply, 0) != '!') return;
    int row = RowOfCode(kChannelTypeCodes, Mid(m_strReply, 6, 2));
    if (row >= 0) GetDlgItemAs<CComboBox>(IDC_AI_CH_TYPE)->SetCurSel(row);
}

void CM6384::ReadFollowReply()
{
    if (CharAt(m_strReply, 0) == '!' && m_bFollowCh0 && ++m_nFollowChannel < 8) {
        m_strChannelRequest = ChannelTypeRequest('7', m_nFollowChannel, m_nFollowType);
        m_nCommand = 29;
        return;
    }
    m_bFollowCh0 = 0;
    m_nFollowChannel = 0;
}

bool CM6384::ReadLastCommand()
{
    int last = m_nLastCommand;
    if (last == 0) return true;
    if (last == 100) {
        bool accepted = CharAt(m_strReply, 0) == '!';
        if (accepted || !m_bProtocolSwitch) {
            ShowConfigurationResult(accepted);
        } else {
            TickMessageBox("Setting MODBUS/RTU OK!", "Setting", MB_ICONEXCLAMATION);
        }
        OnCancel();
        return false;
    }
    m_nLastCommand = 0;
    m_nCommand = 2;
    switch (last) {
    case 28:
        ReadChannelTypeReply();
        break;
    case 29:
        ReadFollowReply();
        break;
    default:
        SetStatus(CharAt(m_strReply, 0) == '!' ? "Ready!" : "Error!");
        break;
    }
    return true;
}

std::string CM6384::NextRequest(const std::string& poll)
{
    switch (m_nCommand) {
    case 1:
        m_nLastCommand = 100;
        return m_strConfigRequest;
    case 2:
        m_nCommand = 0;
        return Request('#', "");
    case 7:
        m_nLastReadCommand = 1;
        return Request('@', "RH");
    case 8:
        m_nLastReadCommand = 2;
        return Request('@', "RL");
    case 9:
        m_nLastReadCommand = 3;
        return Request('@', "DI");
    case 11:
        m_nLimitWriteStep = 1;
        return m_strHighLimitRequest;
    case 12:
        m_nLimitWriteStep = 2;
        return m_strLowLimitRequest;
    case 19:
        m_nLastCommand = 19;
        return Request('@', "DO0" + Format("%d", 2 * m_bDoState[1] + m_bDoState[0]));
    case 20:
        m_nLastCommand = 20;
        return Request('$', "5" + m_strEnableMask);
    case 24: {
        m_nLastCommand = 24;
        int mode = GetDlgItemAs<CComboBox>(IDC_AI_ALARM_MODE)->GetCurSel();
        return Request('@', kAlarmModeCommands[std::clamp(mode, 0, 2)]);
    }
    case 25:
        m_nLastReadCommand = 25;
        return Request('@', "CA");
    case 28:
        m_nLastCommand = 28;
        return m_strChannelRequest;
    case 29:
        m_nLastCommand = 29;
        return m_strChannelRequest;
    case 30:
        m_nLastCommand = 30;
        m_nLastReadCommand = 4;
        return Request('@', "DI");
    case 31:
        m_nLastCommand = 31;
        m_nLastReadCommand = 5;
        return Request('$', "2");
    default:
        return poll;
    }
}

void CM6384::PollStep()
{
    TakeReply();
    bool answered = m_nLastResult == 1;
    // After a miss the poll is framed as the line was opened.
    std::string poll = Request('#', "", (answered ? m_bChecksum : m_bOpenChecksum) != 0);
    if (!answered) ShowFailureTexts();
    if (m_nCommand == -1) {
        if (answered) ParseEnableMask(CharAt(m_strReply, 4), CharAt(m_strReply, 3));
        m_nCommand = 31;
    }
    ReadLimitWrites();
    ReadAlarmReads();
    if (!ReadLastCommand()) return;
    // The operator's request goes out now; a read it interrupts is not taken from its reply.
    if (ApplyQueuedCommand()) m_nLastReadCommand = 0;
    if (m_nCommand == 0) ReadReadings();
    SendAscii(NextRequest(poll), kPollTimeout);
    Sleep(kPause);
}
