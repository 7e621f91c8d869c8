// The Modbus RTU dialog of a module with one input type per channel. It reads the enable mask
// (register 0x00DC) and the channel types (from 0x00C8) once, then polls the input registers from
// 0x0000 and shows each as its raw value in a list and scaled by its channel's type in the
// channel's field. A type list or "follow CH0" writes type registers, an enable box the mask. The
// general settings are only shown. A dialog class gives it its template, block, type codes and
// the scaling of each type.
#pragma once

#include "PerChannelTypes.h"
#include "RawScaling.h"

struct SPerChannelModbusSetup {
    UINT nTemplate;
    ModuleParamBlock CMainFrame::*pBlock;
    CodeTable typeCodes;  // by row of the type lists
    RawScaleTable scales; // by row of the type lists
    SChannelRows rows;
    EMaskPolicy eMask = EMaskPolicy::NonHexIsNone;
};

class CPerChannelModbusDlg : public CPerChannelTypeDlg {
public:
    BOOL OnInitDialog() override;
    void PollStep() override;
    // Every way of closing ends here (the Cancel button, Esc, the close box).

    void OnRefresh();
    // Gives every channel CH0's type: CH5 is written first, then CH0 to CH7 in turn.
    void OnFollowCh0();

    // The engineering value of a register by the channel's type row; nothing without a type.
    std::optional<float> RawToEngineering(int raw, int row) const;

    SSequence m_follow; // its step: the next of the nine writes of "follow CH0"
    std::string m_strReplyData;

    DECLARE_MESSAGE_MAP()

protected:
    explicit CPerChannelModbusDlg(const SPerChannelModbusSetup& setup);

private:
    enum : int { kCmdReadTypes = -2, kCmdStart = -1 };
    // m_nLastCommand: whose reply the next step checks.
    enum : int { kNothing = 0, kTypesRead = 1, kMaskWritten = 2, kTypeWritten = 3, kMaskRead = 4 };

    void CheckReply();
    void ReadTypes();
    void NextFollowWrite();
    std::string NextRequest();
    void ShowReadings();
    std::string Poll() const;

    RawScaleTable m_scales;
};
