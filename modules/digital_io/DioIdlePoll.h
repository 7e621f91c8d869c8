// The idle poll of the ASCII digital I/O dialog: the status request and the counter reads of the
// inputs in turn. Free of Qt, so its cycles can be tested alone.
#pragma once

#include <string>

class CDioIdlePoll {
public:
    enum EForm {
        // Checksum off: a status read before every odd-numbered channel and after the last one.
        Interleaved,
        // Checksum on, and once after a safe-value or power-on answer: the next counter in turn,
        // or the status after the last one.
        Plain,
        // The status and nothing else.
        StatusOnly,
    };
    // The form of the idle poll for a model; afterAnswer for the one request after a safe-value
    // or power-on answer. With the checksum on, only the 6328 and 9328 names keep the status-only
    // form there.
    static EForm FormOf(const std::string& model, bool checksum, bool afterAnswer);

    // The next idle request: -1 for the status, k for the counter of channel k.
    int Next(EForm form, int inputs);
    // What the reply to the last idle request carries: -1 the status, k the counter of channel k.
    // It is what that request asked for, whatever form later requests take.
    int ReplyChannel() const { return m_nAsked; }

    // Where the cycle stands, which decides the next request (not what the last one asked):
    int m_nCounterChannel = 0;  // 0 = at the status, k = at the counter of channel k-1
    bool m_bCounterRead = true; // false right after a status read the interleaved form put in

private:
    int Step(EForm form, int inputs);

    int m_nAsked = -1;
};
