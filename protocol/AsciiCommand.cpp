#include "AsciiCommand.h"

#include "Strings.h"

std::string AppendChecksum(const std::string& text)
{
    unsigned sum = 0;
    for (char c : text) sum += static_cast<unsigned char>(c);
    return ByteToHexPair(static_cast<int>(sum % 256));
}

bool EndsInItsChecksum(const std::string& reply)
{
    if (reply.size() < 3) return false;
    size_t body = reply.size() - 2;
    return reply.substr(body) == AppendChecksum(reply.substr(0, body));
}

std::string ByteToHexPair(int value)
{
    return ValueToHexChar(value / 16) + ValueToHexChar(value % 16);
}

BYTE HexCharToValue(char c)
{
    if (c >= '0' && c <= '9') return static_cast<BYTE>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<BYTE>(c - 'A' + 10);
    return 0xCC;
}

std::string ValueToHexChar(int value)
{
    return std::string(1, static_cast<char>(value < 10 ? value + 48 : value + 55));
}

int HexPairAt(const std::string& reply, int i)
{
    return 16 * HexCharToValue(CharAt(reply, i)) + HexCharToValue(CharAt(reply, i + 1));
}

std::string FrameAsciiCommand(const std::string& text, bool checksum)
{
    return text + (checksum ? AppendChecksum(text) : std::string()) + "\r";
}

std::string AsciiCommand(char lead, const std::string& address, const std::string& body,
                         bool checksum)
{
    return FrameAsciiCommand(std::string(1, lead) + address + body, checksum);
}

std::string WithoutCr(const std::string& framed)
{
    return Left(framed, static_cast<int>(framed.size()) - 1);
}
