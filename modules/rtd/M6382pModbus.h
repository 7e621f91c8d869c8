// The Modbus RTU dialog of the six-channel RTD input module with one RTD type per channel: types,
// channel enable, burn-out states read once, raw and scaled readings.
#pragma once

#include "PerChannelModbus.h"

class CM6382pModbus : public CPerChannelModbusDlg {
public:
    explicit CM6382pModbus(CWnd* pParent = nullptr);

    DECLARE_MESSAGE_MAP()
};
