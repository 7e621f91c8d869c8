// The ASCII dialog of a module with one input type per channel. It reads the enable mask once,
// polls the readings with #AA, writes the enable mask ($AA5VV) and one channel's type ($AA7CiRrr)
// at a time, and sends the general setting as one "%" command, after which it closes. A dialog
// class gives it its template, its family's block, type list and flag, and its type codes.
#pragma once

#include "PerChannelTypes.h"

struct SPerChannelAsciiSetup {
    UINT nTemplate;
    ModuleParamBlock CMainFrame::*pBlock;
    // The codes the search read, one per channel; an acknowledged change is stored back.
    ChannelTypeList CMainFrame::*pTypes;
    // Raised when the module acknowledges the general setting.
    int CMainFrame::*pChanged;
    CodeTable typeCodes; // by row of the type lists
    SChannelRows rows;
    EMaskPolicy eMask = EMaskPolicy::NonHexIsNone;
};

class CPerChannelAsciiDlg : public CPerChannelTypeDlg {
public:
    BOOL OnInitDialog() override;
    void PollStep() override;
    // Every way of closing ends here: the Cancel button, Esc, the close box and the reply to the
    // general setting. The timer stops and the line closes.

    void OnUpdate();
    void OnRefresh();

    DECLARE_MESSAGE_MAP()

protected:
    explicit CPerChannelAsciiDlg(const SPerChannelAsciiSetup& setup);

private:
    enum : int { kCmdStart = -1, kCmdConfigure = 3 };
    // m_nLastCommand: whose reply the next step checks.
    enum : int { kNothing = 0, kMaskWritten = 1, kTypeWritten = 2, kConfigured = 3, kMaskRead = 4 };

    // False when the reply closed the dialog.
    bool CheckReply();
    std::string NextRequest();
    void ShowReadings();

    ChannelTypeList CMainFrame::*m_pTypes;
    // The type write as it went out, which its acknowledgement stores.
    int m_nSentTypeChannel = 0;
    std::string m_strSentTypeCode;
    // The address the general setting gives the module, in force once the setting has gone out.
    std::string m_strNewAddress;
};
