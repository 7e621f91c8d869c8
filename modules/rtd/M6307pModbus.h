// The Modbus RTU dialog of the six-channel RTD input module with one range for the module.
#pragma once

#include "rtd/RtdRangeModbus.h"

class CM6307pModbus : public CRtdRangeModbusDlg {
public:
    explicit CM6307pModbus(CWnd* pParent = nullptr);
};
