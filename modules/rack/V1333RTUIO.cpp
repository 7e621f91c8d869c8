#include "V1333RTUIO.h"

#include "RackModbusIds.h"
#include "RackState.h"
#include "Resource.h"
#include "Strings.h"

namespace {

constexpr UINT kPeriodMs = 100;

} // namespace

BEGIN_MESSAGE_MAP(CV1333RTUIO, CRackPage)
ON_BN_CLICKED(kRackIoLampIds[0], OnToggleDo<0>)
ON_BN_CLICKED(kRackIoLampIds[1], OnToggleDo<1>)
ON_BN_CLICKED(kRackIoLampIds[2], OnToggleDo<2>)
ON_BN_CLICKED(kRackIoLampIds[3], OnToggleDo<3>)
ON_BN_CLICKED(kRackIoLampIds[4], OnToggleDo<4>)
ON_BN_CLICKED(kRackIoLampIds[5], OnToggleDo<5>)
ON_BN_CLICKED(kRackIoLampIds[6], OnToggleDo<6>)
ON_BN_CLICKED(kRackIoLampIds[7], OnToggleDo<7>)
ON_BN_CLICKED(kRackIoLampIds[8], OnToggleDo<8>)
ON_BN_CLICKED(kRackIoLampIds[9], OnToggleDo<9>)
ON_BN_CLICKED(kRackIoLampIds[10], OnToggleDo<10>)
ON_BN_CLICKED(kRackIoLampIds[11], OnToggleDo<11>)
ON_BN_CLICKED(kRackIoLampIds[12], OnToggleDo<12>)
ON_BN_CLICKED(kRackIoLampIds[13], OnToggleDo<13>)
ON_BN_CLICKED(kRackIoLampIds[14], OnToggleDo<14>)
ON_BN_CLICKED(kRackIoLampIds[15], OnToggleDo<15>)
ON_BN_CLICKED(IDC_RACK_IO_VIEW, OnViewMode)
END_MESSAGE_MAP()

CV1333RTUIO::CV1333RTUIO(CWnd*) : CRackPage(IDD_V1333RTUIO)
{
    m_strLabel.fill("00000");
}

void CV1333RTUIO::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_RACK_IO_VIEW, m_btnViewMode);
    for (size_t c = 0; c < kDigitalChannels; ++c) {
        DDX_Control(pDX, kRackIoLampIds[c], m_btnChannel[c]);
        DDX_Text(pDX, kRackIoLabelIds[c], m_strLabel[c]);
    }
}

BOOL CV1333RTUIO::OnInitDialog()
{
    CDialog::OnInitDialog();
    InitPage(kPeriodMs, kCmdReadCoils);
    return TRUE;
}

bool CV1333RTUIO::Serves(const std::string& module) const
{
    return FindDigitalModel(module) != nullptr;
}

void CV1333RTUIO::PollStep()
{
    const CRackState& rack = RackState();
    TakeReply();
    m_strData = LastReplyDigits();
    bool wrote = IsCoilWrite(m_nLastCommand);
    if (wrote) SettleCoilWrite(m_nLastCommand);
    if (m_nLastCommand == kCmdReadCoils && RtuDataCame()) ParseStatusReply(Left(m_strData, 4));
    ShowLabels();

    m_nCommand = kCmdReadCoils;
    ApplyWriteAfterRead(wrote);
    m_nLastCommand = m_nCommand;
    if (!IsCoilWrite(m_nCommand)) {
        Exchange(CoilReadBody(rack.nCurrentSlot));
        return;
    }
    // Built with the slot shown at the press, so a tab change before it goes out cannot send it
    // to another module.
    int coil = m_nCommand - kCmdWriteCoil0;
    ExchangeWrite(CoilWriteBody(coil / kDigitalChannels, coil % kDigitalChannels,
                                m_bCoilAsked[static_cast<size_t>(coil)]));
}

void CV1333RTUIO::SettleCoilWrite(int nCommand)
{
    if (SettleWrite(nCommand, WriteAnswer()) != EWriteAnswer::Refused || WritePending(nCommand))
        return;
    int coil = nCommand - kCmdWriteCoil0;
    if (coil / kDigitalChannels == RackState().nCurrentSlot)
        ShowChannel(coil % kDigitalChannels, m_bCoilRead[static_cast<size_t>(coil)]);
}

void CV1333RTUIO::ParseStatusReply(const std::string& digits)
{
    int slot = RackState().nCurrentSlot;
    std::array<bool, kDigitalChannels> states = CoilStates(digits);
    for (int c = 0; c < kDigitalChannels; ++c) {
        int coil = slot * kDigitalChannels + c;
        bool on = states[static_cast<size_t>(c)];
        // A lamp whose write is pending keeps the operator's state.
        if (coil >= 0 && coil < kCoils) {
            m_bCoilRead[static_cast<size_t>(coil)] = on;
            if (WritePending(kCmdWriteCoil0 + coil)) continue;
        }
        ShowChannel(c, on);
    }
}

void CV1333RTUIO::ShowChannel(int channel, bool on)
{
    const SDigitalModel* model = FindDigitalModel(RackState().CurrentModule());
    auto c = static_cast<size_t>(channel);
    m_btnChannel[c].SetIcon(on ? IDI_DOT_SET : IDI_DOT_CLEAR);
    if (model && channel < model->nFlagChannels) m_bOutputOn[c] = on;
}

void CV1333RTUIO::ToggleDo(int channel)
{
    const CRackState& rack = RackState();
    const SDigitalModel* model = FindDigitalModel(rack.CurrentModule());
    // A module whose lamps switch nothing keeps its flags as its inputs set them.
    if (!model || !model->bWrites) return;
    auto c = static_cast<size_t>(channel);
    int& on = m_bOutputOn[c];
    on = !on;
    // The lamp shows the operator's state while the write is pending.
    m_btnChannel[c].SetIcon(on ? IDI_DOT_SET : IDI_DOT_CLEAR);
    int coil = rack.nCurrentSlot * kDigitalChannels + channel;
    m_bCoilAsked[static_cast<size_t>(coil)] = on != 0;
    QueueWrite(kCmdWriteCoil0 + coil);
}

void CV1333RTUIO::OnViewMode()
{
    m_bChannelView = !m_bChannelView;
}

void CV1333RTUIO::ShowLabels()
{
    auto start = static_cast<int>(StrToLong(RackState().CurrentStart(), 10));
    m_btnViewMode.SetWindowText(m_bChannelView ? "CH View" : "Addr View");
    for (int c = 0; c < kDigitalChannels; ++c)
        m_strLabel[static_cast<size_t>(c)] =
            m_bChannelView ? Format("CH%d", c) : Format("%05d", start + c);
    UpdateData(FALSE);
}
