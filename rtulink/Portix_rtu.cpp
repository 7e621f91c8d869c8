// The exports of libPortix_rtu.so whose meaning the later revision changed.
#include "Portix_rtu.h"
#include "RtuLink.h"

#include <thread>

namespace {

// Any other parity number gives a letter the line refuses, so the line keeps its settings.
char ParityLetter(BYTE parity)
{
    constexpr char kLetters[] = {'N', 'E', 'O'};
    return parity < sizeof kLetters ? kLetters[parity] : '?';
}

} // namespace

RTU_API int Open_ComRtu(BYTE port, DWORD, DWORD baud, BYTE dataBits, BYTE parity, BYTE stopBits)
{
    if (port == 0) return 0;
    if (g_RtuLink.Open(port, {baud, dataBits, ParityLetter(parity), stopBits})) return 1;
    // This revision pauses whether or not the line opened.
    g_RtuLink.PauseAfterOpen();
    return 0;
}

RTU_API int Close_ComRtu(BYTE port)
{
    if (port == 0) return 0;
    g_RtuLink.Close();
    return 1;
}

RTU_API int Send_Receive_Rtu(BYTE port, const BYTE* request, DWORD requestLength, BYTE* reply,
                             WORD timeoutMs, DWORD, WORD* replyLength)
{
    // Port 0 leaves the caller's reply length as it was.
    if (port == 0) return 0;
    std::optional<size_t> count;
    if (reply && requestLength <= kRtuMaxRequest) {
        g_RtuLink.SetWaitTimeout(timeoutMs);
        count = g_RtuLink.Exchange(request, requestLength, reply);
    }
    const size_t length = count.value_or(0);
    StoreReplyLength(replyLength, length);
    return length > 0 ? 1 : 0;
}

// Closes the line and leaves it closed; the settings are not used.
RTU_API WORD Change_Config(BYTE port, DWORD, DWORD, DWORD, DWORD)
{
    if (port != 0) g_RtuLink.Close();
    std::this_thread::sleep_for(kChangeConfigPause);
    return 0;
}
