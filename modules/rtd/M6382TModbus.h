// The Modbus RTU dialog of the six-channel thermistor input module: types, channel enable, raw and
// scaled readings, and a new slave address.
#pragma once

#include "PerChannelModbus.h"

class CM6382TModbus : public CPerChannelModbusDlg {
public:
    explicit CM6382TModbus(CWnd* pParent = nullptr);

    void OnSetting();

    DECLARE_MESSAGE_MAP()
};
