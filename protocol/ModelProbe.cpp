#include "ModelProbe.h"

#include "AsciiCommand.h"
#include "LinkTable.h"

#include <algorithm>
#include <string>

namespace {

constexpr BYTE kReadHoldingRegisters = 0x03;
constexpr BYTE kDataBytes = 4;
// Address, function, byte count, four data bytes, CRC.
constexpr size_t kReplyLength = 3 + kDataBytes + 2;

} // namespace

std::vector<BYTE> ModelProbeRequest(BYTE address, WORD reg)
{
    return {address,
            kReadHoldingRegisters,
            static_cast<BYTE>(reg >> 8),
            static_cast<BYTE>(reg & 0xFF),
            0x00,
            0x02};
}

std::optional<WORD> ModelProbeWord(const std::vector<BYTE>& reply, BYTE address)
{
    // Bytes after the answer are not its own: some adapters add one when they turn the line round.
    if (reply.size() < kReplyLength || reply[0] != address || reply[1] != kReadHoldingRegisters ||
        reply[2] != kDataBytes) {
        return std::nullopt;
    }
    std::vector<BYTE> framed(kReplyLength);
    Link().GetRtuStrCRC(reply.data(), static_cast<DWORD>(kReplyLength - 2), framed.data());
    if (!std::equal(framed.begin(), framed.end(), reply.begin())) return std::nullopt;
    return static_cast<WORD>(reply[3] << 8 | reply[4]);
}

std::string ModelProbeName(WORD word)
{
    return std::to_string(word >> 12) + std::to_string((word >> 8) & 0xF) +
           std::to_string((word >> 4) & 0xF) + ValueToHexChar(word & 0xF);
}
