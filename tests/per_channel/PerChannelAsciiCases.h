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
#include "analog_input/AnalogInputIds.h"
#include "rtd/RtdIds.h"
#include "thermocouple/ThermocoupleIds.h"

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
    bool CMainFrame::*pChanged;
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
    {
        .cls = "CM6384P",
        .idd = IDD_M6384P,
        .caption = "Vekt-6384P",
        .sim = "6384P",
        .listed = "4384P",
        .pBlock = &CMainFrame::m_strAnalogInputParams,
        .pTypes = &CMainFrame::m_strChannelTypes6384P,
        .pChanged = &CMainFrame::m_bAnalogInputChanged,
        .channels = 8,
        .period = 500,
        .firstTimeout = 100,
        .types = {"07", "08", "09", "0A", "0B", "0C", "0D", "07"},
        .typeRows = {0, 1, 2, 3, 4, 5, 6, 0},
        .change = {3, 2, "09"},
        .asciiType = "FF",
        .modbusForm = "FF0604",
        .boxBehindPolling = false,
        .readsTypes = false,
        .clearsDescription = false,
        .row0Code = "07",
    },
    {
        .cls = "CM6386P",
        .idd = IDD_M6386P,
        .caption = "V-6386P ASCII",
        .sim = "6386P",
        .listed = "4386P",
        .pBlock = &CMainFrame::m_strThermocoupleInputParams,
        .pTypes = &CMainFrame::m_strChannelTypes6386P,
        .pChanged = &CMainFrame::m_bThermocoupleInputChanged,
        .channels = 8,
        .period = 500,
        .firstTimeout = 100,
        .types = {"06", "07", "0E", "0F", "10", "11", "12", "0e"},
        .typeRows = {0, 1, 2, 3, 4, 5, 6, -1},
        .change = {7, 8, "14"},
        .asciiType = "FF",
        .modbusForm = "FF0604",
        .boxBehindPolling = true,
        .readsTypes = false,
        .clearsDescription = false,
        .row0Code = "06",
    },
    {
        .cls = "CM6381p",
        .idd = IDD_M6381P,
        .caption = "V-6381",
        .sim = "6381",
        .listed = "4381",
        .pBlock = &CMainFrame::m_strUniversalInputParams,
        .pTypes = &CMainFrame::m_strChannelTypes6381,
        .pChanged = &CMainFrame::m_bUniversalInputChanged,
        .channels = 8,
        .period = 600,
        .firstTimeout = 100,
        .types = {"02", "03", "04", "05", "07", "08", "06", "0D"},
        .typeRows = {0, 1, 2, 3, 4, 5, -1, 7},
        .change = {6, 14, "14"},
        .asciiType = "00",
        .modbusForm = "FF0680",
        .boxBehindPolling = true,
        .readsTypes = false,
        .clearsDescription = false,
        .row0Code = "02",
    },
    {
        .cls = "CM6382p",
        .idd = IDD_M6382P,
        .caption = "4382A",
        .sim = "6382",
        .listed = "4382A",
        .pBlock = &CMainFrame::m_strSixChannelTempParams,
        .pTypes = &CMainFrame::m_strChannelTypes6382,
        .pChanged = &CMainFrame::m_bSixChannelTempChanged,
        .channels = 6,
        .period = 400,
        .firstTimeout = 200,
        .types = {"20", "21", "22", "2A", "2D", "30"},
        .typeRows = {0, 1, 2, 10, 13, -1},
        .change = {5, 10, "2A"},
        .asciiType = "FF",
        .modbusForm = "000604",
        .boxBehindPolling = true,
        .readsTypes = false,
        .clearsDescription = false,
        .row0Code = "20",
    },
    {
        .cls = "CM63828p",
        .idd = IDD_M63828P,
        .caption = "V-6382T",
        .sim = "6382T",
        .listed = "4382T",
        .pBlock = &CMainFrame::m_strSixChannelTempParams,
        .pTypes = &CMainFrame::m_strChannelTypes6382,
        .pChanged = &CMainFrame::m_bSixChannelTempChanged,
        .channels = 6,
        .period = 500,
        .firstTimeout = 100,
        .types = {"30", "31", "30", "31", "20", ""},
        .typeRows = {0, 1, 0, 1, -1, -1},
        .change = {2, 1, "31"},
        .asciiType = "FF",
        .modbusForm = "000604",
        .boxBehindPolling = true,
        .readsTypes = false,
        .clearsDescription = false,
        .row0Code = "30",
    },
    {
        .cls = "CM6307p",
        .idd = IDD_M6307P,
        .caption = "V-6307P",
        .sim = "6307A",
        .listed = "4307A",
        .pBlock = &CMainFrame::m_strRtdInputParams,
        .pTypes = nullptr,
        .pChanged = &CMainFrame::m_bRtdInputChanged,
        .channels = 6,
        .period = 200,
        .firstTimeout = 100,
        .types = {},
        .typeRows = {},
        .change = {5, 12, "2F"},
        .asciiType = "20",
        .modbusForm = "FF0604",
        .boxBehindPolling = true,
        .readsTypes = true,
        .clearsDescription = true,
        .row0Code = "20",
    },
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
