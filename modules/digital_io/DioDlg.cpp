#include "DioDlg.h"

#include "AsciiCommand.h"
#include "DigitalIoIds.h"
#include "Resource.h"
#include "Strings.h"

namespace {

inline constexpr UINT kLeftButtonOnly = MK_LBUTTON; // no other button, no Shift or Ctrl

HICON IconOf(EDioLamp lamp)
{
    return lamp == EDioLamp::On    ? IDI_LAMP_ON
           : lamp == EDioLamp::Off ? IDI_LAMP_OFF
                                   : IDI_LAMP_UNUSED;
}

} // namespace

BEGIN_MESSAGE_MAP(CDioDlg, CModuleDlg)
ON_DIO_CLEAR_BUTTON(0)
ON_DIO_CLEAR_BUTTON(1)
ON_DIO_CLEAR_BUTTON(2)
ON_DIO_CLEAR_BUTTON(3)
ON_DIO_CLEAR_BUTTON(4)
ON_DIO_CLEAR_BUTTON(5)
ON_DIO_CLEAR_BUTTON(6)
ON_DIO_CLEAR_BUTTON(7)
ON_DIO_CLEAR_BUTTON(8)
ON_DIO_CLEAR_BUTTON(9)
ON_DIO_CLEAR_BUTTON(10)
ON_DIO_CLEAR_BUTTON(11)
ON_DIO_CLEAR_BUTTON(12)
ON_DIO_CLEAR_BUTTON(13)
ON_DIO_CLEAR_BUTTON(14)
ON_DIO_CLEAR_BUTTON(15)
ON_BN_CLICKED(IDC_DIO_LATCH_LOW, OnLatchLow)
ON_BN_CLICKED(IDC_DIO_LATCH_HIGH, OnLatchHigh)
END_MESSAGE_MAP()

CDioDlg::CDioDlg(const SModuleDescriptor& descriptor, EDioDialog dialog)
    : CModuleDlg(descriptor), m_eDialog(dialog)
{
    m_nCommand = kCmdPoll;
    m_nLastCommand = kCmdNone;
}

void CDioDlg::InitModel()
{
    SetDlgItemText(IDC_DIO_MODEL, m_strModuleName);
    bool high = (HexDigitOrZero(CharAt(Entry(kCheck), 0)) & 0x8) != 0;
    CheckDlgButton(IDC_DIO_LATCH_LOW, !high);
    CheckDlgButton(IDC_DIO_LATCH_HIGH, high);
    m_nLatchLevel = high ? kLatchHigh : kLatchLow;

    std::vector<int> doIds;
    std::vector<int> diIds;
    for (const SDioChannelControls& ids : DioChannelControls) {
        doIds.push_back(ids.nDoLamp);
        diIds.push_back(ids.nDiLamp);
    }
    m_doLamps.Attach(*this, doIds);
    m_diLamps.Attach(*this, diIds);
    if (const SDioModelRow* row = DioFindRow(m_strModuleName, EDioTest::Counts, m_eDialog)) {
        m_nDiCount = row->nDi;
        m_nDoCount = row->nDo;
    }
    EnableCounterClearButtons();
}

void CDioDlg::EnableCounterClearButtons()
{
    const SDioModelRow* row = DioFindRow(m_strModuleName, EDioTest::Lamps, m_eDialog);
    if (!row) return; // the template's state
    for (int ch = 0; ch < 16; ++ch)
        GetDlgItem(DioChannelControls[static_cast<size_t>(ch)].nClear)
            ->EnableWindow(ch < row->nClearButtons);
}

SDioLampStates CDioDlg::ShowStatus(WORD status)
{
    m_nReportedStatus = status;
    SDioLampStates states = DioLampStates(m_strModuleName, status, m_eDialog);
    for (int ch = 0; ch < 16; ++ch) {
        auto i = static_cast<size_t>(ch);
        if (states.di[i] != EDioLamp::Unchanged) m_diLamps.ShowIcon(ch, IconOf(states.di[i]));
        EDioLamp shown = states.dout[i];
        if (shown == EDioLamp::Unchanged) continue;
        // A reply must not undo what the operator asked for while its write is pending.
        if (shown != EDioLamp::Absent && OutputPending(ch))
            shown = m_bDoState[i] ? EDioLamp::On : EDioLamp::Off;
        m_doLamps.ShowIcon(ch, IconOf(shown));
        if (shown != EDioLamp::Absent) m_bDoState[i] = shown == EDioLamp::On;
    }
    if (DioFindRow(m_strModuleName, EDioTest::Lamps, m_eDialog)) m_bOutputsShown = true;
    return states;
}

void CDioDlg::ShowReportedOutputs()
{
    if (m_nReportedStatus) ShowStatus(*m_nReportedStatus);
}

int CDioDlg::HitOutputLamp(UINT nFlags, CPoint point) const
{
    int lamp = m_doLamps.HitTest(point);
    return nFlags == kLeftButtonOnly && lamp < m_nDoCount ? lamp : -1;
}

std::string CDioDlg::CheckDigitWithLatch(const SSettingsChoice& choice) const
{
    int h = HexDigitOrZero(CharAt(choice.strCheckDigit, 0));
    if (m_nLatchLevel == kLatchLow) h &= ~0x8;
    if (m_nLatchLevel == kLatchHigh) h |= 0x8;
    return ValueToHexChar(h);
}

CModuleDlg::Texts CDioDlg::DioRowTexts(const SSettingsChoice& choice) const
{
    Texts texts = RowTextsOf(choice);
    texts[4] = Entry(kModule);
    return texts;
}

CModuleDlg::Texts CDioDlg::DioParams(const SSettingsChoice& choice) const
{
    return {choice.strAddress, choice.strBaudCode, CheckDigitWithLatch(choice), "40", "0"};
}

void CDioDlg::ClearCounter(int channel)
{
    m_nClearChannel = channel;
    QueueCommand(kCmdClearCounter);
}
