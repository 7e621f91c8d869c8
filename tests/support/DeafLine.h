// A line on which a module never hears the chosen requests: the first few requests that begin with
// a given text (ASCII as sent, RTU as hex bytes "01 05 00 10") go on the wire, and the link records
// them, but the module is away from its address meanwhile, so it neither carries them out nor
// answers them. What comes back instead is nothing, line noise, or a refusal of the request (a
// module that refuses a request does not carry it out either). Every other request reaches the
// module as usual.
#pragma once

#include "AsciiCommand.h"
#include "HexText.h"
#include "LinkTable.h"
#include "RtuFrame.h"
#include "SimLink.h"
#include "SimModule.h"
#include "Strings.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

class CDeafLine {
public:
    enum class EReply { Silent, Noise, Refused };

    CDeafLine(CSimModule& module, EReply reply, std::string requestStart, int count = 1)
        : m_table(CSimLink::Table()), m_pPrevious(&Link()), m_module(module), m_eReply(reply),
          m_strStart(std::move(requestStart)), m_nLeft(count)
    {
        m_table.Send_Receive_Ascii = &SendReceiveAscii;
        m_table.Send_Receive_Rtu = &SendReceiveRtu;
        s_pLine = this;
        SetLink(&m_table);
    }
    ~CDeafLine()
    {
        SetLink(m_pPrevious);
        s_pLine = nullptr;
    }
    CDeafLine(const CDeafLine&) = delete;
    CDeafLine& operator=(const CDeafLine&) = delete;

    // How many chosen requests the module is still to miss.
    int Left() const { return m_nLeft; }

private:
    bool Takes(const std::string& request)
    {
        if (m_nLeft == 0 || !request.starts_with(m_strStart)) return false;
        --m_nLeft;
        return true;
    }
    // Runs the exchange with the module away from its address (and from 00, where a module in
    // its INIT state answers too).
    template <class Exchange> void Away(Exchange exchange)
    {
        BYTE address = m_module.Address();
        bool init = m_module.Init();
        m_module.SetAddress(static_cast<BYTE>(address ^ 0x80));
        m_module.SetInit(false);
        exchange();
        m_module.SetInit(init);
        m_module.SetAddress(address);
    }

    static WORD SendReceiveAscii(BYTE port, const char* command, char* reply, WORD timeoutMs,
                                 WORD checksum, WORD* length)
    {
        CDeafLine& line = *s_pLine;
        if (!line.Takes(command))
            return CSimLink::Table().Send_Receive_Ascii(port, command, reply, timeoutMs, checksum,
                                                        length);
        line.Away([&] {
            CSimLink::Table().Send_Receive_Ascii(port, command, reply, timeoutMs, checksum, length);
        });
        if (line.m_eReply == EReply::Silent) return 1;
        std::string text = "?" + std::string(command).substr(1, 2);
        if (line.m_module.Checksum()) text += AppendChecksum(text);
        if (line.m_eReply == EReply::Noise) text = "\x7F_q";
        std::memcpy(reply, text.c_str(), text.size() + 1);
        if (length) *length = static_cast<WORD>(text.size());
        return 0;
    }

    static int SendReceiveRtu(BYTE port, const BYTE* request, DWORD requestLength, BYTE* reply,
                              WORD timeoutMs, DWORD reserved, WORD* length)
    {
        CDeafLine& line = *s_pLine;
        if (!line.Takes(Trim(BytesToHexText(request, requestLength))))
            return CSimLink::Table().Send_Receive_Rtu(port, request, requestLength, reply,
                                                      timeoutMs, reserved, length);
        line.Away([&] {
            CSimLink::Table().Send_Receive_Rtu(port, request, requestLength, reply, timeoutMs,
                                               reserved, length);
        });
        std::vector<BYTE> bytes;
        if (line.m_eReply == EReply::Noise) bytes = {0x5A, 0xA5, 0x00, 0xFF, 0x13, 0x37, 0x42};
        if (line.m_eReply == EReply::Refused && requestLength >= 2)
            bytes = RtuFramed({request[0], static_cast<BYTE>(request[1] | 0x80), 0x02});
        std::copy(bytes.begin(), bytes.end(), reply);
        *length = static_cast<WORD>(bytes.size());
        return bytes.empty() ? 0 : 1;
    }

    static inline CDeafLine* s_pLine = nullptr;
    LinkTable m_table;
    const LinkTable* m_pPrevious;
    CSimModule& m_module;
    EReply m_eReply;
    std::string m_strStart;
    int m_nLeft;
};
