// The checksum of the ASCII command protocol, as both link libraries append it.
#pragma once

#include <string>
#include <string_view>

// The sum of the character codes of text modulo 256, as two upper-case hex digits ("$00M" -> "D1").
inline std::string AsciiChecksumDigits(std::string_view text)
{
    unsigned sum = 0;
    for (unsigned char c : text) sum += c;
    constexpr char kHex[] = "0123456789ABCDEF";
    return {kHex[(sum >> 4) & 0xF], kHex[sum & 0xF]};
}
