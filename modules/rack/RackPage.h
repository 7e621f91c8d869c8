// What the two slot pages of the Modbus rack window share: one exchange per tick with the rack
// main unit over the line the window holds open, and ticks that work only while the selected
// slot's module is one the page serves.
#pragma once

#include "Dialog.h"
#include "MainFrm.h"
#include "PollTimer.h"

#include <deque>
#include <string>

// One Modbus exchange on the rack's line: the request text (address included) with its CRC, and
// the reply as hex text with blanks (empty when none came). True only for a reply that answers
// the request; an exception reply or a reply of another size counts as none.
bool RackExchange(int port, const std::string& requestText, std::string& replyText);

class CRackPage : public CDialog {
public:
    explicit CRackPage(UINT nIDTemplate) : CDialog(nIDTemplate) {}

    // Works only while the selected slot holds a module this page serves.
    void OnTimer(UINT_PTR nIDEvent) override;
    // One tick: read the reply to the previous request, then send the next one.
    virtual void PollStep() = 0;

    // The request that stands for none; each page numbers its requests from 1.
    enum : int { kCmdNone = 0 };

    int m_nCommand = kCmdNone;     // the request the next tick sends
    int m_nLastCommand = kCmdNone; // what the pending reply answers
    int m_nLastResult = 0;         // 1 when the last exchange was answered, -1 when not
    // Writes the operator pressed, oldest first. Each body is built with the slot shown at the
    // press, so a tab change before it goes out cannot send it to another module.
    std::deque<std::string> m_queWrites;

protected:
    virtual bool Serves(const std::string& module) const = 0;
    // The frame, the main unit's address and the port, the first request and the timer.
    void InitPage(UINT nPeriodMs, int nFirstCommand);
    // Sends m_strAddress + body; keeps the reply in m_strRespond and the outcome in m_nLastResult.
    void Exchange(const std::string& body);
    // The last reply's digits without address, function and byte count, or "ERROR".
    std::string LastReplyDigits() const;
    // Whether anything came back to the last request: an answer, or a refusal.
    bool Replied() const { return !m_strRespond.empty(); }

    CMainFrame* m_pMainFrame = nullptr;
    UINT_PTR m_nTimerId = kPollTimer;
    std::string m_strAddress;
    int m_nPort = 0;
    std::string m_strRespond;
};
