// A digital I/O dialog against simulated digital I/O modules on COM1.
#pragma once

#include "ModuleFixture.h"
#include "Resource.h"
#include "SimDigitalIo.h"
#include "digital_io/DigitalIoIds.h"
#include "digital_io/DioModel.h"

#include <deque>
#include <string>
#include <vector>

class CDioFixture : public CModuleFixture {
protected:
    ~CDioFixture() override { m_link.Attach(1, m_bus); }
    // A bus of its own that becomes COM1, for the cases of a table, and a module on it.
    CSimBus& FreshBus()
    {
        CSimBus& bus = m_buses.emplace_back();
        m_link.Attach(1, bus);
        return bus;
    }
    CSimDigitalIo& FreshModule(const char* model, ESimProtocol protocol = ESimProtocol::Ascii,
                               int address = 1)
    {
        return dynamic_cast<CSimDigitalIo&>(FreshBus().Add(model, address, 9600, protocol));
    }
    CSimDigitalIo& AddModule(const char* model, int address,
                             ESimProtocol protocol = ESimProtocol::Ascii, DWORD baud = 9600)
    {
        return dynamic_cast<CSimDigitalIo&>(m_bus.Add(model, address, baud, protocol));
    }
    static void SetInputs(CSimDigitalIo& module, WORD inputs)
    {
        for (int k = 0; k < 16; ++k) module.SetDigitalInput(k, (inputs >> k) & 1);
    }
    // Address, Brate, Check, Script, Format, Module, as the dispatch fills the block.
    void Block(const char* address, const char* model, const char* check = "0",
               const char* brate = "06")
    {
        m_frame.m_strDioParams = {address, brate, check, "40", "0", model};
    }
    static HICON DiLamp(CDialog& dlg, int ch) { return Icon(dlg, DioChannelControls[ch].nDiLamp); }
    static HICON DoLamp(CDialog& dlg, int ch) { return Icon(dlg, DioChannelControls[ch].nDoLamp); }
    static HICON Icon(CDialog& dlg, int id) { return dlg.GetDlgItemAs<CStatic>(id)->GetIcon(); }
    // The sixteen lamps of a kind, channel 0 first: R red, W white, G grey.
    static std::string Lamps(CDialog& dlg, bool outputs)
    {
        std::string text;
        for (int ch = 0; ch < 16; ++ch) {
            HICON icon = outputs ? DoLamp(dlg, ch) : DiLamp(dlg, ch);
            text += icon == IDI_LAMP_ON ? 'R' : icon == IDI_LAMP_OFF ? 'W' : 'G';
        }
        return text;
    }
    static void ClickDoLamp(CDialog& dlg, int ch)
    {
        ui::ClickAt(dlg, ui::CentreOf(dlg, DioChannelControls[ch].nDoLamp));
    }
    static std::vector<bool> ClearButtonsEnabled(CDialog& dlg)
    {
        std::vector<bool> enabled;
        for (const SDioChannelControls& c : DioChannelControls)
            enabled.push_back(dlg.GetDlgItem(c.nClear)->IsWindowEnabled());
        return enabled;
    }

    std::deque<CSimBus> m_buses;
};
