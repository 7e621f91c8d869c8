// The digital slot dialog for the 1327, 1371, 1323, 1328 and 1325 in a rack slot: lamps for the
// channels, an output switched by a click on its lamp, and the slot's watchdog output pattern.
#pragma once

#include "Lamps.h"
#include "RackDlg.h"
#include "RackSlots.h"
#include "SlotDio.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

class CV1327 : public CRackDlg {
public:
    // The steps of m_nCommand and m_nLastCommand.
    enum : int {
        kPoll = -1,
        kReadWdt = 1,
        kWriteWdt = 4,
        kReadDirections = 20,
        kSwitch0 = 0x100, // to kSwitch0 + 15: switch output 0 to 15, one control an output
    };

    explicit CV1327(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;

    void OnUpdata();
    template <int k> void OnTurnOnDo() { ToggleFlag(m_bTurnOnDo[k]); }
    template <int k> void OnTurnOnDoHigh() { ToggleFlag(m_bTurnOnDo[k + 8]); }

    void ParseStatusReply(const std::string& reply);
    void BuildWdtMask();
    void SetWdtFlags(const std::string& digits);

    std::string m_strModule;
    std::array<int, 16> m_bDoState{};
    int m_nDoCount = 0;
    int m_nClickedDo = 0;
    WORD m_nReportedOutputs = 0; // the outputs as the module last reported them
    WORD m_nIoConfig = 0;        // the 1323's directions: bit set = input
    std::string m_strWdtMask;
    std::vector<int> m_bTurnOnDo = std::vector<int>(16, 0);

    DECLARE_MESSAGE_MAP()

private:
    bool ReadReply(int step) override;
    std::string StepRequest() override;
    // The data of a direction or watchdog pattern reply, read at its first four places after "!AA"
    // whatever follows them; nothing for a reply that stops short of them.
    std::optional<std::string> PatternDigits() const;
    // An output lamp the operator may click: one the model drives now.
    bool Clickable(int channel) const;
    static bool IsSwitch(int step) { return step >= kSwitch0 && step < kSwitch0 + 16; }
    // The switch's answer: heard, the poll follows at once; refused, the output shows the
    // module's state again; not heard, it goes out again at the next sending tick.
    bool ReadSwitchReply(int step);

    const SDioSlotModel* m_pModel = nullptr;
    CLamps m_inputLamps;
    CLamps m_outputLamps;
};
