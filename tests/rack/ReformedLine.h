// A line on which chosen requests get a reply of another form than the simulated module's: the
// reply a module of another make, or a damaged line, would give. A request is chosen by how it
// begins (as sent, checksum digits included); the new reply is made from the module's own (empty
// when it gave none) and goes out whatever the module did. Every other request gets its module's
// reply. It sits between the program and the simulated link, which still records every request.
#pragma once

#include "LinkTable.h"
#include "SimLink.h"

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class CReformedLine {
public:
    using Reform = std::function<std::string(const std::string& reply)>;
    struct SRule {
        std::string strRequest;
        Reform reform;
    };

    explicit CReformedLine(std::vector<SRule> rules)
        : m_table(CSimLink::Table()), m_pPrevious(&Link()), m_rules(std::move(rules))
    {
        m_table.Send_Receive_Ascii = &SendReceive;
        s_pLine = this;
        SetLink(&m_table);
    }
    // Requests that begin with request get that reply.
    CReformedLine(const std::string& request, const std::string& reply)
        : CReformedLine({{request, [reply](const std::string&) { return reply; }}})
    {
    }
    ~CReformedLine()
    {
        SetLink(m_pPrevious);
        s_pLine = nullptr;
    }
    CReformedLine(const CReformedLine&) = delete;
    CReformedLine& operator=(const CReformedLine&) = delete;

private:
    static WORD SendReceive(BYTE port, const char* command, char* reply, WORD timeoutMs,
                            WORD checksum, WORD* length)
    {
        WORD result =
            CSimLink::Table().Send_Receive_Ascii(port, command, reply, timeoutMs, checksum, length);
        std::string request = command;
        for (const SRule& rule : s_pLine->m_rules) {
            if (!request.starts_with(rule.strRequest)) continue;
            std::string text = rule.reform(result == 0 ? std::string(reply) : std::string());
            std::memcpy(reply, text.c_str(), text.size() + 1);
            if (length) *length = static_cast<WORD>(text.size());
            return 0;
        }
        return result;
    }

    static inline CReformedLine* s_pLine = nullptr;
    LinkTable m_table;
    const LinkTable* m_pPrevious;
    std::vector<SRule> m_rules;
};
