// The rack main unit found over Modbus RTU: a tab window with a main page and one page per kind of
// slot module. It opens the line, reads the slot table until the unit answers the read, and leaves
// the bus to its pages.
#pragma once

#include "MainFrm.h"
#include "PollingDlg.h"
#include "RackModbusTables.h"
#include "TabChange.h"

class CV1333M : public CPollingDlg {
public:
    explicit CV1333M(CWnd* pParent = nullptr);
    ~CV1333M() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // A tick shows the selected slot and, once, the slot table the window read; while the unit has
    // not answered the read, it asks again.
    void PollStep() override { RefreshSlotInfo(); }
    // Cancel and the close box: the timer stops and the line closes.
    void OnCancel() override;
    // The OK command (Enter) closes the same way, so the line is free for the next dialog.
    void OnOK() override { OnCancel(); }
    void OnDestroy() override;

    void RefreshSlotInfo();
    void ParseSlotTypes(const std::string& digits);
    void ParseSlotAddresses(const std::string& digits);

    CMainFrame* m_pMainFrame = nullptr;
    std::string m_strData;
    // Closing passes it to the close: no port until the line has opened.
    using CPollingDlg::m_nPort;
    bool m_bTablePending = false;
    SlotTexts m_strSlotCode;
    CTabChange m_tab;
    std::string m_strModule;
    std::string m_strFirmware;
    std::string m_strSlotNumber;
    std::string m_strEndAddress;
    std::string m_strStartAddress;

private:
    void ReadSlotTable();
    // The slot table read got no answer (silence, or a reply that does not answer it).
    bool m_bTableDue = false;
    void ShowSlotView(bool bSlot);
};

inline constexpr const char* kRackModuleName = "Vekt-1333E";
inline constexpr const char* kInitializeError = "Initialize Error!";
