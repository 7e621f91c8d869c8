#include "M6373Modbus.h"

#include "AsciiCommand.h"
#include "DigitalIoIds.h"
#include "HexText.h"
#include "ModuleDialogs.h"
#include "Strings.h"

REGISTER_MODULE_DIALOG(CM6373Modbus)

namespace {

inline constexpr WORD kTimeout = 100;
inline constexpr UINT kPeriod = 100;

// Counters, latch, safe and power-on values have no Modbus requests; baud rate and checksum are
// not changed over Modbus.
const int kDisabledControls[] = {IDC_DIO_SET_SAFE,     IDC_DIO_SET_POWERON, IDC_DIO_READ_SAFE,
                                 IDC_DIO_READ_POWERON, IDC_DIO_ANSWER,      IDC_DIO_LATCH_LOW,
                                 IDC_DIO_LATCH_HIGH,   IDC_DIO_CLEAR_LATCH, IDC_DIO_BAUD,
                                 IDC_DIO_CHECKSUM};

// The Protocol box's rows are "Modbus RTU" and "Vekt ASCII": the dialog reads it itself.
const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6373_MODBUS,
    .pBlock = &CMainFrame::m_strDioParams,
    .pChanged = &CMainFrame::m_bDioChanged,
    .eLink = ELinkKind::Rtu,
    .boxes = {IDC_DIO_ADDRESS, IDC_DIO_BAUD, IDC_DIO_CHECKSUM, 0, 0, 0},
    .bCheckIsHexDigit = true,
    .bSetsDialogClosed = true,
};

// The new address is taken only when echoed; the switch leaves the row as it is.
constexpr SRtuSettingForm kSetting = {.bSwitchWritesBack = false,
                                      .eAddressVerdict = ERtuVerdict::Echo,
                                      .pszAddressOk = "Setting  OK!",
                                      .pszSwitchOk = "Setting ASCII OK!"};

} // namespace

BEGIN_MESSAGE_MAP(CM6373Modbus, CDioDlg)
ON_BN_CLICKED(IDC_DIO_SETTING, OnSetting)
END_MESSAGE_MAP()

CM6373Modbus::CM6373Modbus(CWnd*) : CDioDlg(kDescriptor, EDioDialog::Modbus) {}

BOOL CM6373Modbus::OnInitDialog()
{
    CDialog::OnInitDialog();
    InitFromBlock();
    if (m_strOldAddress.size() == 1) m_strOldAddress = "0" + m_strOldAddress;
    GetDlgItemAs<CComboBox>(IDC_DIO_PROTOCOL)->SetCurSel(0);
    for (int id : kDisabledControls) GetDlgItem(id)->EnableWindow(FALSE);
    if (DioSwitchesByConfiguration(m_strModuleName))
        GetDlgItem(IDC_DIO_SETTING)->EnableWindow(FALSE);
    FillSettingsBoxes();
    InitModel();
    const SDioModelRow* counts = DioFindRow(m_strModuleName, EDioTest::Counts, m_eDialog);
    if (counts && (counts->nRow == 8 || counts->nRow == 9)) m_nLatchLevel = kLatchKept;
    m_pRead = DioFindCoilRead(m_strModuleName);

    if (!OpenRtuLine(BlockBaudRate(), m_pMainFrame->m_nParity)) return TRUE;
    // The opening read is not read back: the poll starts on the inputs' read. A model without a
    // read sends nothing (a request of the address alone is not sent).
    SendRtu(m_strAddress + (m_pRead ? ReadRequest(m_pRead->bOutputsFirst) : ""), kTimeout);
    SetTimer(m_nTimerId, kPeriod);
    return TRUE;
}

std::string CM6373Modbus::ReadRequest(bool outputs) const
{
    if (outputs && m_pRead->nOutputCoils == 0) outputs = false;
    if (!outputs && m_pRead->nInputCoils == 0) outputs = true;
    return DioCoilReadText(outputs, outputs ? m_pRead->nOutputCoils : m_pRead->nInputCoils);
}

void CM6373Modbus::PollStep()
{
    TakeReply();
    switch (m_nLastCommand) {
    case kCmdPoll:
        // With the operator's request waiting, the reply in hand is not read; a pending write
        // keeps its outputs from any reply read later.
        if (!HasQueuedCommand()) ReadStatus();
        break;
    case kCmdToAscii:
    case kCmdChangeAddress:
        EndRtuSetting(kSetting, m_strConfigRequest);
        return;
    default:
        // A coil write is heard by its echo; refused, its lamp shows the module's state again.
        if (IsCoilWrite(m_nLastCommand) &&
            SettleWrite(m_nLastCommand, RtuWriteAnswer(m_strCoilRequest)) == EWriteAnswer::Refused)
            ShowReportedOutputs();
        break;
    }
    ApplyQueuedCommand();
    int step = m_nCommand;
    m_nCommand = kCmdPoll; // every other step goes out once
    m_nLastCommand = step;
    if (step == kCmdChangeAddress || step == kCmdToAscii) {
        SendRtu(ConfigurationGoesOut(), kTimeout);
        return;
    }
    std::string request = m_strAddress + RequestOf(step);
    if (IsCoilWrite(step)) m_strCoilRequest = request;
    SendRtu(request, kTimeout);
}

bool CM6373Modbus::OutputPending(int channel) const
{
    return WritePending(kCmdWriteCoil0 + channel);
}

std::optional<WORD> CM6373Modbus::ReadCoils(int count) const
{
    std::optional<std::vector<BYTE>> reply = RtuReadReply();
    if (!reply) return std::nullopt;
    return DioCoilBits(*reply, static_cast<BYTE>(StrToLong(m_strAddress, 16)), count);
}

void CM6373Modbus::ReadStatus()
{
    if (!m_pRead) return;
    bool twoReads = m_pRead->nInputCoils > 0 && m_pRead->nOutputCoils > 0;
    if (!twoReads) {
        bool outputs = m_pRead->nInputCoils == 0;
        std::optional<WORD> bits =
            ReadCoils(outputs ? m_pRead->nOutputCoils : m_pRead->nInputCoils);
        if (bits) ShowStatusRows(outputs ? 0 : *bits, outputs ? *bits : 0);
        return;
    }
    if (!m_bReadOutputs) {
        m_nSavedInputs = ReadCoils(m_pRead->nInputCoils);
        m_bReadOutputs = true;
        return;
    }
    m_bReadOutputs = false;
    std::optional<WORD> outputs = ReadCoils(m_pRead->nOutputCoils);
    // Both reads must have come for the lamps to show the module's state.
    if (outputs && m_nSavedInputs) ShowStatusRows(*m_nSavedInputs, *outputs);
}

void CM6373Modbus::ShowStatusRows(WORD inputs, WORD outputs)
{
    std::optional<WORD> status = DioComposeStatus(m_strModuleName, inputs, outputs);
    if (!status) return;
    SDioLampStates states = ShowStatus(*status);
    auto* list = GetDlgItemAs<CListBox>(IDC_DIO_LIST);
    list->ResetContent();
    const SDioModelRow* row = DioFindRow(m_strModuleName, EDioTest::Lamps, m_eDialog);
    int width = row ? DioListFieldWidth(row->nRow) : 0;
    if (width == 0) return;
    for (int ch = 0; ch < 16; ++ch) {
        auto i = static_cast<size_t>(ch);
        for (bool output : {false, true}) {
            EDioLamp lamp = output ? states.dout[i] : states.di[i];
            if (lamp == EDioLamp::On || lamp == EDioLamp::Off)
                list->AddString(DioListRow(output, ch, lamp == EDioLamp::On, width));
        }
    }
}

std::string CM6373Modbus::RequestOf(int step) const
{
    if (IsCoilWrite(step)) {
        // Coil 0x0010 + channel, on or off as the operator asked.
        int channel = step - kCmdWriteCoil0;
        return "05001" + ValueToHexChar(channel) +
               (m_bDoState[static_cast<size_t>(channel)] ? "FF00" : "0000");
    }
    if (step == kCmdPoll) return m_pRead ? ReadRequest(m_bReadOutputs) : "";
    return ""; // a counter clear has no Modbus request
}

void CM6373Modbus::OnLButtonDown(UINT nFlags, CPoint point)
{
    // Until the outputs have been shown there is no state to switch from.
    if (!m_bOutputsShown) return;
    int channel = HitOutputLamp(nFlags, point);
    if (channel >= 0) {
        int& state = m_bDoState[static_cast<size_t>(channel)];
        state = state ? 0 : 1;
        m_nCoilChannel = channel;
    }
    // A click beside the lamps writes the last switched output again, as the module last
    // reported it (or as a write still pending asks); before any lamp was hit there is nothing to
    // write.
    if (m_nCoilChannel >= 0) QueueWrite(kCmdWriteCoil0 + m_nCoilChannel);
    CDioDlg::OnLButtonDown(nFlags, point);
}

void CM6373Modbus::OnSetting()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice = ReadSettings({});
    if (!choice) return;
    // Both go to the address the module answers to now.
    bool toAscii = GetDlgItemAs<CComboBox>(IDC_DIO_PROTOCOL)->GetCurSel() == 1;
    QueueConfiguration(toAscii ? kCmdToAscii : kCmdChangeAddress,
                       RtuSettingOf(kSetting, toAscii ? m_strAddress : m_strOldAddress, toAscii,
                                    choice->strAddress, DioRowTexts(*choice), DioParams(*choice)));
}
