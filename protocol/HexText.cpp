#include "HexText.h"

#include "LinkTable.h"
#include "RtuCrc.h"
#include "Strings.h"

#include <algorithm>
#include <cctype>

std::vector<BYTE> HexTextToBytes(const std::string& text)
{
    std::string digits = Remove(text, ' ');
    std::vector<BYTE> bytes;
    for (size_t i = 0; i < digits.size(); i += 2) {
        bytes.push_back(static_cast<BYTE>(StrToLong(digits.substr(i, 2), 16) & 0xFF));
    }
    return bytes;
}

bool IsHexBytesText(const std::string& text)
{
    std::string digits = Remove(text, ' ');
    return !digits.empty() && digits.size() % 2 == 0 &&
           std::all_of(digits.begin(), digits.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
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

bool IsRtuRead(const std::vector<BYTE>& request)
{
    return request.size() > 1 && request[1] >= 0x01 && request[1] <= 0x04;
}

bool IsRtuException(const std::vector<BYTE>& request, const std::vector<BYTE>& reply)
{
    if (request.size() < 2 || reply.size() != 5 || reply[0] != request[0] ||
        reply[1] != (request[1] | 0x80))
        return false;
    RtuCrc crc = CalcRtuCrc(reply.data(), 3);
    return reply[3] == crc.m_nLow && reply[4] == crc.m_nHigh;
}

bool RtuReplyAnswers(const std::vector<BYTE>& request, const std::vector<BYTE>& reply)
{
    constexpr size_t kRequest = 6; // address, function, register, count or value
    constexpr size_t kCrc = 2;
    if (request.size() < kRequest || reply.size() < 3 + kCrc || reply[0] != request[0] ||
        reply[1] != request[1])
        return false;
    RtuCrc crc = CalcRtuCrc(reply.data(), reply.size() - kCrc);
    if (reply[reply.size() - 2] != crc.m_nLow || reply.back() != crc.m_nHigh) return false;
    unsigned count = static_cast<unsigned>(request[4] << 8 | request[5]);
    if (IsRtuRead(request)) {
        // Coils and discrete inputs come eight to a byte, registers two bytes each.
        unsigned bytes = request[1] <= 0x02 ? (count + 7) / 8 : 2 * count;
        return reply[2] == bytes && reply.size() == 3 + bytes + kCrc;
    }
    return reply.size() == kRequest + kCrc &&
           std::equal(request.begin(), request.begin() + kRequest, reply.begin());
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
