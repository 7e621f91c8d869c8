// The bridge-input dialog: the input reading, the excitation output set with a slider, four
// digital-output lamps written in two banks of two and one live digital-input lamp.
#pragma once

#include "AnalogInputIds.h"
#include "Lamps.h"
#include "ModuleDlg.h"

#include <array>
#include <string>

class CM6387 : public CModuleDlg {
public:
    explicit CM6387(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PollStep() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar) override;

    void OnSetting();
    void OnSelect();
    void OnSliderReleased();

    // The "Input" field, the one value field (channel 0).
    void ShowChannelValue(const std::string& text);
    // Lamps from an @AADI reply: DO lamps from the bits of the DO digit, DI lamp CH1 from bit 0
    // of the DI character's code.
    void ShowDioLamps(char di, char doDigit);
    // Millivolts as volts with two integer digits and three decimals ("05.000").
    static std::string FormatVolts(int n);

    std::string m_strPollRequest; // #AA as framed when the dialog opened
    int m_nPollPhase = 0;         // which poll reply the next tick reads: #AA, $AA6, @AADI
    // The DO lamps' states as the module reported them; a bank whose write is pending keeps the
    // operator's.
    std::array<int, 4> m_bDoState{};
    std::string m_strDoValue;     // bank digit and state digit of the last @AADO
    bool m_bSliderActive = false; // from a slider scroll until the slider is released
    std::string m_strExcitation;
    std::string m_strSetPoint; // the excitation field's text when the slider was released
    int m_nSelectedChannel = 0;
    // A miss came since the last reply in step: the next reading waits for the reply after it.
    bool m_bAfterMiss = false;
    std::string m_strHeldValue;

    DECLARE_MESSAGE_MAP()

private:
    CComboBox* Combo(int nID) const { return GetDlgItemAs<CComboBox>(nID); }
    void ShowFailure();
    void ShowOutputLamps();
    // The answer to the write that went out last settles it; false when none did.
    bool SettleLastWrite();
    // The configuration's answer: its outcome, and the dialog closes.
    void EndConfiguration();
    std::string NextRequest();
    // The data of the poll reply the phase reads, when it has the shape that phase reads.
    std::optional<std::string> PollReplyData() const;
    std::string PollCycle();
    // #AA sent outside the cycle: the cycle starts again, so its reply is read as a reading.
    std::string RestartPoll(bool checksum);

    CLamps m_doLamps;
    CLamps m_diLamps;
    int m_nReportedOutputs = 0; // the DO bits of the last @AADI reply
};
