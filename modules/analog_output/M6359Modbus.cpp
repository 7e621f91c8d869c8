#include "M6359Modbus.h"

#include "AnalogOutputIds.h"
#include "AsciiCommand.h"
#include "ModelName.h"
#include "ModuleDialogs.h"
#include "Strings.h"

#include <algorithm>
#include <utility>

REGISTER_MODULE_DIALOG(CM6359Modbus)

namespace {

const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6359_MODBUS,
    .pBlock = &CMainFrame::m_strAnalogOutputParams,
    .pChanged = &CMainFrame::m_bAnalogOutputChanged,
    .eLink = ELinkKind::Rtu,
    .boxes = {IDC_AO_ADDRESS, IDC_AO_BAUD, IDC_AO_CHECKSUM, IDC_AO_RANGE, IDC_AO_FORMAT,
              IDC_AO_PROTOCOL},
    .pRangeCodes = &kAoRangeCodes,
    .pFormatCodes = &kAoFormatCodes,
    .pszRangeField = "Output Range",
    .nFormatMask = 0x3,
    .bSetsDialogClosed = true,
};

inline constexpr WORD kTimeout = 100;
inline constexpr int kCrcRow = 2;
inline constexpr int kModbusRow = 1;
inline constexpr int kRawMax = 65535;
// The writes are answered before the verdict: only their echo takes them. Writing 0 to the
// protocol register is what this dialog sends for ASCII.
constexpr SRtuSettingForm kSetting = {
    .nAsciiValue = 0,
    .eAddressVerdict = ERtuVerdict::Echo,
    .eSwitchVerdict = ERtuVerdict::Echo,
    .pszSwitchOk = "Setting ASSIC OK!",
};
// The four-channel models say the same for both.
constexpr SRtuSettingForm kFourChannelSetting = {
    .nAsciiValue = 0,
    .eAddressVerdict = ERtuVerdict::Echo,
    .eSwitchVerdict = ERtuVerdict::Echo,
    .pszAddressOk = "Setting is OK!",
    .pszSwitchOk = "Setting is OK!",
};

} // namespace

BEGIN_MESSAGE_MAP(CM6359Modbus, CAnalogOutputDlg)
ON_BN_CLICKED(IDC_AO_SETTING, OnSetting)
ON_AO_CHANNEL_CONTROLS()
END_MESSAGE_MAP()

CM6359Modbus::CM6359Modbus(CWnd*) : CAnalogOutputDlg(kDescriptor) {}

void CM6359Modbus::ApplyRangeCode(const std::string& code, int sliders)
{
    const SAoRange* range = AoRangeOfCode(code);
    if (!range) return;
    for (int id : {IDC_AO_RANGE, IDC_AO_RANGE4})
        GetDlgItemAs<CComboBox>(id)->SetCurSel(range->nRow);
    m_nOutputKind = range->nOutputKind;
    // The four-channel models read and write raw codes: their sliders keep the raw scale, so the
    // code a slider shows is the code the module gets.
    if (m_eKind == EAoKind::Four) return;
    for (int k = 0; k < 4; ++k) ShowRangeLabels(*range, k);
    for (int k = 0; k < sliders; ++k) SetSliderRange(*range, k, false);
}

// The four-channel models (and the two-channel ones until their range is known) show raw codes.
void CM6359Modbus::RawSetUp()
{
    for (int id : {IDC_AO_RANGE, IDC_AO_RANGE4, IDC_AO_CHECKSUM, IDC_AO_FORMAT, IDC_AO_BAUD,
                   IDC_AO_SLEW_MA_MODBUS, IDC_AO_SLEW_V})
        GetDlgItem(id)->EnableWindow(FALSE);
    for (const SAoChannelIds& ids : kAoChannels) {
        SetDlgItemText(ids.labels[0], "0");
        SetDlgItemText(ids.labels[1], "");
        SetDlgItemText(ids.labels[2], "FFFF");
        SetDlgItemText(ids.nUnit, "");
        GetDlgItemAs<CSliderCtrl>(ids.nSlider)->SetRange(0, kRawMax);
    }
}

BOOL CM6359Modbus::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_strModelText = Block()[kModule];
    InitFromBlock();
    TakeModelKind();
    m_strOldAddress = Format("%02x", static_cast<unsigned>(StrToLong(Block()[kAddress], 16)));
    FillSettingsBoxes();
    GetDlgItemAs<CComboBox>(IDC_AO_PROTOCOL)->SetCurSel(kModbusRow);
    // Only the slave address and the protocol can be changed here; the checksum is the CRC.
    GetDlgItemAs<CComboBox>(IDC_AO_CHECKSUM)->SetCurSel(kCrcRow);
    for (int id : {IDC_AO_RANGE, IDC_AO_BAUD, IDC_AO_CHECKSUM, IDC_AO_FORMAT})
        GetDlgItem(id)->EnableWindow(FALSE);
    const ModuleParamBlock& block = Block();

    if (ModelHasAny(m_strModuleName, {"4359", "6359", "6355"})) RawSetUp();
    if (m_eKind != EAoKind::Four) {
        // Only the model's own channels stay live.
        for (int k = 1; k < 4; ++k) EnableChannel(k, m_eKind == EAoKind::Two && k == 1);
        if (m_eKind == EAoKind::One) {
            GetDlgItem(IDC_AO_RANGE4)->ShowWindow(SW_HIDE);
            GetDlgItem(IDC_AO_RANGE)->ShowWindow(SW_SHOW);
        }
        ApplyRangeCode(block[kScript], 2);
    }
    if (m_nOutputKind >= 0) {
        bool current = m_nOutputKind == kAoCurrent;
        GetDlgItem(IDC_AO_SLEW_MA_MODBUS)->ShowWindow(current ? SW_SHOW : SW_HIDE);
        GetDlgItem(IDC_AO_SLEW_V)->ShowWindow(current ? SW_HIDE : SW_SHOW);
    }

    // These modules talk without parity, whatever the search used.
    if (!OpenRtuLine(BlockBaudRate(), 0)) return TRUE;
    m_nCommand = 0;
    if (SendRtu(m_strAddress + "0300C80001", kTimeout) && RtuDataCame()) {
        TakeReply();
        // The second data byte holds the code.
        ApplyRangeCode(Mid(ModbusDataText(), 2, 2), 4);
    }
    std::string second = m_eKind == EAoKind::Four  ? "0300000004"
                         : m_eKind == EAoKind::Two ? "0300C80040"
                                                   : "0300000001";
    SendRtu(m_strAddress + second, kTimeout);
    // The one-channel models start straight with the reading of their value; the two-channel
    // ones read CH1's range first, and an operator's request waits for it.
    m_nLastCommand = m_eKind == EAoKind::One ? kLastCycle : kLastNone;
    if (m_eKind == EAoKind::Two) BeginStartup();
    SetTimer(m_nTimerId, 400);
    return TRUE;
}

// Raw codes on the four-channel models, values as the read-back shows them otherwise.
std::string CM6359Modbus::SliderText(int position) const
{
    return m_eKind == EAoKind::Four ? Format("%04x", position) : SignedOutputValue(position);
}

void CM6359Modbus::OnSetting()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice = ReadSettings({});
    // Address 0 is refused only together with a new baud rate.
    if (!choice || RefuseNewBaudAtZero(*choice)) return;
    const ModuleParamBlock& block = Block();
    std::string rangeCode = m_eKind == EAoKind::Two ? "3F" : choice->strRangeCode;
    int slewBox = m_nOutputKind == kAoVoltage ? IDC_AO_SLEW_V : IDC_AO_SLEW_MA_MODBUS;
    int slew = m_nOutputKind < 0 ? 0 : std::max(GetDlgItemAs<CComboBox>(slewBox)->GetCurSel(), 0);
    // The checksum box stands on "CRC": the Check digit keeps its checksum bit.
    SAoFormatDigits digits = AoFormatDigits(block[kCheck], std::nullopt, slew, choice->nFormat);

    // The switch goes to the address the module answers to now, not to the one typed.
    bool toAscii = !choice->bModbus;
    QueueConfiguration(kCmdConfigure,
                       RtuSettingOf(kSetting, toAscii ? m_strAddress : m_strOldAddress, toAscii,
                                    choice->strAddress,
                                    AoRowTexts(*choice, m_eKind != EAoKind::One),
                                    AoParams(*choice, rangeCode, digits)));
}

std::string CM6359Modbus::ValueRead() const
{
    return m_eKind == EAoKind::Four ? m_strAddress + "0300000004" : m_strAddress + "0300000001";
}

std::string CM6359Modbus::OutputWrite(int channel) const
{
    int value = m_nOutputValue[static_cast<size_t>(channel)];
    // Four-channel codes as the slider gives them; values as four hex digits of thousandths.
    std::string data = m_eKind == EAoKind::Four ? Format("%04x", value) : Format("%04X", value);
    return m_strAddress + Format("06000%d", channel) + data;
}

void CM6359Modbus::ShowFourValues()
{
    std::string data = ModbusDataText();
    for (int k = 0; k < 4; ++k) {
        std::string code = Mid(data, 4 * k, 4);
        SetDlgItemText(kAoChannels[static_cast<size_t>(k)].nReadBack, code);
        // After a refused write the slider and Output edit show the module's code again.
        std::optional<int> value = ParseRawOutputCode(code);
        if (value && code.size() == 4 && ModuleValueDue(k))
            ShowModuleValue(k, Format("%04x", *value), *value);
    }
}

// Every tick reads the four registers; a queued write or configuration takes one read's place.
std::string CM6359Modbus::FourChannelStep()
{
    ApplyQueuedCommand();
    if (m_nCommand == kCmdConfigure) return ConfigurationGoesOut();
    if (m_nCommand >= kCmdWriteCh0) return OutputWrite(m_nCommand - kCmdWriteCh0);
    ShowFourValues();
    m_nCommand = kCmdRead;
    return ValueRead();
}

void CM6359Modbus::ShowCycleValue()
{
    std::string text = AoRegisterValueText(ModbusDataText());
    if (text.empty()) return; // an exception or a garbled reply carries no value
    ShowValue(m_nReadChannel, text);
}

// The one- and two-channel cycle: one channel's value a tick, CH1's range read first.
std::string CM6359Modbus::CycleStep()
{
    if (m_nLastCommand == kLastNone) {
        m_nCommand = kCmdReadCh1Range;
        m_nLastCommand = kLastCycle;
    } else if (m_nLastCommand == kLastCh1Range) {
        std::string code = Mid(ModbusDataText(), 2, 2);
        if (const SAoRange* range = AoRangeOfCode(code)) {
            SetSliderRange(*range, 1, false);
            ShowRangeLabels(*range, 1);
        }
        EndStartup();
        m_nCommand = kCmdRead;
        m_nLastCommand = kLastCycle;
        return m_strAddress + "0300000001";
    }
    ApplyQueuedCommand();
    switch (m_nCommand) {
    case kCmdConfigure:
        m_nCommand = kCmdRestart;
        m_nLastCommand = kLastConfigure;
        return ConfigurationGoesOut();
    case kCmdRestart:
        m_nReadChannel = 0;
        m_nCommand = kCmdRead;
        return m_strAddress + "0300000001";
    case kCmdReadCh1Range:
        m_nLastCommand = kLastCh1Range;
        return m_strAddress + "0300C90040";
    case kCmdRead:
        ShowCycleValue();
        m_nReadChannel = (m_nReadChannel + 1) % m_nChannelCount;
        return m_strAddress + Format("03000%d0001", m_nReadChannel);
    default:
        return OutputWrite(m_nCommand - kCmdWriteCh0);
    }
}

// The echo of a write settles it; the reading goes on (the one- and two-channel cycle from
// channel 0), and the last reading stays: the echo is no reading.
bool CM6359Modbus::SettleLastWrite()
{
    if (!IsOutputWrite(m_nWriteSent)) return false;
    SettleOutputWrite(std::exchange(m_nWriteSent, 0), RtuWriteAnswer(m_strWriteRequest));
    m_nCommand = m_eKind == EAoKind::Four ? kCmdRead : kCmdRestart;
    return true;
}

void CM6359Modbus::PollStep()
{
    bool wrote = SettleLastWrite();
    if (!wrote) TakeReply();
    // The configuration's answer, whatever came: not heard, it is reported, not sent again.
    if (!wrote && m_nLastCommand == kLastConfigure) {
        m_nLastCommand = kLastNone;
        EndRtuSetting(kSetting, m_strConfigRequest);
        return;
    }
    std::string request;
    // A write the module did not hear, or a read that brought no value (an exception carries
    // none): the module is as good as silent.
    bool missed =
        wrote ? RtuWriteAnswer(m_strWriteRequest) == EWriteAnswer::NotHeard : !RtuDataCame();
    if (missed) {
        // The reading starts again at channel 0; what the operator asked for meanwhile waits for
        // the module to answer, as does a write it did not hear.
        request = ValueRead();
        m_nReadChannel = 0;
        m_nCommand = kCmdRead;
    } else {
        request = m_eKind == EAoKind::Four ? FourChannelStep() : CycleStep();
    }
    Send(request);
}

void CM6359Modbus::Send(const std::string& request)
{
    if (IsOutputWrite(m_nCommand)) {
        m_nWriteSent = std::exchange(m_nCommand, kCmdRead);
        m_strWriteRequest = request;
    }
    SendRtu(request, kTimeout);
    if (m_nCommand == kCmdConfigure) {
        // The four-channel configuration: its answer, whatever came, is the outcome; not heard,
        // it is reported, not sent again.
        m_nCommand = kCmdRead;
        TakeReply();
        EndRtuSetting(kFourChannelSetting, m_strConfigRequest);
    }
}
