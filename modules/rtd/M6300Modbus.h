// The Modbus RTU dialog of the three-channel RTD input module.
#pragma once

#include "rtd/RtdRangeModbus.h"

class CM6300Modbus : public CRtdRangeModbusDlg {
public:
    explicit CM6300Modbus(CWnd* pParent = nullptr);
};
