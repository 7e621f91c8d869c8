// What every module and rack dialog shares: it reads its family's block, opens the line itself,
// makes one exchange per timer tick and writes a changed configuration back for the result list.
// Each dialog keeps its own OnInitDialog, PollStep readers and requests, and handlers.
#pragma once

#include "Dialog.h"
#include "MainFrm.h"
#include "ModuleCodes.h"

#include <optional>
#include <string>
#include <vector>

enum class ELinkKind { Ascii, Rtu };

class CModuleDlg : public CDialog {
public:
    // Write-back texts; an entry without a value leaves the row's text as it is.
    using Texts = std::vector<std::optional<std::string>>;

    CModuleDlg(UINT nIDTemplate, ModuleParamBlock CMainFrame::*block, ELinkKind link);

    void OnTimer(UINT_PTR nIDEvent) override;
    // Closing (Cancel, Esc, the close box, or the end of a configuration): the timer stops, the
    // line closes and the dialog ends.
    void OnCancel() override;
    // One tick: read the reply to the previous request, then send the next one.
    virtual void PollStep() = 0;

    int m_nCommand = 0;     // the request the next tick sends
    int m_nLastCommand = 0; // what the request last sent was; 100 marks a configuration write
    int m_nLastResult = 0;  // 1 when the last exchange brought a reply, -1 when not
    std::string m_strReply;

protected:
    // The family's block in the frame.
    const ModuleParamBlock& Block() const;
    // The opening steps every dialog shares: the frame, the address (hex and decimal) and model
    // name from the block, the data exchange, and the decimal address in the Address box.
    void InitFromBlock(int nAddressBox);
    // Opens the line at baud with the frame's port and parity; "Open Com Error!" when it fails.
    bool OpenAsciiLine(DWORD baud);
    bool OpenRtuLine(DWORD baud, int parity);
    void CloseLine();

    // Handlers queue requests through this: a request queued by the operator is sent before any
    // request a reply reader chose meanwhile (the last one queued wins).
    void QueueCommand(int nCommand);
    // Called by PollStep just before it picks the request to send; true when the operator's
    // request took the place of what the reply readers chose.
    bool ApplyQueuedCommand();
    bool HasQueuedCommand() const { return m_nQueuedCommand.has_value(); }

    // lead + address + body with the checksum digits (when on) and the CR, as handlers prepare
    // requests; checksum defaults to m_bChecksum.
    std::string Request(char lead, const std::string& body) const;
    std::string Request(char lead, const std::string& body, bool checksum) const;
    // Sends a framed ASCII request (its CR is cut off) or a Modbus request text; sets
    // m_nLastResult. A Modbus reply is kept as hex text for TakeReply.
    bool SendAscii(const std::string& framed, WORD timeoutMs);
    bool SendRtu(const std::string& requestText, WORD timeoutMs);
    // First phase of a tick: m_strReply from the last exchange, "ERROR" when it failed. ASCII
    // replies lose the module's checksum digits when the checksum is on.
    void TakeReply();
    // The data bytes of a Modbus read reply as hex text (slave, function, count and CRC dropped);
    // empty when the reply is too short to hold any.
    std::string ModbusDataText() const;
    // True when m_strReply is a Modbus exception reply (its function code has bit 7 set).
    bool IsModbusException() const;

    // The text of the row a list box has selected; nothing when it has none.
    std::optional<std::string> SelectedText(int nListBox) const;
    // The typed address as a number 0 to 255, or nothing after "Address must be 0 to 255!".
    std::optional<int> ReadTypedAddress(int nAddressBox);
    // "重新设置时地址不能为0!", the refusal of address 0 where a dialog refuses it.
    void RefuseAddressZero();

    // Option A (in the setting handler) or B (on the module's "!"): the new texts for the result
    // row (entries from 0, as many as given; an entry without a value keeps the row's text) and
    // the family's flag (none: null).
    void WriteBack(const Texts& rowTexts, const Texts& params, int CMainFrame::*flag);

    // A message box shown from a tick: the timer stops first, so no tick runs under the box.
    int TickMessageBox(const std::string& text, const char* caption, UINT nType);
    // The configuration reply: "Setting Configuration OK!" or the Init* text, caption "Setting".
    void ShowConfigurationResult(bool bAccepted);

    CMainFrame* m_pMainFrame = nullptr;
    UINT_PTR m_nTimerId = 1000;
    char m_szReply[200] = {};
    int m_nPort = 0;
    int m_bChecksum = 0;
    int m_bOpenChecksum = 0;
    std::string m_strAddress;        // two upper-case hex digits
    std::string m_strAddressDecimal; // what the Address box shows
    std::string m_strOldAddress;     // the address the module answers to now
    std::string m_strModuleName;
    std::string m_strConfigRequest;

private:
    ModuleParamBlock CMainFrame::*m_pBlock;
    ELinkKind m_eLink;
    std::string m_strRtuReply;
    std::optional<int> m_nQueuedCommand;
};

// Texts the module dialogs share.
inline constexpr const char* kOpenComError = "Open Com Error!";
inline constexpr const char* kAddressZeroRefused = "重新设置时地址不能为0!";
inline constexpr const char* kAddressOutOfRange = "Address must be 0 to 255!";
inline constexpr const char* kConfigurationOk = "Setting Configuration OK!";
inline constexpr const char* kConfigurationError =
    "Setting Configuration Error! \r\n Please Connect Init* to GND!";

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
