// The ASCII dialog of the eight-channel thermocouple and current input module with one input type
// per channel.
#pragma once

#include "PerChannelAscii.h"

class CM6386P : public CPerChannelAsciiDlg {
public:
    explicit CM6386P(CWnd* pParent = nullptr);

    DECLARE_MESSAGE_MAP()
};
