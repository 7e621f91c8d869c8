// The Modbus RTU dialog of the eight-channel thermocouple and current input module with one input
// type per channel.
#pragma once

#include "PerChannelModbus.h"

class CM6386PModbus : public CPerChannelModbusDlg {
public:
    explicit CM6386PModbus(CWnd* pParent = nullptr);

    DECLARE_MESSAGE_MAP()
};
