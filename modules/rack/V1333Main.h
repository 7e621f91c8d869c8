// The main page of the Modbus rack window: module name, start and end address of the eight slots.
#pragma once

#include "Dialog.h"
#include "MainFrm.h"
#include "PollTimer.h"
#include "RackModbusTables.h"

class CV1333Main : public CDialog {
public:
    explicit CV1333Main(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnTimer(UINT_PTR nIDEvent) override;

    CMainFrame* m_pMainFrame = nullptr;
    UINT_PTR m_nTimerId = kPollTimer;
    SlotTexts m_strModule;
    SlotTexts m_strStart;
    SlotTexts m_strEnd;
};
