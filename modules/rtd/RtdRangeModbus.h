// What the two RTD dialogs over Modbus RTU share: the module's one range read at start, the
// readings of three or six channels scaled by it, and "Setting": a new slave address (written back
// to the result list) or the switch of the module to ASCII (nothing written back).
#pragma once

#include "PerChannelModbus.h"

// The differences of the two dialogs.
struct SRtdRangeModbusModel {
    UINT nTemplate;
    ModuleParamBlock CMainFrame::*pBlock;
    int nChannels;
    UINT nPeriod;
    int nMinData;         // the reply data (hex digits) the readings need
    const char* pszModel; // the model number whose settings are only shown
};

class CRtdRangeModbusDlg : public CPerChannelModbusDlg {
public:
    void OnUpdate();

    DECLARE_MESSAGE_MAP()

protected:
    explicit CRtdRangeModbusDlg(const SRtdRangeModbusModel& model);
    void EnableSettingsBoxes() override;

private:
    const char* m_pszModel;
};
