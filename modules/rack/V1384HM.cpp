#include "V1384HM.h"

#include "RackModbusIds.h"
#include "RackState.h"
#include "Resource.h"
#include "SlotAo.h"
#include "Strings.h"

#include <algorithm>

namespace {

constexpr UINT kPeriodMs = 200;
constexpr int kTypeDigitsPerSlot = 32; // eight registers of type codes per slot
constexpr int kTypeDigits = 16;        // of which the first four carry codes

} // namespace

BEGIN_MESSAGE_MAP(CV1384HM, CRackPage)
ON_BN_CLICKED(IDC_RACK_AI_VIEW, OnViewMode)
ON_BN_CLICKED(IDC_RACK_AI_HEX, OnValueMode)
ON_BN_CLICKED(kRackAoSendIds[0], OnSendAo<0>)
ON_BN_CLICKED(kRackAoSendIds[1], OnSendAo<1>)
ON_BN_CLICKED(kRackAoSendIds[2], OnSendAo<2>)
ON_BN_CLICKED(kRackAoSendIds[3], OnSendAo<3>)
END_MESSAGE_MAP()

CV1384HM::CV1384HM(CWnd*) : CRackPage(IDD_V1384HM)
{
    m_strLabel.fill("00000");
}

void CV1384HM::DoDataExchange(CDataExchange* pDX)
{
    for (size_t r = 0; r < kAnalogRows; ++r) {
        DDX_Text(pDX, kRackAiLabelIds[r], m_strLabel[r]);
        DDX_Text(pDX, kRackAiRangeIds[r], m_types.strRange[r]);
        DDX_Text(pDX, kRackAiValueIds[r], m_strValue[r]);
    }
}

BOOL CV1384HM::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_bShowHex = false;
    for (int id : kRackAoEntryIds) SetDlgItemText(id, "0");
    InitPage(kPeriodMs, kCmdReadTypes);
    return TRUE;
}

bool CV1384HM::Serves(const std::string& module) const
{
    return IsAnalogPageModule(module);
}

void CV1384HM::PollStep()
{
    const CRackState& rack = RackState();
    int slot = rack.nCurrentSlot;
    ShowRows(rack.CurrentModule());

    TakeReply();
    bool wrote = IsOutputWrite(m_nLastCommand);
    if (wrote) {
        SettleOutputWrite(m_nLastCommand);
        m_nCommand = kCmdReadTypes;
    } else if (RtuDataCame() || RtuRefused()) {
        // Only the module's reply to the read moves the cycle on; after silence or noise the
        // same read goes out again. A refused read shows nothing.
        ReadReply(slot);
    }
    ApplyWriteAfterRead(wrote);
    m_nLastCommand = m_nCommand;
    if (!IsOutputWrite(m_nCommand)) {
        Exchange(ReadBody(slot));
        return;
    }
    // Built with the slot shown at the press, so a tab change before it goes out cannot send it
    // to another module.
    int output = m_nCommand - kCmdWriteOutput0;
    ExchangeWrite(OutputWriteBody(output / kAnalogRows, output % kAnalogRows,
                                  m_strAoAsked[static_cast<size_t>(output)]));
}

void CV1384HM::SettleOutputWrite(int nCommand)
{
    if (SettleWrite(nCommand, WriteAnswer()) != EWriteAnswer::Refused || WritePending(nCommand))
        return;
    int output = nCommand - kCmdWriteOutput0;
    int channel = output % kAnalogRows;
    if (output / kAnalogRows == RackState().nCurrentSlot && channel < kAnalogOutputs) {
        auto c = static_cast<size_t>(channel);
        SetDlgItemText(kRackAoEntryIds[c], m_strModuleOutput[c]);
    }
}

void CV1384HM::ReadReply(int slot)
{
    bool data = RtuDataCame();
    std::string digits = LastReplyDigits();
    switch (m_nLastCommand) {
    case kCmdReadTypes:
        if (data) ParseInputTypes(Mid(digits, kTypeDigitsPerSlot * slot, kTypeDigits));
        m_nCommand = kCmdReadValues;
        break;
    case kCmdReadValues:
        if (data) ParseChannelValues(Left(digits, 32));
        m_nCommand = kCmdReadAlarms;
        break;
    case kCmdReadAlarms:
        if (data) ParseStatusReply(Left(digits, 8));
        m_nCommand = kCmdReadTypes;
        break;
    default:
        break; // the read a Send overtook: not read
    }
}

std::string CV1384HM::ReadBody(int slot) const
{
    switch (m_nCommand) {
    case kCmdReadValues:
        return ValuesReadBody(slot);
    case kCmdReadAlarms:
        return AlarmsReadBody(slot);
    default:
        return TypesReadBody();
    }
}

void CV1384HM::ShowRows(const std::string& module)
{
    auto start = static_cast<int>(StrToLong(RackState().CurrentStart(), 10));
    m_strLabel = AnalogRowLabels(module, start, m_bChannelView);
    SetDlgItemText(IDC_RACK_AI_VIEW, m_bChannelView ? "CH" : "Addr");
    if (!m_bChannelView) {
        int rows = AnalogRowCount(module);
        for (int r = 0; r < kAnalogRows; ++r) {
            size_t i = static_cast<size_t>(r);
            GetDlgItem(kRackAiRangeIds[i])->EnableWindow(r < rows);
            GetDlgItem(kRackAiValueIds[i])->EnableWindow(r < rows);
        }
        bool outputs = HasAnalogOutputs(module);
        for (size_t c = 0; c < kAnalogOutputs; ++c) {
            GetDlgItem(kRackAoEntryIds[c])->EnableWindow(outputs);
            GetDlgItem(kRackAoSendIds[c])->EnableWindow(outputs);
        }
    }
    UpdateData(FALSE);
}

void CV1384HM::ParseInputTypes(const std::string& digits)
{
    ::ParseInputTypes(RackState().CurrentModule(), digits, m_types);
    for (size_t r = 0; r < kAnalogRows; ++r) SetDlgItemText(kRackAiUnitIds[r], m_types.strUnit[r]);
    for (size_t c = 0; c < kAnalogOutputs; ++c)
        SetDlgItemText(kRackAoUnitIds[c], m_types.strOutputUnit[c]);
    UpdateData(FALSE);
}

void CV1384HM::ParseChannelValues(const std::string& digits)
{
    SetDlgItemText(IDC_RACK_AI_HEX, m_bShowHex ? "Eng" : "Hex");
    const std::string& module = RackState().CurrentModule();
    m_strValue = ChannelValueTexts(module, digits, m_types, m_bShowHex);
    std::array<std::string, kAnalogRows> values = ChannelValueTexts(module, digits, m_types, false);
    std::copy_n(values.begin(), kAnalogOutputs, m_strModuleOutput.begin());
    UpdateData(FALSE);
}

void CV1384HM::ParseStatusReply(const std::string& digits)
{
    SAlarmLamps lamps = ::ParseStatusReply(digits);
    for (size_t r = 0; r < kAnalogRows; ++r) {
        GetDlgItemAs<CStatic>(kRackAiHighLampIds[r])
            ->SetIcon(lamps.bHigh[r] ? IDI_DOT_SET : IDI_DOT_CLEAR);
        GetDlgItemAs<CStatic>(kRackAiLowLampIds[r])
            ->SetIcon(lamps.bLow[r] ? IDI_DOT_SET : IDI_DOT_CLEAR);
    }
}

void CV1384HM::OnViewMode()
{
    m_bChannelView = !m_bChannelView;
}

void CV1384HM::OnValueMode()
{
    m_bShowHex = !m_bShowHex;
}

void CV1384HM::SendAo(int channel)
{
    const CRackState& rack = RackState();
    // The enabled states stand still in channel view: a slot without outputs takes no write.
    if (!HasAnalogOutputs(rack.CurrentModule())) return;
    size_t c = static_cast<size_t>(channel);
    float value = LeadingNumber(GetDlgItemText(kRackAoEntryIds[c]));
    int type = m_types.nType[c];
    if (auto range = OutputRange(type); range && (value < range->fLow || value > range->fHigh)) {
        MessageBox(kInvalidOutputValue, "Setting", MB_ICONEXCLAMATION);
        return;
    }
    int output = rack.nCurrentSlot * kAnalogRows + channel;
    m_strAoAsked[static_cast<size_t>(output)] = Format("%04X", EngineeringToCount(value, type));
    QueueWrite(kCmdWriteOutput0 + output);
    // The write goes out next; the reply of a read in flight is not read (a write's is: it
    // settles the write).
    if (!IsOutputWrite(m_nLastCommand)) m_nLastCommand = kCmdNone;
}
