// A line on which the test writes the replies: an ASCII request the script answers gets the
// script's reply (none: silence), every other request its module's own. It sits between the program
// and the simulated link, so the link still records every request that went on the wire.
#pragma once

#include "LinkTable.h"
#include "SimLink.h"

#include <cstring>
#include <functional>
#include <optional>
#include <string>

class CScriptedLine {
public:
    // What a scripted request gets: a reply text, or silence.
    struct SAnswer {
        std::optional<std::string> strReply;
    };
    // The answer to a request, or nothing to leave it to its module.
    using Script = std::function<std::optional<SAnswer>(const std::string& request)>;

    explicit CScriptedLine(Script script)
        : m_table(CSimLink::Table()), m_pPrevious(&Link()), m_script(std::move(script))
    {
        m_table.Send_Receive_Ascii = &SendReceive;
        s_pLine = this;
        SetLink(&m_table);
    }
    ~CScriptedLine()
    {
        SetLink(m_pPrevious);
        s_pLine = nullptr;
    }
    CScriptedLine(const CScriptedLine&) = delete;
    CScriptedLine& operator=(const CScriptedLine&) = delete;

    // The requests that begin with start get reply (none: silence), the others their module's.
    static Script Answering(const std::string& start, std::optional<std::string> reply)
    {
        return [start, reply](const std::string& request) -> std::optional<SAnswer> {
            if (!request.starts_with(start)) return std::nullopt;
            return SAnswer{reply};
        };
    }

private:
    static WORD SendReceive(BYTE port, const char* command, char* reply, WORD timeoutMs,
                            WORD checksum, WORD* length)
    {
        // The module hears the request whatever the script says, so the wire keeps it.
        WORD result =
            CSimLink::Table().Send_Receive_Ascii(port, command, reply, timeoutMs, checksum, length);
        std::optional<SAnswer> answer = s_pLine->m_script(command);
        if (!answer) return result;
        if (!answer->strReply) return 1;
        const std::string& text = *answer->strReply;
        std::memcpy(reply, text.c_str(), text.size() + 1);
        if (length) *length = static_cast<WORD>(text.size());
        return 0;
    }

    static inline CScriptedLine* s_pLine = nullptr;
    LinkTable m_table;
    const LinkTable* m_pPrevious;
    Script m_script;
};
