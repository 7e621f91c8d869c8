// A line that spoils the replies to chosen requests: the first few requests that the choice takes
// (by default those that begin with a given text: ASCII as sent, RTU as hex bytes "01 03 00 DC")
// get a spoilt reply, every other request its module's own. It sits between the program and the
// simulated link, so the link still records every request that went on the wire.
#pragma once

#include "HexText.h"
#include "LinkTable.h"
#include "RtuFrame.h"
#include "SimLink.h"
#include "Strings.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// How a reply is spoilt.
enum class ESpoil {
    Silent,       // no reply at all
    Blank,        // ASCII: the carriage return alone; RTU: nothing
    Cut,          // the first half only (three characters at least)
    Padded,       // fifteen more characters (RTU: bytes) before its end
    OtherLead,    // ASCII: ">" data as "!AA" data, "!AA" data as ">" data; RTU: as it came
    OtherAddress, // whole and well framed, but from the next address up ("!" for a ">" reply)
    Late,         // it comes after the time-out: the next request, whatever it is, gets it
    Stale,        // the reply to the last request of another text comes instead (a late one of
                  // another: the reply to the same request sent before would answer it)
    Garbled,      // line noise
    Refused,      // the module's refusal: "?AA", or a Modbus exception
    Bare,         // ASCII: "!" and nothing more
    NoDigits,     // ASCII: its last two characters (the checksum digits) cut off
    WrongDigits,  // ASCII: its last checksum digit changed
    BadCrc,       // RTU: the last byte of its CRC changed; ASCII: as WrongDigits
};

inline const char* SpoilName(ESpoil spoil)
{
    static const char* const names[] = {
        "silent", "blank",   "cut",     "padded", "other lead", "other address", "late",
        "stale",  "garbled", "refused", "bare",   "no digits",  "wrong digits",  "bad CRC"};
    return names[static_cast<int>(spoil)];
}

class CSpoiltLine {
public:
    using Choice = std::function<bool(const std::string& request)>;

    // The first count requests that begin with requestStart.
    CSpoiltLine(ESpoil spoil, std::string requestStart, int count = 1)
        : CSpoiltLine(
              spoil,
              [start = std::move(requestStart)](const std::string& r) {
                  return r.starts_with(start);
              },
              count)
    {
    }
    // The first count requests the choice takes (all of them by default).
    CSpoiltLine(ESpoil spoil, Choice choice, int count = INT_MAX)
        : m_table(CSimLink::Table()), m_pPrevious(&Link()), m_eSpoil(spoil),
          m_choice(std::move(choice)), m_nLeft(count)
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

    // How many chosen requests are still to be spoilt.
    int Left() const { return m_nLeft; }
    // How many requests were spoilt so far.
    int Spoilt() const { return m_nSpoilt; }

private:
    bool Takes(const std::string& request)
    {
        if (m_nLeft == 0 || !m_choice(request)) return false;
        --m_nLeft;
        ++m_nSpoilt;
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
        const std::optional<std::string>& previous = line.m_ascii.Stale(command, text);
        if (line.Takes(command)) {
            if (result != 0 && line.m_eSpoil != ESpoil::Stale) return result;
            std::optional<std::string> spoilt = line.SpoilAscii(text, command, previous);
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
        std::string text = Trim(BytesToHexText(request, requestLength));
        const std::optional<std::vector<BYTE>>& previous = line.m_rtu.Stale(text, bytes);
        if (line.Takes(text)) {
            if (result != 1 && line.m_eSpoil != ESpoil::Stale) return result;
            std::optional<std::vector<BYTE>> spoilt = line.SpoilRtu(bytes, previous);
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

    static std::string NextAddress(const std::string& address)
    {
        return Format("%02X", static_cast<unsigned>((StrToLong(address, 16) + 1) & 0xFF));
    }

    std::optional<std::string> SpoilAscii(const std::string& text, const std::string& request,
                                          const std::optional<std::string>& previous)
    {
        std::string address = request.substr(1, 2);
        bool data = !text.empty() && text[0] == '>';
        switch (m_eSpoil) {
        case ESpoil::Silent:
            return std::nullopt;
        case ESpoil::Blank:
            return std::string();
        case ESpoil::Cut:
            return text.substr(0, std::max<size_t>(3, text.size() / 2));
        case ESpoil::Padded:
            return text + "567890123456789";
        case ESpoil::OtherLead:
            return data ? "!" + address + text.substr(1)
                        : ">" + text.substr(std::min<size_t>(3, text.size()));
        case ESpoil::OtherAddress:
            if (data) return "!" + NextAddress(address) + text.substr(1);
            return text.substr(0, 1) + NextAddress(text.substr(1, 2)) +
                   text.substr(std::min<size_t>(3, text.size()));
        case ESpoil::Late:
            m_late = text;
            return std::nullopt;
        case ESpoil::Stale:
            return previous;
        case ESpoil::Garbled:
            return std::string("\x7F_q");
        case ESpoil::Refused:
            return "?" + address;
        case ESpoil::Bare:
            return std::string("!");
        case ESpoil::NoDigits:
            return text.substr(0, text.size() - std::min<size_t>(2, text.size()));
        case ESpoil::WrongDigits:
        case ESpoil::BadCrc: {
            std::string wrong = text;
            if (!wrong.empty()) wrong.back() = wrong.back() == '0' ? '1' : '0';
            return wrong;
        }
        }
        return std::nullopt;
    }

    std::optional<std::vector<BYTE>> SpoilRtu(const std::vector<BYTE>& frame,
                                              const std::optional<std::vector<BYTE>>& previous)
    {
        switch (m_eSpoil) {
        case ESpoil::Silent:
        case ESpoil::Blank:
            return std::nullopt;
        case ESpoil::Cut:
            return std::vector<BYTE>(frame.begin(),
                                     frame.begin() + std::max<size_t>(3, frame.size() / 2));
        case ESpoil::Padded: {
            std::vector<BYTE> padded = frame;
            padded.insert(padded.end() - std::min<size_t>(2, padded.size()), 15, 0x30);
            return padded;
        }
        case ESpoil::OtherAddress: {
            if (frame.size() < 3) return frame;
            std::vector<BYTE> body(frame.begin(), frame.end() - 2);
            body[0] = static_cast<BYTE>(body[0] + 1);
            return RtuFramed(body);
        }
        case ESpoil::Late:
            m_lateRtu = frame;
            return std::nullopt;
        case ESpoil::Stale:
            return previous;
        case ESpoil::Garbled:
            return std::vector<BYTE>{0x5A, 0xA5, 0x00, 0xFF, 0x13, 0x37, 0x42};
        case ESpoil::Refused: {
            if (frame.size() < 2) return frame;
            return RtuFramed({frame[0], static_cast<BYTE>(frame[1] | 0x80), 0x02});
        }
        case ESpoil::BadCrc: {
            std::vector<BYTE> bad = frame;
            if (!bad.empty()) bad.back() = static_cast<BYTE>(bad.back() ^ 0xFF);
            return bad;
        }
        default:
            return frame;
        }
    }

    static inline CSpoiltLine* s_pLine = nullptr;
    LinkTable m_table;
    const LinkTable* m_pPrevious;
    ESpoil m_eSpoil;
    Choice m_choice;
    int m_nLeft;
    int m_nSpoilt = 0;
    // The replies a stale spoil gives: each request's reply is kept, and a request of another text
    // than the one before makes the reply to that one the stale reply.
    template <class Reply> class CStaleReplies {
    public:
        // The stale reply for this request, after which its own reply is kept.
        const std::optional<Reply>& Stale(const std::string& request, const Reply& reply)
        {
            if (request != m_strLastRequest) m_stale = std::exchange(m_last, std::nullopt);
            m_strLastRequest = request;
            m_last = reply;
            return m_stale;
        }

    private:
        std::string m_strLastRequest;
        std::optional<Reply> m_last;
        std::optional<Reply> m_stale;
    };

    std::optional<std::string> m_late;
    std::optional<std::vector<BYTE>> m_lateRtu;
    CStaleReplies<std::string> m_ascii;
    CStaleReplies<std::vector<BYTE>> m_rtu;
};
