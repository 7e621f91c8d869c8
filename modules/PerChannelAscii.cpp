#include "PerChannelAscii.h"

#include "AsciiCommand.h"
#include "Strings.h"

namespace {

// The Format digit: bit 2 is the protocol the module speaks (set: Modbus RTU), bits 0 and 1 the
// data format ("3" has no row).
inline constexpr int kModbusFormatBit = 0x4;
inline constexpr int kAsciiRow = 0;
inline constexpr int kModbusRow = 1;

inline constexpr WORD kFirstTimeout = 100;
inline constexpr WORD kPollTimeout = 200;
inline constexpr UINT kPeriod = 500;

inline constexpr const char* kNewAddressZero = "地址不可设置为0";

SModuleDescriptor DescriptorOf(const SPerChannelAsciiSetup& setup)
{
    return {
        .nTemplate = setup.nTemplate,
        .pBlock = setup.pBlock,
        .pChanged = setup.pChanged,
        .eLink = ELinkKind::Ascii,
        .boxes = {IDC_PC_ADDRESS, IDC_PC_BAUD, IDC_PC_CHECKSUM, 0, IDC_PC_FORMAT, IDC_PC_PROTOCOL},
        .pFormatCodes = &FormatDigitTable,
        .nFormatMask = 0x3,
        .eMask = setup.eMask,
    };
}

} // namespace

BEGIN_MESSAGE_MAP(CPerChannelAsciiDlg, CPerChannelTypeDlg)
ON_BN_CLICKED(IDC_PC_UPDATE, OnUpdate)
ON_BN_CLICKED(IDC_PC_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_PC_CANCEL, OnCancel)
END_MESSAGE_MAP()

CPerChannelAsciiDlg::CPerChannelAsciiDlg(const SPerChannelAsciiSetup& setup)
    : CPerChannelTypeDlg(DescriptorOf(setup), setup.rows, setup.typeCodes), m_pTypes(setup.pTypes)
{
}

BOOL CPerChannelAsciiDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    InitFromBlock();
    for (int id : {IDC_PC_ZERO, IDC_PC_SPAN, IDC_PC_CJC}) GetDlgItem(id)->EnableWindow(FALSE);
    // Baud rate, checksum and protocol change only while the module answers at address 0.
    bool addressZero = IsAddressZero();
    for (int id : {IDC_PC_BAUD, IDC_PC_CHECKSUM, IDC_PC_PROTOCOL}) {
        GetDlgItem(id)->EnableWindow(addressZero);
    }
    const ChannelTypeList& types = m_pMainFrame->*m_pTypes;
    for (int k = 0; k < Channels(); ++k) SelectTypeCode(k, types[static_cast<size_t>(k)]);

    // A module at address 0 (INIT) takes no checksum digits.
    FillSettingsBoxes(true);
    const std::string& format = Block()[kFormat];
    bool modbus = format.size() == 1 && format[0] >= '4' && format[0] <= '7';
    GetDlgItemAs<CComboBox>(IDC_PC_PROTOCOL)->SetCurSel(modbus ? kModbusRow : kAsciiRow);

    // Every name starts with the mask read, so the first step always has a request to make.
    m_nCommand = kCmdStart;
    OpenAsciiLine(BlockBaudRate());
    SendAscii(Request('$', "6"), kFirstTimeout);
    m_nLastCommand = kMaskRead;
    SetTimer(m_nTimerId, kPeriod);
    return TRUE;
}

void CPerChannelAsciiDlg::PollStep()
{
    // The reply keeps the module's checksum digits; only the readings drop them.
    m_strReply = m_nLastResult == 1 ? std::string(m_szReply) : "ERROR";
    if (!CheckReply()) return;
    ApplyQueuedCommand();
    SendAscii(NextRequest(), kPollTimeout);
}

bool CPerChannelAsciiDlg::CheckReply()
{
    bool ack = CharAt(m_strReply, 0) == '!';
    switch (m_nLastCommand) {
    case kMaskRead:
        // "!AAVV": a refusal or no reply marks no channel.
        if (ack) ParseEnableMask(CharAt(m_strReply, 4), CharAt(m_strReply, 3));
        break;
    case kMaskWritten:
        SetDlgItemText(IDC_PC_RESPOND, ack ? "Enable/Disable Channels Successful"
                                           : "Enable/Disable Channels UnSuccessful");
        break;
    case kTypeWritten:
        SetDlgItemText(IDC_PC_RESPOND, ack ? "Change Successful" : "Change UnSuccessful");
        if (ack)
            (m_pMainFrame->*m_pTypes)[static_cast<size_t>(m_nSentTypeChannel)] = m_strSentTypeCode;
        break;
    case kConfigured:
        m_nLastCommand = kNothing;
        ShowConfigurationResult(ack);
        if (ack) WriteBack({}, {});
        OnCancel();
        return false;
    default:
        return true;
    }
    m_nLastCommand = kNothing;
    m_nCommand = kCmdBackToPoll;
    return true;
}

std::string CPerChannelAsciiDlg::NextRequest()
{
    switch (m_nCommand) {
    case kCmdWriteMask:
        // The boxes as they stand when the write goes out.
        m_strEnableMask = ChannelMaskText(m_bChannelEnabled);
        m_nLastCommand = kMaskWritten;
        return Request('$', "5" + m_strEnableMask);
    case kCmdConfigure:
        m_nLastCommand = kConfigured;
        m_strAddress = m_strOldAddress = m_strNewAddress;
        return m_strConfigRequest;
    case kCmdWriteType:
        m_nLastCommand = kTypeWritten;
        m_nSentTypeChannel = m_nTypeChannel;
        m_strSentTypeCode = m_strTypeCode;
        return Request('$', "7C" + Format("%d", m_nTypeChannel) + "R" + m_strTypeCode);
    case kCmdBackToPoll:
        m_nCommand = kCmdPoll;
        // The reply in hand answers a write or the mask read, so the fields stay empty until the
        // next poll's reply.
        [[fallthrough]];
    default:
        ShowReadings();
        return Request('#', "");
    }
}

void CPerChannelAsciiDlg::ShowReadings()
{
    std::string data = Mid(m_strReply, 1);
    if (m_bChecksum == 1) data = Left(data, static_cast<int>(data.size()) - 2);
    // Engineering units and percent take seven characters a channel; hex readings share the rest
    // equally.
    int width = m_strReply.size() >= 40 ? 7 : static_cast<int>(data.size()) / Channels();
    for (int k = 0; k < Channels(); ++k) {
        bool shown = m_bChannelEnabled[static_cast<size_t>(k)] == 1;
        ShowChannelValue(k, 0, shown ? Mid(data, k * width, width) : "");
    }
}

void CPerChannelAsciiDlg::OnUpdate()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice = ReadSettings(
        {.bRefuse = true, .pszText = kNewAddressZero, .pszCaption = nullptr, .nType = 0});
    if (!choice) return;
    const std::string& newAddress = choice->strAddress;
    std::string command = choice->bModbus
                              ? "%00" + newAddress + "FF" + choice->strBaudCode + "04"
                              : "%" + m_strOldAddress + newAddress + "FF" + choice->strBaudCode +
                                    (choice->bChecksumOn ? "4" : "0") + choice->strFormatDigit;
    m_strConfigRequest = FrameAsciiCommand(command, m_bChecksum != 0);
    m_strNewAddress = newAddress;
    // The texts now; the flag only when the module acknowledges.
    Texts params = ParamsOf(*choice);
    params[kScript] = std::nullopt;
    WriteBack(RowTextsOf(*choice), params, nullptr);
    QueueCommand(kCmdConfigure);
}

void CPerChannelAsciiDlg::OnRefresh()
{
    QueueCommand(kCmdBackToPoll);
}
