// The tick-and-exchange core of every polling dialog, the module dialogs and the Modbus rack's
// pages alike: the request the next tick sends and the one whose reply it reads, the operator's
// queue, and the one exchange per tick with the link, with the rule that says whether a reply
// answers the request it came to.
#pragma once

#include "Dialog.h"
#include "ModuleDescriptor.h"
#include "PollTimer.h"
#include "ReadingFields.h"

#include <array>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The answer to a write, by the one rule every write of every dialog is judged by.
enum class EWriteAnswer {
    Heard,    // ASCII: the module's own acknowledgement of the request; Modbus: the reply the
              // function documents (the echo of a single write) with a good CRC
    Refused,  // ASCII "?AA"; Modbus: the module's exception reply
    NotHeard, // silence, noise, a reply of another shape or address, a bad CRC or checksum
};

class CPollingDlg : public CDialog {
public:
    CPollingDlg(UINT nIDTemplate, ELinkKind eLink, UINT_PTR nTimerId = kPollTimer);

    void OnTimer(UINT_PTR nIDEvent) override;
    // One tick: read the reply to the previous request, then send the next one.
    virtual void PollStep() = 0;

    // The dialog's own steps: the request the next tick sends, and whose reply it reads.
    int m_nCommand = 0;
    int m_nLastCommand = 0;

protected:
    // Start-up reads: while they run, an operator's request waits in the queue (it neither
    // replaces the start-up request nor is lost).
    void BeginStartup() { m_bStartup = true; }
    void EndStartup() { m_bStartup = false; }
    bool InStartup() const { return m_bStartup; }
    // Handlers queue requests through this: a request queued by the operator is sent before any
    // request a reply reader or a sequence chose meanwhile. Requests wait in the order they were
    // asked for; asking again for one that waits moves it to the end.
    void QueueCommand(int nCommand);
    // A request that no later QueueCommand replaces (a configuration): only another pinned one
    // does, until it goes out or is dropped.
    void QueuePinnedCommand(int nCommand);
    bool QueuedCommandPinned() const { return m_bQueuePinned; }
    // The pinned request went out by another way than the queue.
    void UnpinQueuedCommand() { m_bQueuePinned = false; }
    // Called by PollStep just before it picks the request to send; true when the operator's
    // request took the place of what the reply readers chose. Never during the start-up reads.
    // Writes the module did not hear go back into the queue here once it has answered a poll.
    bool ApplyQueuedCommand();
    bool HasQueuedCommand() const { return !m_queue.empty(); }
    // The request that goes out first.
    std::optional<int> QueuedCommand() const;
    // Drops what is queued.
    virtual void DropQueuedCommand();

    // An operator's write to one control, by the command that sends it: it waits in the queue
    // like any request, and stays pending until the module hears or refuses it. A newer write to
    // the same control takes its place; writes to other controls keep theirs.
    void QueueWrite(int nCommand);
    // The answer to the write that went out as nCommand settles it: heard or refused, it is done;
    // not heard, it stays pending and goes out again once the module has answered a poll (once
    // per such answer), the polls going on meanwhile. Gives the answer back.
    EWriteAnswer SettleWrite(int nCommand, EWriteAnswer answer);
    // A write to this control waits to go out, awaits its answer or waits for the module to
    // answer a poll: its control keeps the operator's value.
    bool WritePending(int nCommand) const { return m_pendingWrites.contains(nCommand); }
    // The answer to the last ASCII write: heard when the dialog's reader of the acknowledgement
    // that request takes says so, refused on "?" and the address, else not heard.
    EWriteAnswer AsciiWriteAnswer(bool bAcknowledged) const;
    // The answer to the last Modbus write, the request text that went out.
    EWriteAnswer RtuWriteAnswer(const std::string& requestText) const;

    // lead + address + body with the checksum digits (when on) and the CR, as handlers prepare
    // requests; checksum defaults to m_bChecksum.
    std::string Request(char lead, const std::string& body) const;
    std::string Request(char lead, const std::string& body, bool checksum) const;
    // Sends a framed ASCII request (its CR is cut off) or a Modbus request text; true when a reply
    // came. An empty request sends nothing and counts as unanswered. A Modbus reply is
    // kept as hex text for TakeReply; a read whose reply neither answers it (slave, function, byte
    // count, CRC) nor is its exception reply counts as unanswered.
    bool SendAscii(const std::string& framed, WORD timeoutMs);
    bool SendRtu(const std::string& requestText, WORD timeoutMs);
    // First phase of a tick: takes the reply of the last exchange for ModbusDataText.
    void TakeReply();
    // The data bytes of a Modbus read reply as hex text (slave, function, count and CRC dropped).
    std::string ModbusDataText() const;

    // Whether the last ASCII reply, as the module sent it, answers a request with this lead: for
    // "!" and "?" the address (the one the module answers at unless given), then length characters,
    // then nothing but the module's checksum digits (where the line's checksum or the request has
    // them; SendAscii counts a reply whose digits are missing or wrong as none). A reply that does
    // not fit answers some other request: a missed exchange.
    bool ReplyFits(char lead, size_t length) const;
    bool ReplyFits(char lead, const std::string& address, size_t length) const;
    // What the last ASCII reply carries after its lead (and the address for "!" and "?"), without
    // checksum digits; nothing when it has another lead or address, or none came.
    std::optional<std::string> ReplyData(char lead) const;
    std::optional<std::string> ReplyData(char lead, const std::string& address) const;
    // The data of the last reply when it has the shape of the reply awaited; nothing for any
    // other reply.
    template <class Shape> std::optional<std::string> ReplyDataOf(char lead, Shape shape) const
    {
        std::optional<std::string> data = ReplyData(lead);
        if (data && !shape(*data)) return std::nullopt;
        return data;
    }
    // The data of a reply with this lead and exactly length characters after it.
    std::optional<std::string> FittingData(char lead, size_t length) const;
    // The one value a value reply carries after its lead: width characters of the sign rule's
    // shape; nothing for a reply of any other shape.
    std::optional<std::string> ReadingOfReply(char lead, size_t width, EReadingSign sign) const;
    // The two-digit code a channel's type or range read ("$AA8Cn") gives: "!AA", "C", the channel,
    // "R" and the code; nothing for a reply of another channel or shape.
    std::optional<std::string> ChannelCodeOfReply(int channel) const;
    // The readings of the last reply: its data after the lead, count readings of the form, each
    // of the width a dialog's format fixes where width is not 0 (ReadingsOfShape); nothing for a
    // reply of any other shape, a missed exchange.
    std::optional<std::vector<std::string>> ReadingsOfReply(char lead, int count, EReadingForm form,
                                                            size_t width = 0) const;
    // The last Modbus exchange brought the data it asked for: answered, and not an exception.
    bool RtuDataCame() const { return ModuleAnswered(ReplyCame() && !m_bRtuException); }
    // The last Modbus exchange brought the module's exception reply: its refusal.
    bool RtuRefused() const { return ReplyCame() && m_bRtuException; }
    // The last Modbus reply, whole, when it brought the data its read asked for.
    std::optional<std::vector<BYTE>> RtuReadReply() const;
    // The last ASCII reply itself (lead, address and data, without checksum digits) when it has
    // this lead (and, for "!" and "?", the address the module answers at): for a dialog that
    // shows the module's reply as it came, or reads it at places; nothing for any other reply.
    // Unlike the other readers it does not count as a poll answered.
    std::optional<std::string> ReplyOf(char lead) const;
    // "!" and the address, nothing more.
    bool Acknowledged() const { return ReplyFits('!', 0); }
    // The last reply is the module's own, to whatever request: ASCII ">" and data, or "!" or "?"
    // and the address it answers at; Modbus RTU a read's data or an exception reply (a write's
    // reply is judged by RtuWriteAnswer).
    bool ModuleReplied() const;
    // The last exchange brought back nothing at all: no noise, no reply cut short or spoilt. Only
    // a request after which the module answers at another protocol or address may take that for
    // its answer.
    bool NothingCame() const { return m_bNothingCame; }
    // The channels of an enable-mask reply "!AAVV" (two hex digits, CH4-CH7 first); nothing when
    // the reply is not one.
    std::optional<std::array<bool, 8>> MaskOfReply() const;

    UINT_PTR m_nTimerId = kPollTimer;
    int m_nPort = 0;
    bool m_bChecksum = false;
    std::string m_strAddress; // two upper-case hex digits

private:
    // The outcome of the last exchange.
    enum class EExchange {
        None,       // nothing sent yet
        Answered,   // a reply came (for a read: one that answers it, or its exception)
        Unanswered, // silence, a spoilt checksum, or a reply that answers no read
    };
    bool ReplyCame() const { return m_eExchange == EExchange::Answered; }

    ELinkKind m_eLink;
    EExchange m_eExchange = EExchange::None;
    char m_szReply[200] = {};
    std::string m_strReply; // the reply the tick took, "ERROR" when none came
    std::string m_strRtuReply;
    bool m_bRtuException = false; // the last Modbus reply was the module's exception reply
    bool m_bNothingCame = true;   // not one byte came back to the last request
    bool m_bReplyDigits = false;  // the reply to the last ASCII request ends in checksum digits
    bool m_bChecksumSeen = false; // the checksum has been in force at some request
    // Notes that a reader found the module's own reply (a poll answered); gives fits back.
    bool ModuleAnswered(bool fits) const
    {
        m_bModuleAnswered = m_bModuleAnswered || fits;
        return fits;
    }

    std::deque<int> m_queue;
    bool m_bQueuePinned = false;
    std::set<int> m_pendingWrites;
    // Writes the module did not hear, waiting for it to answer a poll.
    std::vector<int> m_heldWrites;
    mutable bool m_bModuleAnswered = false;
    bool m_bStartup = false;
};
