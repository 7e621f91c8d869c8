#include "SimCodec.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace {

constexpr std::array<DWORD, 8> kBaudTable = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
constexpr BYTE kFirstBaudCode = 0x03;
constexpr char kHexDigits[] = "0123456789ABCDEF";

} // namespace

std::string SimAsciiChecksum(std::string_view text)
{
    unsigned sum = 0;
    for (char c : text) sum += static_cast<unsigned char>(c);
    return SimHexPair(sum);
}

WORD SimCrc16(std::string_view bytes)
{
    WORD crc = 0xFFFF;
    for (char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

std::string SimAppendCrc(std::string frame)
{
    WORD crc = SimCrc16(frame);
    frame.push_back(static_cast<char>(crc & 0xFF));
    frame.push_back(static_cast<char>(crc >> 8));
    return frame;
}

bool SimCrcValid(std::string_view frame)
{
    if (frame.size() < 4) return false;
    std::string_view body = frame.substr(0, frame.size() - 2);
    return SimAppendCrc(std::string(body)) == frame;
}

std::string SimHexPair(unsigned value)
{
    return {kHexDigits[(value >> 4) & 0xF], kHexDigits[value & 0xF]};
}

std::string SimHex4(unsigned value)
{
    return SimHexPair(value >> 8) + SimHexPair(value);
}

std::string SimHexBytes(std::string_view bytes)
{
    std::string out;
    for (char c : bytes) {
        if (!out.empty()) out += ' ';
        out += SimHexPair(static_cast<unsigned char>(c));
    }
    return out;
}

std::optional<std::string> SimBytesFromHex(std::string_view hex)
{
    std::string digits;
    for (char c : hex)
        if (c != ' ') digits += static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
    if (digits.size() % 2 != 0) return std::nullopt;
    std::string out;
    for (size_t i = 0; i < digits.size(); i += 2) {
        auto value = SimParseHex(std::string_view(digits).substr(i, 2));
        if (!value) return std::nullopt;
        out.push_back(static_cast<char>(*value));
    }
    return out;
}

std::optional<unsigned> SimParseHex(std::string_view digits)
{
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    unsigned value = 0;
    for (char c : digits) {
        if (c >= '0' && c <= '9')
            value = value * 16 + static_cast<unsigned>(c - '0');
        else if (c >= 'A' && c <= 'F')
            value = value * 16 + static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
    }
    return value;
}

std::optional<double> SimParseNumber(std::string_view text)
{
    std::string copy(text);
    char* end = nullptr;
    double value = std::strtod(copy.c_str(), &end);
    if (copy.empty() || end != copy.c_str() + copy.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

BYTE SimBaudCode(DWORD baud)
{
    for (size_t i = 0; i < kBaudTable.size(); ++i)
        if (kBaudTable[i] == baud) return static_cast<BYTE>(kFirstBaudCode + i);
    return 0;
}

DWORD SimBaudOfCode(BYTE code)
{
    if (code < kFirstBaudCode || code >= kFirstBaudCode + kBaudTable.size()) return 0;
    return kBaudTable[code - kFirstBaudCode];
}
