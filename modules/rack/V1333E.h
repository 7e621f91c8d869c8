// The rack main unit's dialog in ASCII mode: it owns the line, reads the slot table and the unit's
// settings in a six-tick opening sequence, writes the configuration and the communication
// watchdog, and opens the dialog of a slot's module on a double click.
#pragma once

#include "RackDlg.h"
#include "RackSlots.h"

#include <optional>
#include <string>
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
    // The two characters the "Modbus Only:" list is read by, of a reply to "$AAOU" (">AA", then
    // the parity code, whose last two characters are read); nothing for a reply that is none.
    std::optional<std::string> ParityOfReply() const;
    // An opening read's reply has been read: whether it fitted; then the next read, unless the
    // operator has chosen a step since the sequence ran.
    void OpeningReadDone(int step, bool fits);
    // The read after step that is due: every read the first time through, afterwards each read
    // that got no reply fitting it (neither its answer nor the unit's refusal), round and round;
    // idle once none is.
    int NextOpeningRead(int step) const;
    bool Failed(int step) const;
    void EnableConfiguration(bool enable);
    // The watchdog controls stay disabled while their read has failed.
    void EnableWatchdog();
    void RunSlotDialog(ESlotKind kind, const std::string& module, const std::string& slot);

    // The opening reads (bit = position in the sequence) whose last reply did not fit, and those of
    // them that got no reply of the unit at all (silence, or a reply to something else).
    unsigned m_nFailedReads = 0;
    unsigned m_nMissedReads = 0;
    bool m_bSequenceRun = false;
    // Whether the parity write before the configuration was answered: after silence, the
    // configuration's "!AA" may be that write's reply coming late.
    bool m_bParityAnswered = false;
};
