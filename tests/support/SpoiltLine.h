// A line that spoils the replies to chosen requests: the first few requests that begin with a
// given text (ASCII as sent, RTU as hex bytes "01 03 00 DC") get a spoilt reply, every other
// request its module's own. It sits between the program and the simulated link, so the link still
// records every request that went on the wire.
#pragma once

#include "HexText.h"
#include "LinkTable.h"
#include "SimLink.h"
#include "Strings.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// How a reply is spoilt.
enum class ESpoil {
    Silent,       // no reply at all
    Blank,        // ASCII: the carriage return alone; RTU: nothing
    Cut,          // the first few bytes only
    OtherAddress, // whole and well framed, but from the next address up
    Late,         // it comes after the time-out: the next request, whatever it is, gets it
    Garbled,      // line noise
    Refused,      // the module's refusal: "?AA", or a Modbus exception
};

inline const char* SpoilName(ESpoil spoil)
{
    static const char* const names[] = {"silent", "blank",   "cut",    "other address",
                                        "late",   "garbled", "refused"};
    return names[static_cast<int>(spoil)];
}

class CSpoiltLine {
public:
    CSpoiltLine(ESpoil spoil, std::string requestStart, int count = 1)
        : m_table(CSimLink::Table()), m_pPrevious(&Link()), m_eSpoil(spoil),
          m_strStart(std::move(requestStart)), m_nLeft(count)
    {
        m_table.Send_Receive_Ascii = &SendReceiveAscii;
        m_table.Send_Receive_Rtu = &SendReceiveRtu;
        s_pLine = this;
        SetLink(&m_table);
    }
    ~CSpoiltLine()
    {
        SetLink(m_pPrevious);
        s_pLine = nullptr;
    }
    CSpoiltLine(const CSpoiltLine&) = delete;
    CSpoiltLine& operator=(const CSpoiltLine&) = delete;

    // How many matching requests are still to be spoilt.
    int Left() const { return m_nLeft; }

private:
    // Whether this request's reply is spoilt; the late reply of an earlier one, if any waits.
    bool Takes(const std::string& request)
    {
        if (m_nLeft == 0 || !request.starts_with(m_strStart)) return false;
        --m_nLeft;
        return true;
    }

    static WORD SendReceiveAscii(BYTE port, const char* command, char* reply, WORD timeoutMs,
                                 WORD checksum, WORD* length)
    {
        CSpoiltLine& line = *s_pLine;
        WORD result =
            CSimLink::Table().Send_Receive_Ascii(port, command, reply, timeoutMs, checksum, length);
        std::string text = result == 0 ? std::string(reply) : std::string();
        std::optional<std::string> late = std::exchange(line.m_late, std::nullopt);
        if (line.Takes(command)) {
            if (result != 0) return result;
            std::optional<std::string> spoilt = line.SpoilAscii(text);
            if (!spoilt) return 1;
            text = *spoilt;
        } else if (late) {
            text = *late;
        } else {
            return result;
        }
        std::memcpy(reply, text.c_str(), text.size() + 1);
        if (length) *length = static_cast<WORD>(text.size());
        return 0;
    }

    static int SendReceiveRtu(BYTE port, const BYTE* request, DWORD requestLength, BYTE* reply,
                              WORD timeoutMs, DWORD reserved, WORD* length)
    {
        CSpoiltLine& line = *s_pLine;
        int result = CSimLink::Table().Send_Receive_Rtu(port, request, requestLength, reply,
                                                        timeoutMs, reserved, length);
        std::vector<BYTE> bytes;
        if (result == 1) bytes.assign(reply, reply + *length);
        std::optional<std::vector<BYTE>> late = std::exchange(line.m_lateRtu, std::nullopt);
        if (line.Takes(Trim(BytesToHexText(request, requestLength)))) {
            if (result != 1) return result;
            std::optional<std::vector<BYTE>> spoilt = line.SpoilRtu(bytes);
            if (!spoilt) {
                *length = 0;
                return 0;
            }
            bytes = *spoilt;
        } else if (late) {
            bytes = *late;
        } else {
            return result;
        }
        std::copy(bytes.begin(), bytes.end(), reply);
        reply[bytes.size()] = 0;
        *length = static_cast<WORD>(bytes.size());
        return 1;
    }

    std::optional<std::string> SpoilAscii(const std::string& text)
    {
        switch (m_eSpoil) {
        case ESpoil::Silent:
            return std::nullopt;
        case ESpoil::Blank:
            return std::string();
        case ESpoil::Cut:
            return text.substr(0, 3);
        case ESpoil::OtherAddress: {
            std::string other = text;
            if (other.size() >= 3 && other[0] != '>') {
                long address = StrToLong(other.substr(1, 2), 16);
                other.replace(1, 2, Format("%02X", static_cast<unsigned>((address + 1) & 0xFF)));
            }
            return other;
        }
        case ESpoil::Late:
            m_late = text;
            return std::nullopt;
        case ESpoil::Garbled:
            return std::string("\x7F_q");
        case ESpoil::Refused:
            return "?" + text.substr(1, 2);
        }
        return std::nullopt;
    }

    std::optional<std::vector<BYTE>> SpoilRtu(const std::vector<BYTE>& frame)
    {
        switch (m_eSpoil) {
        case ESpoil::Silent:
        case ESpoil::Blank:
            return std::nullopt;
        case ESpoil::Cut:
            return std::vector<BYTE>(frame.begin(),
                                     frame.begin() + std::min<size_t>(5, frame.size()));
        case ESpoil::OtherAddress: {
            if (frame.size() < 3) return frame;
            std::vector<BYTE> body(frame.begin(), frame.end() - 2);
            body[0] = static_cast<BYTE>(body[0] + 1);
            std::vector<BYTE> other(body.size() + 2);
            RealLink().GetRtuStrCRC(body.data(), static_cast<DWORD>(body.size()), other.data());
            return other;
        }
        case ESpoil::Late:
            m_lateRtu = frame;
            return std::nullopt;
        case ESpoil::Garbled:
            return std::vector<BYTE>{0x5A, 0xA5, 0x00, 0xFF, 0x13, 0x37, 0x42};
        case ESpoil::Refused: {
            if (frame.size() < 2) return frame;
            BYTE body[] = {frame[0], static_cast<BYTE>(frame[1] | 0x80), 0x02};
            std::vector<BYTE> exception(sizeof body + 2);
            RealLink().GetRtuStrCRC(body, sizeof body, exception.data());
            return exception;
        }
        }
        return std::nullopt;
    }

    static inline CSpoiltLine* s_pLine = nullptr;
    LinkTable m_table;
    const LinkTable* m_pPrevious;
    ESpoil m_eSpoil;
    std::string m_strStart;
    int m_nLeft;
    std::optional<std::string> m_late;
    std::optional<std::vector<BYTE>> m_lateRtu;
};
