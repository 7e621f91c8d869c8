#include "V1384H.h"

#include "AsciiCommand.h"
#include "ModuleDialogs.h"
#include "RackIds.h"
#include "SlotAi.h"
#include "Strings.h"

REGISTER_MODULE_DIALOG(CV1384H)

namespace {

constexpr UINT kPollPeriod = 100;
constexpr int kChannels = 8;
constexpr int kSpeedRangeRows = 12;
// Channel 1's value edit shows no more of the value text than this.
constexpr int kChannel1ValueChars = 7;
// What is read after "!AA", whatever follows it: a channel's range code (after a "0"), the
// configuration's format digit (after "FF0").
constexpr size_t kRangeAt = 1;
constexpr size_t kFormatAt = 3;

const SAlarmSteps kAlarmSteps = {
    .nRead = {CV1384H::kReadHighType, CV1384H::kReadHighLimit, CV1384H::kReadLowType,
              CV1384H::kReadLowLimit},
    .eRead = {SAlarmSteps::ERead::HighType, SAlarmSteps::ERead::HighLimit,
              SAlarmSteps::ERead::LowType, SAlarmSteps::ERead::LowLimit},
    .nAfterRead = CV1384H::kValue0,
    .nRestart = CV1384H::kReadConfiguration,
    .nWait = CV1384H::kWait,
    .nEnableHigh = CV1384H::kEnableHigh,
    .nSetHighType = CV1384H::kSetHighType,
    .nEnableLow = CV1384H::kEnableLow,
    .nSetLowType = CV1384H::kSetLowType,
    .nSetHighLimit = CV1384H::kSetHighLimit,
    .nSetLowLimit = CV1384H::kSetLowLimit,
    .nClearHigh = CV1384H::kClearHigh,
    .nClearLow = CV1384H::kClearLow,
    .nAfterClear = CV1384H::kNone,
    .nAfterMaskEdit = CV1384H::kMaskEdited,
    .bCloseAfterAlarmOk = true,
    .nFirstStatus = CV1384H::kStatus0,
    .nStatusStride = 2,
};

} // namespace

BEGIN_MESSAGE_MAP(CV1384H, CAnalogSlotDlg)
ON_CBN_SELCHANGE(rack_analog::kChannelIds[0].nSpeedRange, OnRangeChange<0>)
ON_CBN_SELCHANGE(rack_analog::kChannelIds[1].nSpeedRange, OnRangeChange<1>)
ON_CBN_SELCHANGE(rack_analog::kChannelIds[2].nSpeedRange, OnRangeChange<2>)
ON_CBN_SELCHANGE(rack_analog::kChannelIds[3].nSpeedRange, OnRangeChange<3>)
ON_CBN_SELCHANGE(rack_analog::kChannelIds[4].nSpeedRange, OnRangeChange<4>)
ON_CBN_SELCHANGE(rack_analog::kChannelIds[5].nSpeedRange, OnRangeChange<5>)
ON_CBN_SELCHANGE(rack_analog::kChannelIds[6].nSpeedRange, OnRangeChange<6>)
ON_CBN_SELCHANGE(rack_analog::kChannelIds[7].nSpeedRange, OnRangeChange<7>)
ON_BN_CLICKED(rack_speed::IDC_UPDATE_SETTING, OnUpdateSetting)
ON_BN_CLICKED(rack_analog::IDC_UPDATE_ENABLE, OnUpdateEnable)
END_MESSAGE_MAP()

CV1384H::CV1384H(CWnd*) : CAnalogSlotDlg(IDD_RACK_SPEED, kAlarmSteps) {}

int CV1384H::RangeRow(int channel) const
{
    return GetDlgItemAs<CComboBox>(rack_analog::kChannelIds[channel].nSpeedRange)->GetCurSel();
}

BOOL CV1384H::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_nTypeReads = 0;
    GetDlgItemAs<CComboBox>(rack_speed::IDC_INTEGRATION)->SetCurSel(0);
    InitAnalogSlot(kChannels);
    if (m_strAddress == "00") {
        for (int id :
             {rack_speed::IDC_FORMAT, rack_speed::IDC_INTEGRATION, rack_speed::IDC_UPDATE_SETTING})
            GetDlgItem(id)->EnableWindow(TRUE);
    }
    m_nLastCommand = kReadConfiguration;
    SendAscii(SlotRequest('$', "B"), kOpenTimeout);
    SetTimer(m_nTimerId, kPollPeriod);
    return TRUE;
}

void CV1384H::ReadRange(int channel, char code)
{
    BYTE row = HexCharToValue(code);
    if (row < kSpeedRangeRows)
        GetDlgItemAs<CComboBox>(rack_analog::kChannelIds[channel].nSpeedRange)->SetCurSel(row);
    SetUnit(channel, SpeedUnit(RangeRow(channel)));
}

bool CV1384H::ReadReply(int step)
{
    if (auto alarm = ReadAlarmReply(step)) return *alarm;
    if (step >= kReadRange0 && step < kReadRange0 + kChannels) {
        int channel = step - kReadRange0;
        std::optional<std::string> range = DataReaching('!', kRangeAt + 1);
        if (range) ReadRange(channel, (*range)[kRangeAt]);
        m_nCommand = !range ? step : channel == kChannels - 1 ? kReadMask : step + 1;
        return true;
    }
    if (step >= kValue0 && step < kValue0 + 2 * kChannels && (step - kValue0) % 2 == 0) {
        int channel = (step - kValue0) / 2;
        ShowValue(channel, channel == 1 ? kChannel1ValueChars : -1);
        m_nCommand = step + 1;
        return true;
    }
    if (step >= kWriteRange0 && step < kWriteRange0 + kChannels) {
        // The reply is not looked at: the range read that follows shows what the module holds.
        m_nCommand = kReadRange0 + step - kWriteRange0;
        return true;
    }
    switch (step) {
    case kReadConfiguration: {
        std::optional<std::string> configuration = DataReaching('!', kFormatAt + 1);
        int row = configuration
                      ? RowOfCode(kSpeedFormatReadDigits, configuration->substr(kFormatAt, 1))
                      : -1;
        if (row >= 0) GetDlgItemAs<CComboBox>(rack_speed::IDC_FORMAT)->SetCurSel(row);
        m_nCommand = configuration ? kReadMask : kReadConfiguration;
        return true;
    }
    case kReadMask:
        m_nCommand = ReadEnableMask() && m_nTypeReads >= kChannels ? kReadHighType : kReadRange0;
        return true;
    case kWriteFormat:
        m_nCommand = kNone;
        BoxBehindPolling(Acknowledged() ? "Update Setting Succeeded!" : "Update Setting Error!",
                         "Setting", MB_ICONEXCLAMATION);
        return true;
    case kWriteMask:
        m_nCommand = kNone;
        TickMessageBox(Acknowledged() ? "Update WDT Succeeded!" : "Update WDT Error!", "Setting",
                       MB_ICONEXCLAMATION);
        OnCancel();
        return false;
    default:
        return true;
    }
}

int CV1384H::NextAfterStatus(int channel)
{
    return channel < kChannels - 1 ? kStatus0 + 2 * channel + 1 : kValue0;
}

std::string CV1384H::StepRequest()
{
    if (auto alarm = AlarmRequest()) return *alarm;
    int step = m_nCommand;
    if (step >= kReadRange0 && step < kReadRange0 + kChannels) {
        ++m_nTypeReads;
        return SlotRequest('$', Format("C%dB", step - kReadRange0));
    }
    if (step >= kValue0 && step < kValue0 + 2 * kChannels && (step - kValue0) % 2 == 0)
        return SlotRequest('#', Format("C%d", (step - kValue0) / 2));
    if (step >= kWriteRange0 && step < kWriteRange0 + kChannels) {
        int channel = step - kWriteRange0;
        return SlotRequest('$',
                           Format("C%dA0", channel) + ValueToHexChar(RangeRow(channel)) + "FF");
    }
    switch (step) {
    case kReadConfiguration:
        return SlotRequest('$', "B");
    case kReadMask:
        return SlotRequest('$', "6");
    case kWriteFormat: {
        int row = GetDlgItemAs<CComboBox>(rack_speed::IDC_FORMAT)->GetCurSel();
        std::string code = CodeOfRow(kSpeedFormatWriteCodes, row);
        return code.empty() ? std::string() : SlotRequest('$', "AFF" + code);
    }
    case kWriteMask:
        return SlotRequest('$', "5" + m_strEnableMask);
    default:
        return {};
    }
}

void CV1384H::RangeChange(int channel)
{
    // Only a row chosen from the list is written.
    if (RangeRow(channel) < 0) return;
    m_nCommand = kWriteRange0 + channel;
    m_nLastCommand = kNone;
}

void CV1384H::OnUpdateSetting()
{
    if (!ListsChosen({{rack_speed::IDC_FORMAT, "Data Format"}})) return;
    m_nCommand = kWriteFormat;
    m_nLastCommand = kNone;
}

void CV1384H::OnUpdateEnable()
{
    m_nCommand = kWriteMask;
    m_nLastCommand = kNone;
}
