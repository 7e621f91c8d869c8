// The per-channel-type ASCII dialogs as one table: what each is opened on and what sets it apart,
// and a fixture that opens any of them against a simulated module on COM1.
#pragma once

#include "ModuleFixture.h"

#include "AsciiCommand.h"
#include "ModuleDialogs.h"
#include "PerChannelIds.h"
#include "SimAnalogInput.h"
#include "SimCodec.h"
#include "SimPerChannelTemp.h"
#include "Strings.h"

#include <memory>

namespace per_channel_test {

struct STypeChange {
    int channel;
    int row;
    const char* code;
};

struct SDialogCase {
    const char* cls;
    UINT idd;
    const char* caption;
    const char* sim;    // the simulated model
    const char* listed; // the model name as the result list shows it
    ModuleParamBlock CMainFrame::*pBlock;
    ChannelTypeList CMainFrame::*pTypes; // null: the dialog reads the types itself
    int CMainFrame::*pChanged;
    int channels;
    UINT period;
    DWORD firstTimeout;
    ChannelTypeList types;     // as the search read them
    std::vector<int> typeRows; // the rows they select
    STypeChange change;
    const char* asciiType;  // the setting's type field
    const char* modbusForm; // after "%00" + "05": the switch to Modbus RTU at 9600 baud
    bool boxBehindPolling;
    bool readsTypes;
    bool clearsDescription;
    const char* row0Code; // the code of every type list's first row
};

inline const SDialogCase kCases[] = {
    {"CM6384P",
     202,
     "Vekt-6384P",
     "6384P",
     "4384P",
     &CMainFrame::m_strAnalogInputParams,
     &CMainFrame::m_strChannelTypes6384P,
     &CMainFrame::m_bAnalogInputChanged,
     8,
     500,
     100,
     {"07", "08", "09", "0A", "0B", "0C", "0D", "07"},
     {0, 1, 2, 3, 4, 5, 6, 0},
     {3, 2, "09"},
     "FF",
     "FF0604",
     false,
     false,
     false,
     "07"},
    {"CM6386P",
     200,
     "V-6386P ASCII",
     "6386P",
     "4386P",
     &CMainFrame::m_strThermocoupleInputParams,
     &CMainFrame::m_strChannelTypes6386P,
     &CMainFrame::m_bThermocoupleInputChanged,
     8,
     500,
     100,
     {"06", "07", "0E", "0F", "10", "11", "12", "0e"},
     {0, 1, 2, 3, 4, 5, 6, -1},
     {7, 8, "14"},
     "FF",
     "FF0604",
     true,
     false,
     false,
     "06"},
    {"CM6381p",
     205,
     "V-6381",
     "6381",
     "4381",
     &CMainFrame::m_strUniversalInputParams,
     &CMainFrame::m_strChannelTypes6381,
     &CMainFrame::m_bUniversalInputChanged,
     8,
     600,
     100,
     {"02", "03", "04", "05", "07", "08", "06", "0D"},
     {0, 1, 2, 3, 4, 5, -1, 7},
     {6, 14, "14"},
     "00",
     "FF0680",
     true,
     false,
     false,
     "02"},
    {"CM6382p",
     207,
     "4382A",
     "6382",
     "4382A",
     &CMainFrame::m_strSixChannelTempParams,
     &CMainFrame::m_strChannelTypes6382,
     &CMainFrame::m_bSixChannelTempChanged,
     6,
     400,
     200,
     {"20", "21", "22", "2A", "2D", "30"},
     {0, 1, 2, 10, 13, -1},
     {5, 10, "2A"},
     "FF",
     "000604",
     true,
     false,
     false,
     "20"},
    {"CM63828p",
     211,
     "V-6382T",
     "6382T",
     "4382T",
     &CMainFrame::m_strSixChannelTempParams,
     &CMainFrame::m_strChannelTypes6382,
     &CMainFrame::m_bSixChannelTempChanged,
     6,
     500,
     100,
     {"30", "31", "30", "31", "20", ""},
     {0, 1, 0, 1, -1, -1},
     {2, 1, "31"},
     "FF",
     "000604",
     true,
     false,
     false,
     "30"},
    {"CM6307p", 215,
     "V-6307P", "6307A",
     "4307A",   &CMainFrame::m_strRtdInputParams,
     nullptr,   &CMainFrame::m_bRtdInputChanged,
     6,         200,
     100,       {},
     {},        {5, 12, "2F"},
     "20",      "FF0604",
     true,      true,
     true,      "20"},
};

inline std::string Framed(const std::string& text, bool checksum)
{
    return checksum ? text + AppendChecksum(text) : text;
}

class PerChannelAscii : public CModuleFixture {
protected:
    // The link goes back to the fixture's own bus before a case's bus goes.
    ~PerChannelAscii() override { m_link.Attach(1, m_bus); }
    // A fresh bus on COM1 with the case's module on it.
    CSimModule& Module(const SDialogCase& c, int address = 1, DWORD baud = 9600)
    {
        m_caseBus = std::make_unique<CSimBus>();
        CSimModule& module = m_caseBus->Add(c.sim, address, baud);
        m_link.Attach(1, *m_caseBus);
        return module;
    }
    // Ticks until the dialog polls and has shown the first readings.
    static void StartPolling(CDialog& dlg, const SDialogCase& c)
    {
        Tick(dlg, c.readsTypes ? 8 : 2);
    }
    static ModuleParamBlock Block(const SDialogCase& c, const char* check = "0",
                                  const std::string& format = "0")
    {
        return {"01", "06", check, "FF", format, c.listed};
    }
    std::unique_ptr<CDialog> Open(const SDialogCase& c, const ModuleParamBlock& block)
    {
        m_frame.*c.pBlock = block;
        if (c.pTypes) m_frame.*c.pTypes = c.types;
        std::unique_ptr<CDialog> dlg = CreateModuleDialog(c.cls);
        dlg->Create(c.idd);
        return dlg;
    }
    static void Close(CDialog& dlg)
    {
        if (dlg.IsRunning()) ui::Click(dlg, IDC_PC_CANCEL);
    }
    static std::vector<std::string> Values(CDialog& dlg, const SDialogCase& c)
    {
        std::vector<std::string> values;
        for (int ch = 0; ch < c.channels; ++ch)
            values.push_back(dlg.GetDlgItemText(IDC_PC_VALUE0 + ch));
        return values;
    }
    static std::string Checked(CDialog& dlg, const SDialogCase& c)
    {
        std::string marks;
        for (int ch = 0; ch < c.channels; ++ch)
            marks += dlg.IsDlgButtonChecked(kPcCheckIds[static_cast<size_t>(ch)]) ? '1' : '0';
        return marks;
    }
    static int TypeRow(CDialog& dlg, int channel)
    {
        return dlg.GetDlgItemAs<CComboBox>(IDC_PC_TYPE0 + channel)->GetCurSel();
    }
    static std::string Respond(CDialog& dlg) { return dlg.GetDlgItemText(IDC_PC_RESPOND); }
    static void SetMask(CSimModule& module, BYTE mask)
    {
        dynamic_cast<CSimAnalogInput8&>(module).SetEnableMask(mask);
    }

    std::unique_ptr<CSimBus> m_caseBus;
};

} // namespace per_channel_test
