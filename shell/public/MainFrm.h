// The main frame: the program's window and the state that the search, the open-module dispatch
// and every module dialog share.
#pragma once

#include "Frame.h"

#include <array>
#include <memory>
#include <string>

class CQueryDlg;
class CSingleDlg;
class CLogDlg;

// Address, Brate, Check, Script, Format, Module of one module, as the search lists them.
using ModuleParamBlock = std::array<std::string, 6>;
enum ParamEntry { kAddress = 0, kBrate = 1, kCheck = 2, kScript = 3, kFormat = 4, kModule = 5 };
// New texts for the list columns Module, Address(HEX), Baudrate, Checksum, Description.
using RowTexts = std::array<std::string, 5>;
// Per-channel type codes the search read from a module (index = channel).
using ChannelTypeList = std::array<std::string, 10>;
// The rack's block: a ModuleParamBlock followed by the row's Protocol text.
using RackParamBlock = std::array<std::string, 7>;
inline constexpr int kRackProtocol = 6;

// 0 while a dialog is open, 1 once it has closed; read only by the never-opened serial class.
extern int g_bDialogClosed;

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate() override;

    void OnQueryStart();
    void OnRunSingleLine();
    void OnRunDataLogger();
    void OnOpenDioModule();
    void OnHelp();

    int m_nScreenWidth = 1024;
    bool m_bAnalogInputChanged = false;
    bool m_bThreeChannelRtdChanged = false;
    bool m_bThermocoupleInputChanged = false;
    bool m_bUniversalInputChanged = false;
    bool m_bSixChannelTempChanged = false;
    bool m_bAnalogOutputChanged = false;
    bool m_bRtdInputChanged = false;
    bool m_bBridgeInputChanged = false;
    bool m_bCounterChanged = false;
    bool m_bPowerMeterChanged = false;
    bool m_bDioChanged = false;
    ModuleParamBlock m_strNewParams;
    RowTexts m_strNewRowText;
    ModuleParamBlock m_strThreeChannelRtdParams;
    ModuleParamBlock m_strDioParams;
    ModuleParamBlock m_strAnalogInputParams;
    ModuleParamBlock m_strUniversalInputParams;
    ModuleParamBlock m_strSixChannelTempParams;
    ModuleParamBlock m_strAnalogOutputParams;
    ModuleParamBlock m_strM6307ModbusParams;
    ModuleParamBlock m_strThermocoupleInputParams;
    ModuleParamBlock m_strM6385ModbusParams;
    ModuleParamBlock m_strM6300ModbusParams;
    ChannelTypeList m_strChannelTypes6386P;
    ChannelTypeList m_strChannelTypes6384P;
    ChannelTypeList m_strChannelTypes6381;
    ChannelTypeList m_strChannelTypes6382;
    RackParamBlock m_strRackParams;
    ModuleParamBlock m_strSlotDioParams;
    ModuleParamBlock m_strSlotAiParams;
    ModuleParamBlock m_strSlotAoParams;
    ModuleParamBlock m_strRtdInputParams;
    ModuleParamBlock m_strBridgeInputParams;
    ModuleParamBlock m_strCounterParams;
    ModuleParamBlock m_strPowerMeterParams;
    int m_nComPort = 1;
    int m_nParity = 0; // no parity until the search dialog says otherwise
    CSingleDlg* m_pSingleDlg = nullptr;
    CLogDlg* m_pLogDlg = nullptr;
    CQueryDlg* m_pQueryDlg = nullptr;

    DECLARE_MESSAGE_MAP()
};

// The application's main window as the frame it is.
CMainFrame* GetMainFrame();
