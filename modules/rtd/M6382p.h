// The ASCII dialog of the six-channel RTD input module with one RTD type per channel.
#pragma once

#include "PerChannelAscii.h"

class CM6382p : public CPerChannelAsciiDlg {
public:
    explicit CM6382p(CWnd* pParent = nullptr);

    DECLARE_MESSAGE_MAP()
};
