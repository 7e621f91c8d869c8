// The Modbus RTU dialog of the eight-channel analog-input module with one input type per channel.
#pragma once

#include "PerChannelModbus.h"

class CM6384pModbus : public CPerChannelModbusDlg {
public:
    explicit CM6384pModbus(CWnd* pParent = nullptr);

    DECLARE_MESSAGE_MAP()
};
