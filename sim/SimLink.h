// The in-process link: functions with the exact signatures of the uart and Portix_rtu exports
// that carry each request to a simulated bus instead of a serial line. They answer at once; when
// nothing answers they charge the time-out to the program's clock (Sleep), so tests on a virtual
// clock run fast and still see the time pass. They keep the rules of the real links: one line
// open at a time (the other link's open fails while it is held), nothing is sent on a closed
// line, ASCII replies are cut to 199 characters, RTU replies end in a zero byte and stop at
// kRtuMaxReply bytes, stop bits other than 1 or 2 leave the line's settings as they were, and
// Open_ComRtu pauses 100 ms (also when it fails). Every exchange is recorded with its line settings
// and time.
//
//   CSimBus bus;
//   bus.Add("6384", 1, 9600);
//   CScopedSimLink link(bus);              // COM1 is the bus; the program's link table uses it
//   ... run the search or a dialog ...
//   EXPECT_EQ(link.Requests()[0], "$00M");
#pragma once

#include "LinkTable.h"
#include "SimBus.h"

#include <map>
#include <string>
#include <vector>

// One request on the wire and what came back.
struct SSimExchange {
    DWORD dwTime; // the program's clock when the request went out
    ESimProtocol eProtocol;
    int nPort;
    SSimLine line;
    std::string strRequest; // ASCII: the text as sent (checksum digits included, no CR); RTU: frame
    std::string strReply;   // ASCII: the reply up to its CR; RTU: the frame; empty when none came
    bool bAnswered;
};

// The link while it exists; only one at a time (a second throws std::logic_error).
class CSimLink {
public:
    CSimLink();
    // COM<port> is the bus.
    explicit CSimLink(CSimBus& bus, int port = 1);
    virtual ~CSimLink();
    CSimLink(const CSimLink&) = delete;
    CSimLink& operator=(const CSimLink&) = delete;

    // Ports without a bus fail to open, as a port with no device does.
    void Attach(int port, CSimBus& bus);
    void Detach(int port);
    // Function pointers to the simulated link (route to the link that exists).
    static const LinkTable& Table();

    const std::vector<SSimExchange>& Traffic() const { return m_vecTraffic; }
    // The requests in order: ASCII as text, RTU as hex ("01 03 27 10 00 02 CF 7B").
    std::vector<std::string> Requests() const;
    void ClearTraffic() { m_vecTraffic.clear(); }
    // Whether a line is open, and which.
    bool IsAsciiOpen() const { return m_nOpenPort != 0 && m_eOpen == ESimProtocol::Ascii; }
    bool IsRtuOpen() const { return m_nOpenPort != 0 && m_eOpen == ESimProtocol::Rtu; }
    // A port's line settings as last set (9600 baud, no parity, 8 bits before any open).
    SSimLine Line(int port) const;

    // The link operations (the Table's functions call these).
    WORD OpenAscii(BYTE port, DWORD baud, BYTE dataBits, BYTE parity);
    WORD ChangeBaudAscii(BYTE port, DWORD baud);
    WORD CloseAscii(BYTE port);
    WORD SendReceiveAscii(BYTE port, const char* command, char* reply, WORD timeoutMs,
                          WORD checksum, WORD* replyLength);
    int OpenRtu(BYTE port, DWORD baud, BYTE dataBits, BYTE parity, BYTE stopBits);
    int CloseRtu(BYTE port);
    int SendReceiveRtu(BYTE port, const BYTE* request, DWORD requestLength, BYTE* reply,
                       WORD timeoutMs, WORD* replyLength);

private:
    struct SPort {
        CSimBus* pBus = nullptr;
        SSimLine line;
    };
    bool Open(ESimProtocol protocol, BYTE port);
    // Sends request on the open line; the answer, or nullopt after charging timeoutMs. A module
    // that hangs up takes the port away.
    std::optional<std::string> Exchange(ESimProtocol protocol, std::string request, WORD timeoutMs);

    std::map<int, SPort> m_mapPorts;
    int m_nOpenPort = 0;
    ESimProtocol m_eOpen = ESimProtocol::Ascii;
    std::vector<SSimExchange> m_vecTraffic;
};

// Installs the simulated link as the program's link table for a test, and puts the table that was
// in force back when it ends. Needs the program's LinkTable.cpp in the test binary.
class CScopedSimLink : public CSimLink {
public:
    explicit CScopedSimLink(CSimBus& bus, int port = 1) : CSimLink(bus, port), m_pPrevious(&Link())
    {
        SetLink(&Table());
    }
    ~CScopedSimLink() override { SetLink(m_pPrevious); }

private:
    const LinkTable* m_pPrevious;
};
