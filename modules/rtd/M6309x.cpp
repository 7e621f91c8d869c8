#include "M6309x.h"

#include "AsciiCommand.h"
#include "Clock.h"
#include "ModelName.h"
#include "ModuleDialogs.h"
#include "ReadingFields.h"
#include "Strings.h"
#include "rtd/RtdIds.h"
#include "rtd/RtdRanges.h"

REGISTER_MODULE_DIALOG(CM6309x)

namespace {

inline constexpr WORD kFirstTimeout = 100;
inline constexpr WORD kPollTimeout = 200;
inline constexpr DWORD kPause = 150;
inline constexpr UINT kPeriod = 250;
// A sign-led reply has at most this many fields.
inline constexpr int kMaxSigns = 6;
inline constexpr const char* kModbusOk = "Setting Modbus/RTU OK!";
inline constexpr const char* kReadFailed = "ERROR!!";

const CodeTable kFormatDigits = {"0", "1", "2", "3"};
// A name in neither range group has no range list: only its current code can be written.
const CodeTable kNoCodes;

// Channel count by a number the name contains.
struct SChannelRule {
    const char* pszNumber;
    int nChannels;
};
const SChannelRule kChannelRules[] = {
    {"6308", 1}, {"4308", 1}, {"6300", 3}, {"4300", 3}, {"6309", 4},
    {"4309", 4}, {"6307", 6}, {"4307", 6}, {"4382", 6},
};

int ChannelsOf(const std::string& name)
{
    for (const SChannelRule& rule : kChannelRules)
        if (ModelHas(name, rule.pszNumber)) return rule.nChannels;
    return 0;
}

} // namespace

BEGIN_MESSAGE_MAP(CM6309x, CModuleDlg)
ON_BN_CLICKED(IDC_RTD_SETTING, OnSetting)
ON_BN_CLICKED(IDC_RTD_CANCEL, OnCancel)
END_MESSAGE_MAP()

CM6309x::CM6309x(CWnd*) : CModuleDlg(183, &CMainFrame::m_strRtdInputParams, ELinkKind::Ascii) {}

void CM6309x::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_RTD_MODEL, m_strModelText);
}

const SRangeList* CM6309x::Ranges() const
{
    if (ModelIsAny(m_strModuleName, {"6308", "4308", "6300", "4300", "6307", "4307"}))
        return &kRtdRanges13;
    if (ModelIsAny(m_strModuleName, {"6308A", "4308A", "6300A", "4300A", "6309", "4309"}))
        return &kRtdRanges6;
    return nullptr;
}

int CM6309x::RangeBox() const
{
    return Ranges() == &kRtdRanges6 ? IDC_RTD_RANGE6 : IDC_RTD_RANGE13;
}

BOOL CM6309x::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_strModelText = Block()[kModule];
    GetDlgItemAs<CComboBox>(IDC_RTD_PROTOCOL)->SetCurSel(0);
    InitFromBlock(IDC_RTD_ADDRESS);
    GetDlgItemAs<CComboBox>(IDC_RTD_CHANNEL)->SelectString(-1, "0");
    SetDlgItemText(IDC_RTD_ZERO_VALUE, "+000.00");
    SetDlgItemText(IDC_RTD_SPAN_VALUE, "0.0000");

    const ModuleParamBlock& block = Block();
    bool addressZero = m_strAddressDecimal == "0";
    int baudRow = RowOfCode(BaudCodeTable, block[kBrate]);
    GetDlgItemAs<CComboBox>(IDC_RTD_BAUD)->SetCurSel(baudRow);
    // The INIT state answers at 9600; so does a module whose baud code is none of the table's.
    DWORD baud = addressZero || baudRow < 0 ? 9600 : BaudRateOfRow(baudRow);
    bool checksum = ChecksumOn(block[kCheck]);
    GetDlgItemAs<CComboBox>(IDC_RTD_CHECKSUM)->SetCurSel(checksum ? 0 : 1);
    m_bChecksum = checksum && !addressZero ? 1 : 0;

    if (const SRangeList* ranges = Ranges()) {
        bool six = ranges == &kRtdRanges6;
        GetDlgItem(IDC_RTD_RANGE13)->ShowWindow(six ? SW_HIDE : SW_SHOW);
        GetDlgItem(IDC_RTD_RANGE6)->ShowWindow(six ? SW_SHOW : SW_HIDE);
        GetDlgItemAs<CComboBox>(RangeBox())->SetCurSel(RowOfCode(ranges->codes, block[kScript]));
    }
    GetDlgItemAs<CComboBox>(IDC_RTD_FORMAT)->SetCurSel(RowOfCode(kFormatDigits, block[kFormat]));

    m_nChannels = ChannelsOf(m_strModuleName);
    for (int ch = std::max(m_nChannels, 1); ch < 6; ++ch) {
        GetDlgItem(kRtdInputIds[ch])->EnableWindow(FALSE);
        GetDlgItem(kRtdOhmIds[ch])->EnableWindow(FALSE);
    }

    if (!OpenAsciiLine(baud)) return TRUE;
    SendAscii(Request('#', ""), kFirstTimeout);
    SetTimer(m_nTimerId, kPeriod);
    return TRUE;
}

void CM6309x::ShowChannelValue(int channel, int kind, const std::string& text)
{
    if (channel < 0 || channel >= 6) return;
    SetDlgItemText(kind == 0 ? kRtdInputIds[channel] : kRtdOhmIds[channel], text);
}

void CM6309x::ShowReadings()
{
    int kind = m_nPollPhase;
    if (m_nChannels == 0) return;
    std::vector<std::string> fields;
    if (m_nLastResult != 1) {
        fields.assign(static_cast<size_t>(m_nChannels), kReadFailed);
    } else if (m_nChannels == 1) {
        fields = {Mid(m_strReply, 1)};
    } else {
        std::string data = Mid(m_strReply, 1);
        // Resistances always come in equal widths.
        fields = kind == 0 ? SplitReadings(data, m_nChannels, kMaxSigns)
                           : SplitEqualWidth(data, m_nChannels);
    }
    for (int ch = 0; ch < m_nChannels; ++ch)
        ShowChannelValue(ch, kind, fields[static_cast<size_t>(ch)]);
}

void CM6309x::PollStep()
{
    TakeReply();
    if (m_nLastCommand == kLastSetting) {
        bool modbus = GetDlgItemAs<CComboBox>(IDC_RTD_PROTOCOL)->GetCurSel() == 1;
        bool refused = CharAt(m_strReply, 0) == '?';
        ShowSettingOutcome(SettingOutcome(m_strReply, refused, modbus), kModbusOk);
        OnCancel();
        return;
    }
    std::string request;
    if (m_nCommand == kCmdSetting) {
        request = m_strSettingRequest;
        m_nLastCommand = kLastSetting;
    } else {
        ShowReadings();
        m_nPollPhase = m_nPollPhase == 0 ? 1 : 0;
        request = m_nPollPhase == 1 ? Request('$', "A") : Request('#', "");
    }
    SendAscii(request, kPollTimeout);
    Sleep(kPause);
}

std::optional<SConfigurationFields> CM6309x::ReadConfiguration(const std::string& newAddress)
{
    const ModuleParamBlock& block = Block();
    const SRangeList* ranges = Ranges();
    int rangeRow = ranges ? GetDlgItemAs<CComboBox>(RangeBox())->GetCurSel() : -1;
    struct SField {
        const CodeTable& table;
        int row;
        const std::string& current;
        size_t digits;
        const char* label;
    } fields[] = {
        {ranges ? ranges->codes : kNoCodes, rangeRow, block[kScript], 2, "Range"},
        {BaudCodeTable, GetDlgItemAs<CComboBox>(IDC_RTD_BAUD)->GetCurSel(), block[kBrate], 2,
         "Baudrate"},
        {kFormatDigits, GetDlgItemAs<CComboBox>(IDC_RTD_FORMAT)->GetCurSel(), block[kFormat], 1,
         "Data Format"},
    };
    std::string codes[3];
    for (size_t i = 0; i < 3; ++i) {
        const SField& f = fields[i];
        std::optional<std::string> code = ChosenCode(f.table, f.row, f.current, f.digits);
        if (!code) {
            MessageBox(SelectListText(f.label));
            return std::nullopt;
        }
        codes[i] = *code;
    }
    bool checksumOn = GetDlgItemAs<CComboBox>(IDC_RTD_CHECKSUM)->GetCurSel() == 0;
    return SConfigurationFields{
        m_strOldAddress, newAddress, codes[0], codes[1], ChecksumDigit(block[kCheck], checksumOn),
        codes[2]};
}

void CM6309x::OnSetting()
{
    m_pMainFrame = GetMainFrame();
    UpdateData(TRUE);
    if (GetDlgItemText(IDC_RTD_ADDRESS) == "0") {
        RefuseAddressZero(kAddressZeroCloses);
        return;
    }
    std::optional<int> typed = ReadTypedAddress(IDC_RTD_ADDRESS);
    if (!typed) return;
    std::string newAddress = Format("%02X", *typed);
    bool modbus = GetDlgItemAs<CComboBox>(IDC_RTD_PROTOCOL)->GetCurSel() == 1;
    bool checksumOn = GetDlgItemAs<CComboBox>(IDC_RTD_CHECKSUM)->GetCurSel() == 0;
    if (modbus) {
        // The switch tells the module nothing of the other settings: the row keeps them.
        SConfigurationFields fields{m_strOldAddress, newAddress, "", "", "", ""};
        m_strSettingRequest =
            FrameAsciiCommand(ModbusSwitchText(kSwitchDollarR1, fields), m_bChecksum != 0);
        WriteBack({}, {}, &CMainFrame::m_bRtdInputChanged);
    } else {
        std::optional<SConfigurationFields> fields = ReadConfiguration(newAddress);
        if (!fields) return;
        m_strSettingRequest = FrameAsciiCommand(ConfigurationText(*fields), m_bChecksum != 0);
        SSettingWriteBack back = ConfigurationWriteBack(
            *fields, Block()[kModule], GetDlgItemText(IDC_RTD_BAUD),
            GetDlgItemText(IDC_RTD_CHECKSUM), Ranges() ? SelectedText(RangeBox()) : std::nullopt);
        WriteBack(back.row, back.params, &CMainFrame::m_bRtdInputChanged);
    }
    m_bChecksum = checksumOn ? 1 : 0;
    m_nCommand = kCmdSetting;
}
