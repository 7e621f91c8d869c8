// The ASCII dialog of the six-channel thermistor input module with one thermistor type per
// channel.
#pragma once

#include "PerChannelAscii.h"

class CM63828p : public CPerChannelAsciiDlg {
public:
    explicit CM63828p(CWnd* pParent = nullptr);

    DECLARE_MESSAGE_MAP()
};
