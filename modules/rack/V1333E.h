// The rack main unit's dialog in ASCII mode: it owns the line, reads the slot table and the unit's
// settings in a six-tick opening sequence, writes the configuration and the communication
// watchdog, and opens the dialog of a slot's module on a double click.
#pragma once

#include "RackDlg.h"
#include "RackSlots.h"

#include <vector>

class CV1333E : public CRackDlg {
public:
    // The steps of m_nCommand and m_nLastCommand.
    enum : int {
        kReadSlots = 1,
        kReadConfiguration = 8,
        kReadParity = 9,
        kReadWdtTimeout = 10,
        kReadWdtEnables = 11,
        kIdle = 12,
        kWriteParity = 13,
        kWriteConfiguration = 14,
        kWriteWdtTimeout = 15,
        kWriteWdtEnables = 16,
    };

    explicit CV1333E(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    void OnUpdate();
    void OnRefresh();
    template <int k> void OnEnableSlotWdt() { ToggleFlag(m_bSlotWdt[k]); }
    void OnDblclkSlotList();

    void FillSlotList(const std::string& reply);
    void BuildWdtMask();
    void SetWdtFlags(char low, char high);

    std::string m_strConfigCommand;
    std::string m_strWdtEnableMask;
    std::vector<int> m_bSlotWdt = std::vector<int>(8, 0);

    DECLARE_MESSAGE_MAP()

private:
    bool ReadReply(int step) override;
    std::string StepRequest() override;
    void EnableConfiguration(bool enable);
    void EnableWatchdog(bool enable);
    void RunSlotDialog(ESlotKind kind, const std::string& module, const std::string& slot);
};
