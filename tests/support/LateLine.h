// A module that answers just after the time-out: while the line is late, each ASCII request is
// answered by the reply to the one before it (the first by nothing), as a real line delivers a
// reply that came too late to the next read. It sits between the program and the simulated link.
#pragma once

#include "LinkTable.h"
#include "SimLink.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

class CLateLine {
public:
    CLateLine() : m_table(CSimLink::Table()), m_pPrevious(&Link())
    {
        m_table.Send_Receive_Ascii = &SendReceive;
        s_pLine = this;
        SetLink(&m_table);
    }
    ~CLateLine()
    {
        SetLink(m_pPrevious);
        s_pLine = nullptr;
    }
    CLateLine(const CLateLine&) = delete;
    CLateLine& operator=(const CLateLine&) = delete;

    // From now on (or no longer) every reply comes after its request's time-out.
    void SetLate(bool late)
    {
        m_bLate = late;
        m_waiting.reset();
    }

private:
    static WORD SendReceive(BYTE port, const char* command, char* reply, WORD timeoutMs,
                            WORD checksum, WORD* length)
    {
        WORD result =
            CSimLink::Table().Send_Receive_Ascii(port, command, reply, timeoutMs, checksum, length);
        if (!s_pLine->m_bLate) return result;
        std::optional<std::string> waiting = std::exchange(s_pLine->m_waiting, std::nullopt);
        if (result == 0) s_pLine->m_waiting = reply;
        std::string text = waiting.value_or("");
        std::memcpy(reply, text.c_str(), text.size() + 1);
        if (length) *length = static_cast<WORD>(text.size());
        return waiting ? 0 : 1;
    }

    static inline CLateLine* s_pLine = nullptr;
    LinkTable m_table;
    const LinkTable* m_pPrevious;
    bool m_bLate = false;
    std::optional<std::string> m_waiting;
};
