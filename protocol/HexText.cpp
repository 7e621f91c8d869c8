#include "HexText.h"

#include "LinkTable.h"
#include "Strings.h"

std::vector<BYTE> HexTextToBytes(const std::string& text)
{
    std::string digits = Remove(text, ' ');
    std::vector<BYTE> bytes;
    for (size_t i = 0; i < digits.size(); i += 2) {
        bytes.push_back(static_cast<BYTE>(StrToLong(digits.substr(i, 2), 16) & 0xFF));
    }
    return bytes;
}

std::string BytesToHexText(const BYTE* bytes, size_t count)
{
    std::string text;
    for (size_t i = 0; i < count; ++i) text += Format(" %02X", bytes[i]);
    return text;
}

std::string BytesToHexText(const std::vector<BYTE>& bytes)
{
    return BytesToHexText(bytes.data(), bytes.size());
}

bool ExchangeRtu(BYTE port, const std::vector<BYTE>& request, WORD timeoutMs,
                 std::vector<BYTE>& reply)
{
    reply.clear();
    if (request.size() + 2 > kRtuMaxRequest) return false;
    std::vector<BYTE> frame(request.size() + 2);
    Link().GetRtuStrCRC(request.data(), static_cast<DWORD>(request.size()), frame.data());
    // The link writes the reply and a zero byte after it; the buffer takes its largest reply.
    std::vector<BYTE> buffer(kRtuReplyBufferSize);
    WORD length = 0;
    if (Link().Send_Receive_Rtu(port, frame.data(), static_cast<DWORD>(frame.size()), buffer.data(),
                                timeoutMs, 0, &length) != 1) {
        return false;
    }
    reply.assign(buffer.begin(), buffer.begin() + std::min<size_t>(length, kRtuMaxReply));
    return true;
}
