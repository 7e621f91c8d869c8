// The ASCII dialog of a module with one input type per channel. It reads the enable mask (again
// between the polls until the module answers it) or each channel's type, one a tick, polls the
// readings with #AA, writes the enable mask ($AA5VV) and one channel's type ($AA7CiRrr) at a time,
// and sends the general setting as one "%" command, after which it closes. A dialog class is its
// setup: template, family's block, type list and flag, type codes, channel count, the words of its
// setting and its timing.
#pragma once

#include "PerChannelTypes.h"
#include "SettingRequest.h"

// How a dialog words the general setting: "%" + old address + new address + type + baud code +
// checksum and format digits, or the switch to Modbus RTU, sent to address 00.
struct SConfigForm {
    const char* pszType = "FF";
    SModbusSwitchForm modbus = {false, "FF", "04"};
    // A module answering at 00 over ASCII gets this type and these format digits instead (none:
    // the usual form).
    const char* pszInitType = nullptr;
    const char* pszInitFormat = nullptr;
};

// How the dialog learns its channels at the start: the enable mask ("$AA6", only enabled channels
// show readings), or each channel's type, one "$AA8Ci" a tick (every channel shows its reading).
enum class EChannelStart { EnableMask, TypeRead };

struct SPerChannelAsciiSetup {
    UINT nTemplate;
    ModuleParamBlock CMainFrame::*pBlock;
    // The codes the search read, one per channel; an acknowledged change is stored back. Null
    // when the dialog reads the types itself.
    ChannelTypeList CMainFrame::*pTypes;
    // Raised when the module acknowledges the general setting.
    bool CMainFrame::*pChanged;
    CodeTable typeCodes; // by row of the type lists
    SChannelRows rows;
    SConfigForm config = {};
    UINT nPeriod = 500;
    WORD nFirstTimeout = 100;
    EChannelStart eStart = EChannelStart::EnableMask;
    // The Format digit "4" to "7" shows Modbus RTU in the Protocol list and bits 0 and 1 in the
    // Data Format list; otherwise the Protocol list starts on ASCII and only "0" to "3" have a row.
    bool bFormatSelectsProtocol = true;
    // At address 0 (INIT) the line runs without checksum digits, and at this rate when one is
    // given (0: the block's).
    bool bChecksumOffAtZero = true;
    DWORD dwBaudAtZero = 0;
    // The Protocol list can be used at any address, not only at 0.
    bool bProtocolAlwaysEnabled = false;
    // The outcome box of the general setting shows while the timer polls on behind it (else the
    // timer stops first); the flag goes up once the box is dismissed.
    bool bBoxBehindPolling = false;
    // The write-back empties the row's description.
    bool bClearsDescription = false;
};

class CPerChannelAsciiDlg : public CPerChannelTypeDlg {
public:
    BOOL OnInitDialog() override;
    void PollStep() override;

    void OnUpdate();
    void OnRefresh();

    DECLARE_MESSAGE_MAP()

protected:
    explicit CPerChannelAsciiDlg(const SPerChannelAsciiSetup& setup);

private:
    enum : int { kCmdConfigure = 3, kCmdReadTypes = 5 };
    // m_nLastCommand: whose reply the next step checks.
    enum : int {
        kNothing = 0,
        kMaskWritten = 1,
        kTypeWritten = 2,
        kConfigured = 3,
        kMaskRead = 4,
        kTypeRead = 5
    };

    // False when the reply closed the dialog.
    bool ReplyLetsTickGoOn();
    void StoreTypeRead();
    void ShowConfigurationOutcome(bool ack);
    std::string NextRequest();
    void ShowReadings();
    // The configuration of a choice: the "%" request with the form's type, or the form's switch to
    // Modbus RTU.
    SConfiguration ConfigurationOf(const SSettingsChoice& choice) const;
    bool ReadsTypes() const { return m_setup.eStart == EChannelStart::TypeRead; }
    // The start and "&Refresh": read the types again (from where a read was left), or poll.
    int RefreshCommand() const;

    SPerChannelAsciiSetup m_setup;
    // The types read from the module, and the channel the next type read asks for.
    std::array<std::string, 8> m_strTypesRead;
    int m_nTypeReadChannel = 0;
};
