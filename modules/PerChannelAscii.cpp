#include "PerChannelAscii.h"

#include "AsciiCommand.h"
#include "Strings.h"

namespace {

inline constexpr int kAsciiRow = 0;
inline constexpr int kModbusRow = 1;

inline constexpr WORD kPollTimeout = 200;
// The width of every reading in engineering units and percent ("+01.234"); hex readings are four
// digits in any format.
inline constexpr size_t kReadingWidth = 7;

// The Format digit: bit 2 is the protocol the module speaks (set: Modbus RTU), bits 0 and 1 the
// data format ("3" has no row).
bool FormatMeansModbus(const std::string& format)
{
    return format.size() == 1 && format[0] >= '4' && format[0] <= '7';
}

SModuleDescriptor DescriptorOf(const SPerChannelAsciiSetup& setup)
{
    return {
        .nTemplate = setup.nTemplate,
        .pBlock = setup.pBlock,
        .pChanged = setup.pChanged,
        .eLink = ELinkKind::Ascii,
        .boxes = {IDC_PC_ADDRESS, IDC_PC_BAUD, IDC_PC_CHECKSUM, 0, IDC_PC_FORMAT, IDC_PC_PROTOCOL},
        .pFormatCodes = &FormatDigitTable,
        .nFormatMask = setup.bFormatSelectsProtocol ? 0x3 : 0xF,
    };
}

} // namespace

BEGIN_MESSAGE_MAP(CPerChannelAsciiDlg, CPerChannelTypeDlg)
ON_BN_CLICKED(IDC_PC_UPDATE, OnUpdate)
ON_BN_CLICKED(IDC_PC_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_PC_CANCEL, OnCancel)
END_MESSAGE_MAP()

CPerChannelAsciiDlg::CPerChannelAsciiDlg(const SPerChannelAsciiSetup& setup)
    : CPerChannelTypeDlg(DescriptorOf(setup), setup.rows, setup.typeCodes), m_setup(setup)
{
}

BOOL CPerChannelAsciiDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    InitFromBlock();
    for (int id : {IDC_PC_ZERO, IDC_PC_SPAN, IDC_PC_CJC}) GetDlgItem(id)->EnableWindow(FALSE);
    // The types read channel by channel leave no enable mask to show.
    if (ReadsTypes()) {
        for (int k = 0; k < Channels(); ++k)
            GetDlgItem(m_setup.rows.checkIds[static_cast<size_t>(k)])->EnableWindow(FALSE);
    }
    // Baud rate, checksum and protocol change only while the module answers at address 0.
    bool addressZero = IsAddressZero();
    for (int id : {IDC_PC_BAUD, IDC_PC_CHECKSUM}) GetDlgItem(id)->EnableWindow(addressZero);
    GetDlgItem(IDC_PC_PROTOCOL)->EnableWindow(addressZero || m_setup.bProtocolAlwaysEnabled);
    if (m_setup.pTypes) {
        const ChannelTypeList& types = m_pMainFrame->*m_setup.pTypes;
        for (int k = 0; k < Channels(); ++k) ShowModuleType(k, types[static_cast<size_t>(k)]);
    }

    FillSettingsBoxes(m_setup.bChecksumOffAtZero);
    bool modbus = m_setup.bFormatSelectsProtocol && FormatMeansModbus(Block()[kFormat]);
    GetDlgItemAs<CComboBox>(IDC_PC_PROTOCOL)->SetCurSel(modbus ? kModbusRow : kAsciiRow);

    // Every name starts with the mask read, so the first step always has a request to make.
    OpenAsciiLine(addressZero && m_setup.dwBaudAtZero ? m_setup.dwBaudAtZero : BlockBaudRate());
    SendAscii(Request('$', "6"), m_setup.nFirstTimeout);
    // Reading the types instead, the mask's reply is not looked at.
    m_nCommand = RefreshCommand();
    m_nLastCommand = ReadsTypes() ? kNothing : kMaskRead;
    if (!ReadsTypes()) AwaitMask();
    SetTimer(m_nTimerId, m_setup.nPeriod);
    return TRUE;
}

void CPerChannelAsciiDlg::PollStep()
{
    TakeReply();
    if (!ReplyLetsTickGoOn()) return;
    // The poll's reply is read before the operator's request takes the tick: a write the module
    // did not hear goes out again once it has answered a poll.
    if (m_nCommand == kCmdPoll) ShowReadings();
    ApplyQueuedCommand();
    SendAscii(NextRequest(), kPollTimeout);
}

bool CPerChannelAsciiDlg::ReplyLetsTickGoOn()
{
    // "!" and the address, nothing more: a late reply of another request acknowledges nothing.
    bool ack = Acknowledged();
    switch (m_nLastCommand) {
    case kMaskRead:
        // "!AAVV", or the module's refusal "?AA"; anything else leaves the mask unknown.
        ReadMaskAnswer(MaskOfReply(), ReplyFits('?', 0));
        break;
    case kMaskWritten: {
        bool heard = SettleMaskWrite(AsciiWriteAnswer(ack)) == EWriteAnswer::Heard;
        SetDlgItemText(IDC_PC_RESPOND, heard ? "Enable/Disable Channels Successful"
                                             : "Enable/Disable Channels UnSuccessful");
        break;
    }
    case kTypeWritten: {
        bool heard = SettleTypeWrite(AsciiWriteAnswer(ack)) == EWriteAnswer::Heard;
        SetDlgItemText(IDC_PC_RESPOND, heard ? "Change Successful" : "Change UnSuccessful");
        if (heard && m_setup.pTypes)
            (m_pMainFrame->*m_setup.pTypes)[static_cast<size_t>(m_nTypeChannel)] = m_strTypeCode;
        break;
    }
    case kTypeRead:
        m_nLastCommand = kNothing;
        StoreTypeRead();
        return true;
    case kConfigured:
        m_nLastCommand = kNothing;
        ShowConfigurationOutcome(SettingAcknowledged());
        return false;
    default:
        return true;
    }
    m_nLastCommand = kNothing;
    m_nCommand = kCmdBackToPoll;
    return true;
}

void CPerChannelAsciiDlg::StoreTypeRead()
{
    // "!AACiRrr" of the channel asked; a channel that did not answer so keeps the row its list
    // shows, and the type the module was known to measure in.
    m_strTypesRead[static_cast<size_t>(m_nTypeReadChannel - 1)] =
        ChannelCodeOfReply(m_nTypeReadChannel - 1).value_or("");
    if (m_nTypeReadChannel < Channels()) return;
    for (int k = 0; k < Channels(); ++k) {
        const std::string& code = m_strTypesRead[static_cast<size_t>(k)];
        if (!code.empty()) ShowModuleType(k, code);
    }
    m_nTypeReadChannel = 0;
    m_nCommand = kCmdBackToPoll;
}

void CPerChannelAsciiDlg::ShowConfigurationOutcome(bool ack)
{
    // Written back once the box is dismissed.
    if (!m_setup.bBoxBehindPolling) {
        ShowConfigurationResult(ack);
        ConfigurationAnswered(ack);
        OnCancel();
        return;
    }
    // The polls behind the box go to the new address; whether the module refused is this reply's.
    m_nCommand = kCmdBackToPoll;
    bool refused = !ack && ConfigurationRefused();
    BoxBehindPolling(ack ? kConfigurationOk : kConfigurationError, "Setting", MB_ICONEXCLAMATION,
                     [this, ack, refused] {
                         ConfigurationAnswered(ack, refused);
                         OnCancel();
                     });
}

std::string CPerChannelAsciiDlg::NextRequest()
{
    if (int channel = TypeWriteChannel(m_nCommand); channel >= 0) {
        // The type its list shows when the write goes out.
        PrepareTypeWrite(channel);
        m_nLastCommand = kTypeWritten;
        return Request('$', "7C" + Format("%d", channel) + "R" + m_strTypeCode);
    }
    switch (m_nCommand) {
    case kCmdWriteMask:
        // The boxes as they stand when the write goes out.
        m_nLastCommand = kMaskWritten;
        return Request('$', "5" + MaskWriteGoesOut());
    case kCmdConfigure:
        m_nLastCommand = kConfigured;
        return ConfigurationGoesOut();
    case kCmdReadTypes:
        m_nLastCommand = kTypeRead;
        return Request('$', "8C" + Format("%d", m_nTypeReadChannel++));
    case kCmdBackToPoll:
        m_nCommand = kCmdPoll;
        // The reply in hand answers a write or a start-up read, so the fields stay as they are
        // until the next poll's reply.
        return Request('#', "");
    default:
        // While the mask read is lost it is asked for again, between the polls.
        if (std::string again = AsciiMaskReadAgain(m_mask, kMaskRead); !again.empty()) return again;
        return Request('#', "");
    }
}

void CPerChannelAsciiDlg::ShowReadings()
{
    // ">" and one reading a channel in the form of the module's format, seven characters in
    // engineering units and percent, four hex digits. Any other reply answers some other request:
    // the fields show what they show under silence.
    std::optional<std::vector<std::string>> readings =
        ReadingsOfReply('>', Channels(), FormOfFormat(Entry(kFormat)), kReadingWidth);
    for (int k = 0; k < Channels(); ++k) {
        bool shown = readings && (ReadsTypes() || m_bChannelEnabled[static_cast<size_t>(k)] == 1);
        ShowChannelValue(k, 0, shown ? (*readings)[static_cast<size_t>(k)] : "");
    }
}

CModuleDlg::SConfiguration CPerChannelAsciiDlg::ConfigurationOf(const SSettingsChoice& choice) const
{
    const SConfigForm& form = m_setup.config;
    SConfigurationFields fields = ConfigurationFieldsOf(choice);
    fields.strType = form.pszType;
    fields.strCheck = choice.bChecksumOn ? "4" : "0";
    if (form.pszInitType && m_strOldAddress == "00") {
        fields.strType = form.pszInitType;
        fields.strCheck.clear();
        fields.strFormat = form.pszInitFormat;
    }
    SConfiguration configuration = SettingOfFields(choice, fields);
    // The switch to Modbus RTU takes the form's own type and format, not these.
    if (choice.bModbus)
        configuration.strRequest =
            FrameAsciiCommand(ModbusSwitchText(form.modbus, fields), m_bChecksum != 0);
    return configuration;
}

void CPerChannelAsciiDlg::OnUpdate()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice = ReadSettings(kAddressZeroNotAllowed);
    if (!choice) return;
    // Written back only when the module acknowledges; the checksum in force stays.
    SConfiguration configuration = ConfigurationOf(*choice);
    configuration.bNewChecksum = m_bChecksum;
    if (m_setup.bClearsDescription) configuration.rowTexts[kDescriptionText] = "";
    configuration.params[kScript] = std::nullopt;
    configuration.eWriteBack = EWriteBack::OnAcknowledge;
    QueueConfiguration(kCmdConfigure, std::move(configuration));
}

int CPerChannelAsciiDlg::RefreshCommand() const
{
    if (ReadsTypes()) return kCmdReadTypes;
    return kCmdBackToPoll;
}

void CPerChannelAsciiDlg::OnRefresh()
{
    QueueCommand(RefreshCommand());
}
