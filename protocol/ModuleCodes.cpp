#include "ModuleCodes.h"

#include "AsciiCommand.h"
#include "Strings.h"

#include <algorithm>

const CodeTable BaudCodeTable = {"03", "04", "05", "06", "07", "08", "09", "0A"};
const CodeTable FormatDigitTable = {"0", "1", "2", "3"};
const std::vector<DWORD> BaudRateTable = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

int RowOfCode(const CodeTable& table, const std::string& code)
{
    auto found = std::find(table.begin(), table.end(), code);
    return found == table.end() ? -1 : static_cast<int>(found - table.begin());
}

std::string CodeOfRow(const CodeTable& table, int row)
{
    return row >= 0 && row < static_cast<int>(table.size()) ? table[static_cast<size_t>(row)]
                                                            : std::string();
}

DWORD BaudRateOfRow(int row)
{
    return row >= 0 && row < static_cast<int>(BaudRateTable.size())
               ? BaudRateTable[static_cast<size_t>(row)]
               : 0;
}

bool ChecksumOn(const std::string& check)
{
    return (static_cast<unsigned char>(CharAt(check, 0)) & 0x04) != 0;
}

int HexDigitOrZero(char c)
{
    BYTE value = HexCharToValue(c);
    return value == 0xCC ? 0 : value;
}

std::string ChecksumDigit(const std::string& oldCheck, bool on)
{
    int value = HexDigitOrZero(CharAt(oldCheck, 0));
    return ValueToHexChar(on ? (value | 0x4) : (value & 0xB));
}

std::string ChannelMaskText(const std::array<int, 8>& enabled)
{
    int low = 0;
    int high = 0;
    for (size_t k = 0; k < 4; ++k) {
        if (enabled[k] == 1) low |= 1 << k;
        if (enabled[k + 4] == 1) high |= 1 << k;
    }
    return ValueToHexChar(high) + ValueToHexChar(low);
}

std::array<bool, 8> ChannelMaskBits(char low, char high)
{
    int digits[2] = {HexDigitOrZero(low), HexDigitOrZero(high)};
    std::array<bool, 8> bits{};
    for (size_t k = 0; k < bits.size(); ++k) bits[k] = (digits[k / 4] >> (k % 4)) & 1;
    return bits;
}
