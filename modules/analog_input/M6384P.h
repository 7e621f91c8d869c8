// The ASCII dialog of the eight-channel analog-input module with one input type per channel.
#pragma once

#include "PerChannelAscii.h"

class CM6384P : public CPerChannelAsciiDlg {
public:
    explicit CM6384P(CWnd* pParent = nullptr);

    DECLARE_MESSAGE_MAP()
};
