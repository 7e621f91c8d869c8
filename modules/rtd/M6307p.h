// The ASCII dialog of the six-channel RTD input module with one range per channel: it reads the
// ranges channel by channel, then shows every channel's reading.
#pragma once

#include "PerChannelAscii.h"

class CM6307p : public CPerChannelAsciiDlg {
public:
    explicit CM6307p(CWnd* pParent = nullptr);
};
