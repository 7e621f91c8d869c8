// A test's world for the Modbus rack window: a simulated rack main unit at address 01 on COM1 at
// 9600 baud, the rack's block in the frame, and the window with its pages.
#pragma once

#include "ModuleFixture.h"
#include "RtuFrame.h"
#include "SimRackModbus.h"
#include "rack/RackModbusIds.h"
#include "rack/RackState.h"
#include "rack/V1333M.h"
#include "rack/V1333Main.h"
#include "rack/V1333RTUIO.h"
#include "rack/V1384HM.h"

#include <initializer_list>

class CRackFixture : public CModuleFixture {
protected:
    struct SSlotSpec {
        int nSlot;
        BYTE nCode;
        WORD nStart;
        WORD nEnd;
    };

    CRackFixture()
        : m_rack(static_cast<CSimRackModbus&>(m_bus.Add("233E", 1, 9600, ESimProtocol::Rtu)))
    {
        m_frame.m_strRackParams = {"01", "06", "0", "", "", "1333E", "RTU"};
    }

    // Every slot empty but those given.
    void Populate(std::initializer_list<SSlotSpec> specs)
    {
        for (int s = 0; s < CSimRackModbus::kSlots; ++s) m_rack.SetSlot(s, kSimSlotEmpty, 0, 0);
        for (const SSlotSpec& slot : specs)
            m_rack.SetSlot(slot.nSlot, slot.nCode, slot.nStart, slot.nEnd);
    }
    // Opens the window and lets its first tick read the table's answer.
    void Open()
    {
        m_dlg.Create(IDD_V1333M);
        Tick(m_dlg);
        TakeRequests();
    }
    bool SelectTab(int tab) { return ui::SelectTab(m_dlg, IDC_RACK_TAB, tab); }
    // Fires a page's timer n times; the requests it put on the wire.
    std::vector<std::string> TickPage(CDialog* page, int n = 1)
    {
        TakeRequests();
        if (page) Tick(*page, n);
        return TakeRequests();
    }
    CV1384HM* Analog() { return m_dlg.m_tab.m_pAnalogPage.get(); }
    CV1333RTUIO* Digital() { return m_dlg.m_tab.m_pDigitalPage.get(); }
    CV1333Main* MainPage() { return m_dlg.m_tab.m_pMainPage.get(); }

    CSimRackModbus& m_rack;
    CV1333M m_dlg;
};
