// The Range list of the thermocouple dialogs: row texts and the codes behind them.
#include "thermocouple/MvTcRanges.h"

#include <gtest/gtest.h>

TEST(MvTcRanges, CodesSelectTheirRowsAndRowsWriteTheSameCodesBack)
{
    struct Case {
        const char* code;
        int row;
        const char* text;
    } cases[] = {
        {"00", 0, "-15 to +15mV"}, {"03", 3, "-500 to +500mV"}, {"06", 6, "-20 to +20mA"},
        {"0E", 7, "T/C J-Type"},   {"0F", 8, "T/C K-Type"},     {"12", 11, "T/C R-Type"},
        {"14", 13, "T/C B-Type"},  {"15", 14, "T/C N-Type"},    {"16", 15, "T/C C-Type"},
        {"17", 16, "T/C W-Type"},  {"18", 17, "+-4-20mA"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MvTcRangeRow(c.code, false), c.row) << c.code;
        EXPECT_EQ(MvTcRanges().rows.at(static_cast<size_t>(c.row)), c.text);
        EXPECT_EQ(CodeOfRow(MvTcRanges().codes, c.row), c.code);
    }
    ASSERT_EQ(MvTcRanges().rows.size(), 20u);
    EXPECT_EQ(MvTcRanges().rows[18], "");
    EXPECT_EQ(MvTcRanges().rows[19], "");
    EXPECT_EQ(CodeOfRow(MvTcRanges().codes, 18), "") << "the empty rows carry no code";
}

TEST(MvTcRanges, UnknownAndLowerCaseCodesSelectNothingExceptOnThePerChannelModel)
{
    struct Case {
        const char* code;
        int row;
        int perChannelRow;
    } cases[] = {
        {"00", 0, 7},   {"07", -1, 17}, {"0f", -1, 8},  {"FF", -1, 18},
        {"06", 6, 6},   {"10", 9, 9},   {"14", 13, 13}, {"0e", -1, -1},
        {"08", -1, -1}, {"", -1, -1},   {"0F", 8, 8},   {"ff", -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MvTcRangeRow(c.code, false), c.row) << c.code;
        EXPECT_EQ(MvTcRangeRow(c.code, true), c.perChannelRow) << c.code;
    }
}
