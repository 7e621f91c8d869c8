// What the two slot pages of the Modbus rack window share: one exchange per tick with the rack
// main unit over the line the window holds open, and ticks that work only while the selected
// slot's module is one the page serves.
#pragma once

#include "MainFrm.h"
#include "PollingDlg.h"

#include <string>

class CRackPage : public CPollingDlg {
public:
    explicit CRackPage(UINT nIDTemplate) : CPollingDlg(nIDTemplate, ELinkKind::Rtu) {}

    // Works only while the selected slot holds a module this page serves.
    void OnTimer(UINT_PTR nIDEvent) override;

    // The request that stands for none; each page numbers its requests from 1.
    enum : int { kCmdNone = 0 };

protected:
    virtual bool Serves(const std::string& module) const = 0;
    // The frame, the main unit's address and the port, the first request and the timer.
    void InitPage(UINT nPeriodMs, int nFirstCommand);
    // Sends m_strAddress + body; the reply waits for the next tick's TakeReply.
    void Exchange(const std::string& body);
    // Sends the write of an operator's control, m_strAddress + body, and keeps it for its answer.
    void ExchangeWrite(const std::string& body);
    // The answer to the write ExchangeWrite sent last.
    EWriteAnswer WriteAnswer() const { return RtuWriteAnswer(m_strWriteRequest); }
    // Picks the operator's next write, unless the last request was a write: a read of the module
    // follows every write.
    void ApplyWriteAfterRead(bool bLastWasWrite);
    // The data of the last read reply, or "ERROR" when it brought none (silence, a reply that does
    // not answer the read, or the module's refusal).
    std::string LastReplyDigits() const;

    CMainFrame* m_pMainFrame = nullptr;

private:
    std::string m_strWriteRequest;
};
