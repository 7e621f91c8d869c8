// The type lists of the temperature modules with one type per channel: codes and rows both ways.
#include "rtd/RtdChannelTypes.h"
#include "thermocouple/TcChannelTypes.h"

#include <gtest/gtest.h>

TEST(ChannelTypeTables, EachCodeSelectsItsRowAndNothingElseSelectsOne)
{
    struct Case {
        const char* name;
        const SCodedList& table;
        size_t rows;
        std::vector<std::pair<std::string, int>> codes; // code -> row (-1: none)
    } cases[] = {
        {"6386P",
         Tc6386PTypes(),
         9,
         {{"06", 0}, {"07", 1}, {"0E", 2}, {"13", 7}, {"14", 8}, {"0e", -1}, {"08", -1}}},
        {"6381",
         UniversalTypes(),
         15,
         {{"02", 0},
          {"07", 4},
          {"0D", 7},
          {"14", 14},
          {"06", -1},
          {"00", -1},
          {"0A", -1},
          {"0C", -1}}},
        {"6382", Rtd6382Types(), 14, {{"20", 0}, {"29", 9}, {"2A", 10}, {"2D", 13}, {"2E", -1}}},
        {"6382T", Thermistor6382TTypes(), 2, {{"30", 0}, {"31", 1}, {"20", -1}}},
        {"6307A",
         Rtd6307Ranges(),
         13,
         {{"20", 0}, {"27", 7}, {"2B", 8}, {"2F", 12}, {"28", -1}, {"29", -1}, {"2A", -1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.table.rows.size(), c.rows);
        EXPECT_EQ(c.table.codes.size(), c.rows);
        for (const auto& [code, row] : c.codes) {
            EXPECT_EQ(RowOfCode(c.table.codes, code), row) << code;
            if (row >= 0) {
                EXPECT_EQ(CodeOfRow(c.table.codes, row), code);
            }
        }
    }
}
