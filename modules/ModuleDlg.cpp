#include "ModuleDlg.h"

#include "AsciiCommand.h"
#include "EnableMask.h"
#include "HexText.h"
#include "LinkTable.h"
#include "ReadingFields.h"
#include "Strings.h"

#include <algorithm>
#include <cctype>
#include <string_view>

CModuleDlg::CModuleDlg(const SModuleDescriptor& descriptor)
    : CPollingDlg(descriptor.nTemplate, descriptor.eLink, descriptor.nTimerId),
      m_descriptor(descriptor)
{
}

void CModuleDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == m_nTimerId && !m_bTicksHeld) PollStep();
}

void CModuleDlg::OnTimerEnded(UINT_PTR)
{
    if (!m_pendingBox) return;
    SPendingBox box = std::move(*m_pendingBox);
    m_pendingBox.reset();
    // The timer runs on behind the box: its ticks are ticks of their own, none inside another,
    // or, for a box that holds them, none at all until it is dismissed.
    m_bTicksHeld = box.bHoldTicks;
    MessageBox(box.strText, box.strCaption ? box.strCaption->c_str() : nullptr, box.nType);
    m_bTicksHeld = false;
    if (box.after) box.after();
}

void CModuleDlg::OnCancel()
{
    if (m_bClosed) return;
    m_bClosed = true;
    if (m_descriptor.bSetsDialogClosed) g_bDialogClosed = 1;
    KillTimer(m_nTimerId);
    CloseLine();
    CDialog::OnCancel();
}

const ModuleParamBlock& CModuleDlg::Block() const
{
    return GetMainFrame()->*m_descriptor.pBlock;
}

const std::string& CModuleDlg::Entry(ParamEntry entry) const
{
    const SBlockLayout& l = m_descriptor.layout;
    const ParamEntry where[] = {l.address, l.brate, l.check, l.script, l.format, l.module};
    return Block()[where[entry]];
}

void CModuleDlg::InitFromBlock()
{
    g_bDialogClosed = 0;
    m_pMainFrame = GetMainFrame();
    const std::string& address = Entry(kAddress);
    bool decimal = m_descriptor.layout.bDecimalAddress;
    long value = StrToLong(address, decimal ? 10 : 16);
    m_strAddress = decimal ? Format("%02X", static_cast<unsigned>(value & 0xFF)) : address;
    m_strOldAddress = m_strAddress;
    m_strModuleName = Entry(kModule);
    m_strAddressDecimal = Format("%d", static_cast<short>(value));
    UpdateData(FALSE);
    if (m_descriptor.boxes.nAddress)
        SetDlgItemText(m_descriptor.boxes.nAddress,
                       m_descriptor.boxes.bHexAddress ? m_strAddress : m_strAddressDecimal);
}

std::string CModuleDlg::AsciiMaskReadAgain(const CEnableMask& mask, int nLastCommand)
{
    if (!mask.Missing()) return "";
    m_nLastCommand = nLastCommand;
    return Request('$', "6");
}

void CModuleDlg::FillSettingsBoxes(bool offAtAddressZero)
{
    const SSettingsBoxes& boxes = m_descriptor.boxes;
    auto select = [this](int id, int row) {
        if (auto* box = id ? GetDlgItemAs<CComboBox>(id) : nullptr) box->SetCurSel(row);
    };
    select(boxes.nBaud, RowOfCode(BaudCodeTable, Entry(kBrate)));
    bool checksumOn = BlockChecksumOn();
    select(boxes.nChecksum,
           checksumOn ? m_descriptor.nChecksumOnRow : (m_descriptor.nChecksumOnRow == 0 ? 1 : 0));
    m_bChecksum = checksumOn && !(offAtAddressZero && IsAddressZero());
    select(boxes.nRange, RowOfCode(RangeCodes(), Entry(kScript)));
    select(boxes.nFormat, RowOfCode(FormatCodes(), BlockFormatCode()));
}

std::string CModuleDlg::BlockFormatCode() const
{
    // The bits of the block's Format digit that the Data Format box shows; none for a text that is
    // no single hex digit.
    const std::string& format = Entry(kFormat);
    if (format.size() != 1 || !std::isxdigit(static_cast<unsigned char>(format[0]))) return {};
    return ValueToHexChar(HexDigitOrZero(format[0]) & m_descriptor.nFormatMask);
}

const CodeTable& CModuleDlg::RangeCodes() const
{
    static const CodeTable none;
    return m_descriptor.pRangeCodes ? *m_descriptor.pRangeCodes : none;
}

const CodeTable& CModuleDlg::FormatCodes() const
{
    static const CodeTable none;
    return m_descriptor.pFormatCodes ? *m_descriptor.pFormatCodes : none;
}

bool CModuleDlg::BlockChecksumOn() const
{
    if (!m_descriptor.bCheckIsHexDigit) return ChecksumOn(Entry(kCheck));
    return (HexDigitOrZero(CharAt(Entry(kCheck), 0)) & 0x4) != 0;
}

void CModuleDlg::UseRangeBox(int nBox, const CodeTable* pCodes)
{
    m_descriptor.boxes.nRange = nBox;
    m_descriptor.pRangeCodes = pCodes;
}

DWORD CModuleDlg::BlockBaudRate(DWORD fallback) const
{
    DWORD baud = BaudRateOfRow(RowOfCode(BaudCodeTable, Entry(kBrate)));
    return baud == 0 ? fallback : baud;
}

std::string CModuleDlg::RowText(int nBox, int row) const
{
    auto* box = GetDlgItemAs<CComboBox>(nBox);
    return box && row >= 0 && row < box->GetCount() ? box->GetLBText(row) : std::string();
}

std::optional<std::string> CModuleDlg::ChosenCode(int nBox, const CodeTable& codes,
                                                  const std::string& blockCode,
                                                  const char* pszField, bool bNeeded)
{
    auto* box = GetDlgItemAs<CComboBox>(nBox);
    int row = box ? box->GetCurSel() : -1;
    if (row >= 0 && !CodeOfRow(codes, row).empty()) return CodeOfRow(codes, row);
    // No row chosen: the module keeps what it has, where the block says what that is. A box the
    // operator cannot use, or one whose code the request does not carry, keeps the block's text
    // whatever it is.
    if (RowOfCode(codes, blockCode) >= 0 || !bNeeded || (box && !box->IsWindowEnabled()))
        return blockCode;
    RefuseUnchosen(pszField);
    return std::nullopt;
}

void CModuleDlg::RefuseUnchosen(const char* pszField)
{
    MessageBox(Format("Choose the %s!", pszField), "", MB_ICONEXCLAMATION);
}

bool CModuleDlg::ListsChosen(std::initializer_list<SNamedList> lists)
{
    for (const SNamedList& list : lists) {
        auto* box = list.nBox ? GetDlgItemAs<CComboBox>(list.nBox) : nullptr;
        if (!box || box->GetCurSel() < 0) {
            RefuseUnchosen(list.pszField);
            return false;
        }
    }
    return true;
}

std::optional<SSettingsChoice> CModuleDlg::ReadSettings(const SAddressZeroRule& zeroRule,
                                                        EModbusRow modbusRow)
{
    m_pMainFrame = GetMainFrame();
    const SSettingsBoxes& boxes = m_descriptor.boxes;
    SSettingsChoice choice;
    std::optional<int> typed = ReadTypedAddress(boxes.nAddress, zeroRule);
    if (!typed) return std::nullopt;
    bool zero = *typed == 0 && (!zeroRule.bTextZeroOnly || GetDlgItemText(boxes.nAddress) == "0");
    if (zero && zeroRule.bRefuse) {
        RefuseAddressZero(zeroRule);
        return std::nullopt;
    }
    choice.nAddress = *typed;
    choice.strAddress = Format("%02X", *typed);

    if (boxes.nBaud) {
        auto code = ChosenCode(boxes.nBaud, BaudCodeTable, Entry(kBrate), "Baudrate");
        if (!code) return std::nullopt;
        choice.strBaudCode = *code;
        choice.strBaudText = RowText(boxes.nBaud, RowOfCode(BaudCodeTable, *code));
    }
    choice.bChecksumOn = BlockChecksumOn();
    if (auto* box = boxes.nChecksum ? GetDlgItemAs<CComboBox>(boxes.nChecksum) : nullptr) {
        // A box the operator cannot use (fixed on "CRC", say) leaves the module's checksum as is.
        if (box->GetCurSel() >= 0 && box->IsWindowEnabled())
            choice.bChecksumOn = box->GetCurSel() == m_descriptor.nChecksumOnRow;
        choice.strChecksumText = box->GetCurSel() >= 0 ? box->GetLBText(box->GetCurSel())
                                                       : GetDlgItemText(boxes.nChecksum);
    }
    choice.strCheckDigit = ChecksumDigit(Entry(kCheck), choice.bChecksumOn);
    if (boxes.nProtocol)
        choice.bModbus = GetDlgItemAs<CComboBox>(boxes.nProtocol)->GetCurSel() == 1;
    bool codesNeeded = !(choice.bModbus && modbusRow == EModbusRow::SwitchesByDollar);
    if (int range = boxes.nRange) {
        auto code = ChosenCode(range, RangeCodes(), Entry(kScript), m_descriptor.pszRangeField,
                               codesNeeded);
        if (!code) return std::nullopt;
        choice.strRangeCode = *code;
        choice.strRangeText = RowText(range, RowOfCode(RangeCodes(), *code));
    }
    if (boxes.nFormat) {
        auto code = ChosenCode(boxes.nFormat, FormatCodes(), BlockFormatCode(),
                               m_descriptor.pszFormatField, codesNeeded);
        if (!code) return std::nullopt;
        choice.strFormatDigit = *code;
        choice.nFormat = HexDigitOrZero(CharAt(*code, 0));
    }
    return choice;
}

void CModuleDlg::RefuseAddressZero(const SAddressZeroRule& zeroRule)
{
    MessageBox(zeroRule.pszText, zeroRule.pszCaption, zeroRule.nType);
    if (zeroRule.bCloseAfter) OnCancel();
}

bool CModuleDlg::RefuseNewBaudAtZero(const SSettingsChoice& choice)
{
    if (choice.strBaudCode == Entry(kBrate) || choice.strAddress != "00") return false;
    RefuseAddressZero({.bRefuse = true});
    return true;
}

CModuleDlg::Texts CModuleDlg::RowTextsOf(const SSettingsChoice& choice) const
{
    return {m_strModuleName, choice.strAddress, choice.strBaudText, choice.strChecksumText,
            choice.strRangeText};
}

CModuleDlg::Texts CModuleDlg::ParamsOf(const SSettingsChoice& choice) const
{
    return {choice.strAddress, choice.strBaudCode, choice.strCheckDigit, choice.strRangeCode,
            choice.strFormatDigit};
}

SConfigurationFields CModuleDlg::ConfigurationFieldsOf(const SSettingsChoice& choice) const
{
    return {m_strOldAddress,    choice.strAddress,    choice.strRangeCode,
            choice.strBaudCode, choice.strCheckDigit, choice.strFormatDigit};
}

CModuleDlg::SConfiguration CModuleDlg::SettingOfChoice(const SSettingsChoice& choice,
                                                       bool bDollarSwitch) const
{
    SConfigurationFields fields = ConfigurationFieldsOf(choice);
    if (bDollarSwitch) {
        return {FrameAsciiCommand(ModbusSwitchText(kSwitchDollarR1, fields), m_bChecksum),
                m_strOldAddress,
                m_bChecksum,
                {},
                {}};
    }
    return SettingOfFields(choice, fields);
}

CModuleDlg::SConfiguration CModuleDlg::SettingOfFields(const SSettingsChoice& choice,
                                                       const SConfigurationFields& fields) const
{
    return {FrameAsciiCommand(ConfigurationText(fields), m_bChecksum), choice.strAddress,
            choice.bChecksumOn, RowTextsOf(choice), ParamsOf(choice)};
}

CModuleDlg::SConfiguration CModuleDlg::RtuSettingOf(const SRtuSettingForm& form,
                                                    const std::string& slave, bool bToAscii,
                                                    const std::string& newAddress, Texts rowTexts,
                                                    Texts params) const
{
    if (!bToAscii) {
        return {RtuAddressWriteText(slave, newAddress), newAddress, false, std::move(rowTexts),
                std::move(params)};
    }
    if (rowTexts.size() > kAddressText) rowTexts[kAddressText] = std::nullopt;
    if (params.size() > kAddress) params[kAddress] = std::nullopt;
    return {RtuAsciiSwitchText(slave, form.nAsciiValue),
            m_strAddress,
            false,
            std::move(rowTexts),
            std::move(params),
            form.bSwitchWritesBack ? EWriteBack::AtSend : EWriteBack::None};
}

bool CModuleDlg::RtuSettingAccepted(const SRtuSettingForm& form, const std::string& request) const
{
    if (RtuWriteAnswer(request) == EWriteAnswer::Heard) return true;
    // Noise, a spoilt echo or a refusal never takes a write; silence only one that moves the module
    // where the form lets it.
    bool verdictAllowsSilence =
        (IsRtuAsciiSwitch(request) ? form.eSwitchVerdict : form.eAddressVerdict) ==
        ERtuVerdict::EchoOrSilentMove;
    return verdictAllowsSilence && NothingCame() && RtuSettingMovesModule(request);
}

const char* CModuleDlg::RtuSettingText(const SRtuSettingForm& form, const std::string& request,
                                       bool bAccepted)
{
    if (!bAccepted) return kConfigurationError;
    return IsRtuAsciiSwitch(request) ? form.pszSwitchOk : form.pszAddressOk;
}

void CModuleDlg::EndRtuSetting(const SRtuSettingForm& form, const std::string& request,
                               bool bLaterPollAnswered)
{
    bool accepted = bLaterPollAnswered || RtuSettingAccepted(form, request);
    ConfigurationAnswered(accepted);
    const char* text = RtuSettingText(form, request, accepted);
    if (form.bBoxBehindPolling) {
        BoxBehindPolling(text, form.pszCaption, form.nBoxType, [this] { OnCancel(); });
        return;
    }
    TickMessageBox(text, form.pszCaption, form.nBoxType);
    OnCancel();
}

bool CModuleDlg::OpenAsciiLine(DWORD baud)
{
    if (m_descriptor.eLine == ELineOwnership::Borrowed) return m_bLineOpen = true;
    int port = m_pMainFrame->m_nComPort;
    if (Link().Open_ComAscii(static_cast<BYTE>(port), baud, 8,
                             static_cast<BYTE>(m_pMainFrame->m_nParity), 0) != 0) {
        MessageBox(kOpenComError);
        return false;
    }
    m_nPort = port;
    m_bOpenChecksum = m_bChecksum;
    m_bLineOpen = true;
    return true;
}

bool CModuleDlg::OpenRtuLine(DWORD baud, int parity)
{
    int port = m_pMainFrame->m_nComPort;
    if (m_descriptor.eLine == ELineOwnership::Own &&
        Link().Open_ComRtu(static_cast<BYTE>(port), 100, baud, 8, static_cast<BYTE>(parity), 1) !=
            1) {
        MessageBox(kOpenComError);
        return false;
    }
    m_nPort = port;
    m_strAddress = Format("%02X", static_cast<unsigned>(StrToLong(m_strAddress, 16) & 0xFF));
    m_bLineOpen = true;
    return true;
}

void CModuleDlg::CloseLine()
{
    if (m_descriptor.eLine == ELineOwnership::Borrowed) return;
    if (m_descriptor.eLink == ELinkKind::Ascii)
        Link().Close_ComAscii(static_cast<BYTE>(m_nPort));
    else
        Link().Close_ComRtu(static_cast<BYTE>(m_nPort));
}

void CModuleDlg::DropQueuedCommand()
{
    if (QueuedCommandPinned()) m_configuration.reset();
    CPollingDlg::DropQueuedCommand();
}

void CModuleDlg::QueueConfiguration(int nCommand, SConfiguration configuration)
{
    m_configuration = std::move(configuration);
    QueuePinnedCommand(nCommand);
}

std::string CModuleDlg::ConfigurationGoesOut()
{
    UnpinQueuedCommand();
    if (!m_configuration) return "";
    m_strConfigRequest = m_configuration->strRequest;
    if (!m_bLineOpen) return m_strConfigRequest;
    const SConfiguration& c = *m_configuration;
    // The module acknowledges at the address it answers to once it has taken the request.
    m_strAddress = m_strOldAddress = m_strSettingAckAddress = c.strNewAddress;
    m_bChecksum = c.bNewChecksum;
    if (c.eWriteBack == EWriteBack::AtSend) {
        bool CMainFrame::*flag = m_descriptor.pChanged;
        m_writtenBack = SWrittenBack{m_pMainFrame->m_strNewRowText, m_pMainFrame->m_strNewParams,
                                     flag && m_pMainFrame->*flag};
        WriteBack(c.rowTexts, c.params);
    }
    return m_strConfigRequest;
}

bool CModuleDlg::ConfigurationRefused() const
{
    if (Descriptor().eLink == ELinkKind::Rtu) return RtuRefused();
    return ReplyFits('?', Mid(m_strConfigRequest, 1, 2), 0);
}

void CModuleDlg::ConfigurationAnswered(bool bAccepted)
{
    ConfigurationAnswered(bAccepted, !bAccepted && ConfigurationRefused());
}

void CModuleDlg::ConfigurationAnswered(bool bAccepted, bool bRefused)
{
    if (!m_configuration || !m_bLineOpen) return;
    SConfiguration c = std::move(*m_configuration);
    m_configuration.reset();
    if (bAccepted && c.eWriteBack == EWriteBack::OnAcknowledge) WriteBack(c.rowTexts, c.params);
    if (bAccepted || !bRefused || !m_writtenBack) return;
    m_pMainFrame->m_strNewRowText = m_writtenBack->rowTexts;
    m_pMainFrame->m_strNewParams = m_writtenBack->params;
    if (bool CMainFrame::*flag = m_descriptor.pChanged) m_pMainFrame->*flag = m_writtenBack->bFlag;
    m_writtenBack.reset();
}

std::optional<std::string> CModuleDlg::SelectedText(int nListBox) const
{
    auto* box = GetDlgItemAs<CComboBox>(nListBox);
    int row = box ? box->GetCurSel() : -1;
    if (row < 0) return std::nullopt;
    return box->GetLBText(row);
}

bool CModuleDlg::FollowStartsAtCh0(int nChannelBox)
{
    if (GetDlgItemText(nChannelBox) == "CH0") return true;
    AfxMessageBox("Select the CH0!");
    return false;
}

std::optional<int> CModuleDlg::ReadTypedAddress(int nAddressBox, const SAddressZeroRule& zeroRule)
{
    std::string text = Trim(GetDlgItemText(nAddressBox));
    bool hex = m_descriptor.boxes.bHexAddress;
    auto isDigit = [hex](char c) {
        return hex ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                   : std::isdigit(static_cast<unsigned char>(c)) != 0;
    };
    std::string digits = !hex && !text.empty() && text[0] == '-' ? text.substr(1) : text;
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isDigit)) {
        if (zeroRule.bRefuse && zeroRule.bCoversNonNumbers)
            RefuseAddressZero(zeroRule);
        else
            MessageBox(kAddressOutOfRange, "", MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    bool fits = digits == text && digits.size() <= (hex ? 2u : 3u);
    long value = fits ? StrToLong(text, hex ? 16 : 10) : -1;
    if (value < 0 || value > 255) {
        MessageBox(kAddressOutOfRange, "", MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    return static_cast<int>(value);
}

namespace {

template <class Target> void CopyTexts(const CModuleDlg::Texts& from, Target& to)
{
    for (size_t i = 0; i < from.size() && i < to.size(); ++i) {
        if (from[i]) to[i] = *from[i];
    }
}

} // namespace

void CModuleDlg::WriteBack(const Texts& rowTexts, const Texts& params, bool CMainFrame::*flag)
{
    CopyTexts(rowTexts, m_pMainFrame->m_strNewRowText);
    CopyTexts(params, m_pMainFrame->m_strNewParams);
    if (flag) m_pMainFrame->*flag = true;
}

void CModuleDlg::WriteBack(const Texts& rowTexts, const Texts& params)
{
    WriteBack(rowTexts, params, m_descriptor.pChanged);
}

int CModuleDlg::TickMessageBox(const std::string& text, const char* caption, UINT nType)
{
    KillTimer(m_nTimerId);
    return MessageBox(text, caption, nType);
}

void CModuleDlg::BoxBehindPolling(const std::string& text, const char* caption, UINT nType,
                                  std::function<void()> after)
{
    std::optional<std::string> title;
    if (caption) title = caption;
    m_pendingBox = SPendingBox{text, title, nType, std::move(after), false};
}

void CModuleDlg::BoxHoldingTicks(const std::string& text, const char* caption, UINT nType,
                                 std::function<void()> after)
{
    BoxBehindPolling(text, caption, nType, std::move(after));
    m_pendingBox->bHoldTicks = true;
}

void CModuleDlg::ShowConfigurationResult(bool bAccepted)
{
    TickMessageBox(bAccepted ? kConfigurationOk : kConfigurationError, "Setting",
                   MB_ICONEXCLAMATION);
}

void CModuleDlg::ShowSettingOutcome(ESettingOutcome outcome, const char* modbusOkText)
{
    if (outcome == ESettingOutcome::SwitchedToModbus) {
        TickMessageBox(modbusOkText, "Setting", MB_ICONEXCLAMATION);
        return;
    }
    ShowConfigurationResult(outcome == ESettingOutcome::Accepted);
}
