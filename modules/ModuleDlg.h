// What every module and rack dialog shares: it is built from a descriptor, reads its family's
// block, fills and reads back its settings boxes, opens the line itself (or borrows the rack's),
// makes one exchange per timer tick and writes a changed configuration back for the result list.
// Each dialog keeps only its own requests, readers, handlers and messages.
#pragma once

#include "MainFrm.h"
#include "ModuleCodes.h"
#include "ModuleDescriptor.h"
#include "PollingDlg.h"
#include "SettingRequest.h"

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

// Texts the module dialogs share.
inline constexpr const char* kOpenComError = "Open Com Error!";
inline constexpr const char* kAddressOutOfRange = "Address must be 0 to 255!";
inline constexpr const char* kConfigurationOk = "Setting Configuration OK!";
inline constexpr const char* kConfigurationError =
    "Setting Configuration Error! \r\n Please Connect Init* to GND!";
// A channel box clicked while the module's enable mask is still unknown: nothing is written.
inline constexpr const char* kMaskNotRead = "Channel mask not read yet!";

// What the settings boxes say once read back: each field is the row the operator chose, or the
// module's current code from the block where the list has no row chosen.
struct SSettingsChoice {
    int nAddress = 0;
    std::string strAddress; // two upper-case hex digits
    std::string strBaudCode;
    std::string strBaudText; // the row text that stands for the code
    bool bChecksumOn = false;
    std::string strCheckDigit; // the block's Check digit with bit 2 set or cleared
    std::string strChecksumText;
    std::string strRangeCode;
    std::optional<std::string> strRangeText;
    int nFormat = 0; // the Format digit's bits that the Data Format box shows
    std::string strFormatDigit;
    bool bModbus = false; // the Protocol box shows Modbus RTU
};

// How a dialog treats a typed address of 0 when the settings are read back.
struct SAddressZeroRule {
    bool bRefuse = false;
    const char* pszText = "重新设置时地址不能为0!";
    // An empty caption shows empty; null shows the application title.
    const char* pszCaption = "";
    bool bCloseAfter = false; // the dialog closes once the box is dismissed
    UINT nType = MB_ICONEXCLAMATION;
    // Only the typed text "0" is refused: "00" is an address like any other.
    bool bTextZeroOnly = false;
    // A typed text that is no number (which the module would take for 0) gets this box too.
    bool bCoversNonNumbers = false;
};
// The rule of the dialogs that refuse 0, and a text that is no number, with "地址不可设置为0" under
// the application's title.
inline constexpr SAddressZeroRule kAddressZeroNotAllowed = {.bRefuse = true,
                                                            .pszText = "地址不可设置为0",
                                                            .pszCaption = nullptr,
                                                            .nType = MB_OK,
                                                            .bCoversNonNumbers = true};

// What the Protocol box's Modbus RTU row sends: a configuration like any other, or the "$AAR1"
// switch, which carries no range or format code and so needs no row in those lists.
enum class EModbusRow { Configures, SwitchesByDollar };

// A list a request takes a code from, by the name a refusal gives it.
struct SNamedList {
    int nBox;
    const char* pszField;
};

// A chain of requests a dialog runs by itself (follow CH0, calibration steps, start-up update
// chains, trims). It goes on only while no operator request is queued, starts again from its first
// step on a new press, keeps its own request text, and knows whether a reply answers the step in
// hand rather than a step of an earlier run.
struct SSequence {
    bool bActive = false;
    int nStep = 0;
    std::string strRequest;

    void Start()
    {
        bActive = true;
        nStep = 0;
        ++m_nRun;
    }
    void Stop()
    {
        bActive = false;
        nStep = 0;
    }
    // The current step's request goes out now.
    void Sent()
    {
        m_nSentRun = m_nRun;
        m_nSentStep = nStep;
    }
    bool Answers() const { return bActive && m_nSentRun == m_nRun && m_nSentStep == nStep; }

private:
    int m_nRun = 0;
    int m_nSentRun = -1;
    int m_nSentStep = -1;
};

// When a configuration's write-back reaches the result list: as its request goes out, when the
// module acknowledges it, or never (a request that changes nothing the row shows).
enum class EWriteBack { AtSend, OnAcknowledge, None };

// How a Modbus RTU dialog writes a setting: a new slave address into register 0x0812, or the switch
// to ASCII into register 0x080D.
struct SRtuSettingForm {
    int nAsciiValue = 1; // what the model takes for ASCII in register 0x080D
    // The switch writes the row's entries but the address back as it goes out; else nothing.
    bool bSwitchWritesBack = true;
    // How the answer to each write is judged, and what its acceptance shows.
    ERtuVerdict eAddressVerdict = ERtuVerdict::EchoOrSilentMove;
    ERtuVerdict eSwitchVerdict = ERtuVerdict::EchoOrSilentMove;
    const char* pszAddressOk = kConfigurationOk;
    const char* pszSwitchOk = kConfigurationOk;
    // The verdict's box: its caption (null: the application title) and type, and whether polling
    // runs on behind it.
    const char* pszCaption = "Setting";
    UINT nBoxType = MB_ICONEXCLAMATION;
    bool bBoxBehindPolling = false;
};

class CEnableMask;

class CModuleDlg : public CPollingDlg {
public:
    // Write-back texts; an entry without a value leaves the row's text as it is.
    using Texts = std::vector<std::optional<std::string>>;

    // A configuration as the setting handler prepares it. Its request is framed for the module as
    // it is now (the address it answers to, the checksum in force); the new address and checksum
    // take effect only once the request goes out. A protocol switch keeps the current address.
    struct SConfiguration {
        std::string strRequest;
        std::string strNewAddress;
        bool bNewChecksum = false;
        Texts rowTexts;
        Texts params;
        EWriteBack eWriteBack = EWriteBack::AtSend;
    };

    explicit CModuleDlg(const SModuleDescriptor& descriptor);

    void OnTimer(UINT_PTR nIDEvent) override;
    void OnTimerEnded(UINT_PTR nIDEvent) override;
    // Closing (Cancel, Esc, the close box, or the end of a configuration): the timer stops, the
    // line closes (unless it is borrowed), g_bDialogClosed is set where the descriptor says so,
    // and the dialog ends. It runs once.
    void OnCancel() override;
    // The OK command (Enter with no default button) closes the same way: a dialog that ended with
    // its line open would keep the port from the next one.
    void OnOK() override { OnCancel(); }

protected:
    const SModuleDescriptor& Descriptor() const { return m_descriptor; }
    // The family's block in the frame.
    const ModuleParamBlock& Block() const;
    // An entry of the block by what it holds, wherever the family's layout keeps it.
    const std::string& Entry(ParamEntry entry) const;
    // The opening steps every dialog shares: the frame, the address (hex and decimal) and model
    // name from the block, the data exchange, and the decimal address in the Address box.
    void InitFromBlock();
    bool IsAddressZero() const { return m_strAddressDecimal == "0"; }
    // While the module's enable mask is missing, the "$AA6" that asks for it again, its reply due
    // as nLastCommand; empty once the module answered a read of it.
    std::string AsciiMaskReadAgain(const CEnableMask& mask, int nLastCommand);
    // Selects the rows of the settings boxes from the block; a code no row stands for selects none.
    // The checksum in force is the block's (off at address 0 when offAtAddressZero).
    void FillSettingsBoxes(bool offAtAddressZero = false);
    // The settings boxes read back: the typed address through the address check and the dialog's
    // address-0 rule, each list's row or the block's code. Nothing (after a message) when the
    // address is refused or a list with no row chosen has no code in the block to keep.
    std::optional<SSettingsChoice> ReadSettings(const SAddressZeroRule& zeroRule,
                                                EModbusRow modbusRow = EModbusRow::Configures);
    // The rule's box, then the close path when the rule closes the dialog.
    void RefuseAddressZero(const SAddressZeroRule& zeroRule);
    // A module at 00 takes no new baud rate: "重新设置时地址不能为0!" and true when the choice
    // asks for one.
    bool RefuseNewBaudAtZero(const SSettingsChoice& choice);
    // The write-back of a choice in the one order of the result list: row texts Module, Address,
    // Baudrate, Checksum, Description; parameters Address, Brate, Check, Script, Format. Dialogs
    // adjust single entries before passing them to WriteBack.
    Texts RowTextsOf(const SSettingsChoice& choice) const;
    // Entries of RowTextsOf by what they hold.
    enum : size_t { kModuleText, kAddressText, kBaudText, kChecksumText, kDescriptionText };
    Texts ParamsOf(const SSettingsChoice& choice) const;
    // The "%" request's fields for a choice, from the address the module answers to now.
    SConfigurationFields ConfigurationFieldsOf(const SSettingsChoice& choice) const;
    // A setting's configuration, framed with the checksum in force: the "%" request, or the "$"
    // switch to Modbus RTU, which tells the module nothing of the other settings, so the row keeps
    // them and the polls stay on the address it answers to now.
    SConfiguration SettingOfChoice(const SSettingsChoice& choice, bool bDollarSwitch) const;
    // The "%" request of these fields (ConfigurationFieldsOf the choice, with what a dialog's own
    // request carries in some of their places), framed with the checksum in force, and the
    // choice's write-back.
    SConfiguration SettingOfFields(const SSettingsChoice& choice,
                                   const SConfigurationFields& fields) const;
    // A setting handler's Modbus RTU write, sent to slave (the address the module answers to now,
    // as the dialog spells it): newAddress into register 0x0812, after which the polls go there
    // and the row takes rowTexts and params as the write goes out; or, when bToAscii, the switch
    // to ASCII, which leaves the module, the polls and the row at the address it answers to now.
    SConfiguration RtuSettingOf(const SRtuSettingForm& form, const std::string& slave,
                                bool bToAscii, const std::string& newAddress, Texts rowTexts,
                                Texts params) const;
    // The verdict on the answer to a Modbus setting write (its request text), by the form's rule
    // for that write, and what the verdict shows: the form's text for it or kConfigurationError.
    bool RtuSettingAccepted(const SRtuSettingForm& form, const std::string& request) const;
    static const char* RtuSettingText(const SRtuSettingForm& form, const std::string& request,
                                      bool bAccepted);
    // The end of a Modbus setting, from the tick that has the answer to its write (request text):
    // the verdict, the write-back that follows it, the form's box, and the dialog closes. An
    // answered poll that followed the write (bLaterPollAnswered) takes it too.
    void EndRtuSetting(const SRtuSettingForm& form, const std::string& request,
                       bool bLaterPollAnswered = false);
    // For a dialog whose range list depends on the model: the box and codes that
    // FillSettingsBoxes and ReadSettings use from now on.
    void UseRangeBox(int nBox, const CodeTable* pCodes);
    // The row the Baudrate box stands for, as the rate to open the line at (0: none).
    // A code none of the rows stands for gives fallback (0: no rate, which the link refuses).
    DWORD BlockBaudRate(DWORD fallback = 0) const;

    // Opens the line at baud with the frame's port and parity; "Open Com Error!" when it fails.
    bool OpenAsciiLine(DWORD baud);
    bool OpenRtuLine(DWORD baud, int parity);
    void CloseLine();
    bool LineOpen() const { return m_bLineOpen; }

    // Drops what is queued; a queued configuration goes whole, nothing of it written back.
    void DropQueuedCommand() override;
    // The setting handler queues its configuration as nCommand. No later operator request takes
    // its place; a later configuration does.
    void QueueConfiguration(int nCommand, SConfiguration configuration);
    // PollStep sends the configuration: its request (kept in m_strConfigRequest, to judge an echo
    // by), after which the polls go to the new address with the new checksum and a write-back at
    // send reaches the row. On a line that never opened nothing goes out, so nothing changes.
    std::string ConfigurationGoesOut();
    // The module's answer to the configuration: an acknowledgement writes back what waits for it;
    // a refusal takes a write-back at send back, so the row keeps the module's values; a
    // configuration not heard (silence, noise, a spoilt reply) leaves the write-back as it is.
    // The module refused when its last reply is its refusal (ConfigurationRefused), or as given.
    void ConfigurationAnswered(bool bAccepted);
    void ConfigurationAnswered(bool bAccepted, bool bRefused);
    // The last reply is the module's refusal of the configuration that went out: "?" and the
    // address the request went to, or the exception reply to the Modbus write.
    bool ConfigurationRefused() const;
    // A sequence takes its next step only when the operator has nothing queued.
    bool SequenceMayContinue(const SSequence& sequence) const
    {
        return sequence.bActive && !HasQueuedCommand() && !InStartup();
    }

    // The module's acknowledgement of the setting: "!" and m_strSettingAckAddress, nothing more.
    bool SettingAcknowledged() const { return ReplyFits('!', m_strSettingAckAddress, 0); }

    // "FOLLOW CH0" copies CH0's type and starts only with CH0 in the CH Number box; on any other
    // text it shows "Select the CH0!" and gives false.
    bool FollowStartsAtCh0(int nChannelBox);
    // The text of the row a list box has selected; nothing when it has none.
    std::optional<std::string> SelectedText(int nListBox) const;
    // True when every list has a row chosen; else "Choose the <field>!" names the first that has
    // none.
    bool ListsChosen(std::initializer_list<SNamedList> lists);
    // "Choose the <field>!".
    void RefuseUnchosen(const char* pszField);

    // Option A (in the setting handler) or B (on the module's "!"): the new texts for the result
    // row (entries from 0, as many as given; an entry without a value keeps the row's text) and
    // the family's flag (none: null).
    void WriteBack(const Texts& rowTexts, const Texts& params, bool CMainFrame::*flag);
    // The same with the descriptor's flag.
    void WriteBack(const Texts& rowTexts, const Texts& params);

    // A message box shown from a tick: the timer stops first, so no tick runs under the box.
    int TickMessageBox(const std::string& text, const char* caption, UINT nType);
    // A message box asked for by a tick of a dialog that keeps polling behind it: the tick ends,
    // the box shows with the timer running (its ticks run, never inside another), then `after`
    // runs once (the close path, for example).
    void BoxBehindPolling(const std::string& text, const char* caption, UINT nType,
                          std::function<void()> after = {});
    // The same for a tick whose step machine must stand still until the box is dismissed (the
    // step that follows is chosen in `after`): the timer runs on, but its ticks are held.
    void BoxHoldingTicks(const std::string& text, const char* caption, UINT nType,
                         std::function<void()> after);
    bool BoxPending() const { return m_pendingBox.has_value(); }
    bool BoxHoldsTicks() const { return m_pendingBox && m_pendingBox->bHoldTicks; }
    // The configuration reply: "Setting Configuration OK!" or the Init* text, caption "Setting".
    void ShowConfigurationResult(bool bAccepted);
    // The same with a third outcome, a switch to Modbus RTU that went out unrefused: its text.
    void ShowSettingOutcome(ESettingOutcome outcome, const char* modbusOkText);

    CMainFrame* m_pMainFrame = nullptr;
    bool m_bOpenChecksum = false;
    std::string m_strAddressDecimal; // what the Address box shows
    std::string m_strOldAddress;     // the address the module answers to now
    std::string m_strModuleName;
    std::string m_strConfigRequest;
    // The address the module's acknowledgement of the setting carries: the new one for a "%"
    // request, the one it answers at now for the "$" switch. Set as the configuration goes out.
    std::string m_strSettingAckAddress;

private:
    struct SPendingBox {
        std::string strText;
        std::optional<std::string> strCaption; // none: the application title
        UINT nType = 0;
        std::function<void()> after;
        bool bHoldTicks = false;
    };
    // The code a list's row stands for, or the block's code when no row is chosen; nothing after
    // "Choose ...!" when neither gives one.
    std::optional<std::string> ChosenCode(int nBox, const CodeTable& codes,
                                          const std::string& blockCode, const char* pszField,
                                          bool bNeeded = true);
    // The typed address (decimal, or one or two hex digits where the box is hex) as a number 0 to
    // 255. Nothing after a box: the zero rule's for a text that is no number where the rule covers
    // it, else "Address must be 0 to 255!".
    std::optional<int> ReadTypedAddress(int nAddressBox, const SAddressZeroRule& zeroRule);
    std::string RowText(int nBox, int row) const;
    std::string BlockFormatCode() const;
    bool BlockChecksumOn() const;
    const CodeTable& RangeCodes() const;
    const CodeTable& FormatCodes() const;

    SModuleDescriptor m_descriptor;
    std::optional<SConfiguration> m_configuration;
    // The write-back a refusal takes back: the texts and flag as they were before it.
    struct SWrittenBack {
        RowTexts rowTexts;
        ModuleParamBlock params;
        bool bFlag = false;
    };
    std::optional<SWrittenBack> m_writtenBack;
    bool m_bLineOpen = false;
    std::optional<SPendingBox> m_pendingBox;
    bool m_bClosed = false;
    bool m_bTicksHeld = false;
};

// Message-map entries of eight channel boxes: handler<k> runs for the box ids[k].
#define ON_CHANNEL_BOXES(ids, handler)                                                             \
    ON_BN_CLICKED(ids[0], handler<0>)                                                              \
    ON_BN_CLICKED(ids[1], handler<1>)                                                              \
    ON_BN_CLICKED(ids[2], handler<2>)                                                              \
    ON_BN_CLICKED(ids[3], handler<3>)                                                              \
    ON_BN_CLICKED(ids[4], handler<4>)                                                              \
    ON_BN_CLICKED(ids[5], handler<5>)                                                              \
    ON_BN_CLICKED(ids[6], handler<6>)                                                              \
    ON_BN_CLICKED(ids[7], handler<7>)
