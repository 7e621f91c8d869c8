// The two Range lists of the RTD dialogs.
#include "rtd/RtdRanges.h"

#include <gtest/gtest.h>

TEST(RtdRanges, ThirteenAndSixRangeListsMapTheirCodesExactly)
{
    struct Case {
        const SCodedList* list;
        const char* code;
        int row;
        const char* text;
    } cases[] = {
        {&RtdRanges13(), "20", 0, "Pt100 a=0.00385 -100-100C"},
        {&RtdRanges13(), "23", 3, "Pt100 a=0.00385 0-600C"},
        {&RtdRanges13(), "24", 4, "Pt100 a=0.003916  -100-100C"},
        {&RtdRanges13(), "27", 7, "Pt100 a=0.003916  0-600C"},
        {&RtdRanges13(), "2B", 8, "Cu100 -50-150C"},
        {&RtdRanges13(), "2F", 12, "G53 -50-150C"},
        {&RtdRanges6(), "20", 0, "Pt100 -200-400C"},
        {&RtdRanges6(), "23", 3, "BA1 -200-650C"},
        {&RtdRanges6(), "25", 5, "G53 -50-150C"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RowOfCode(c.list->codes, c.code), c.row) << c.code;
        EXPECT_EQ(CodeOfRow(c.list->codes, c.row), c.code);
        EXPECT_EQ(c.list->rows.at(static_cast<size_t>(c.row)), c.text);
    }
    for (const char* code : {"28", "2A", "30", "2b", ""})
        EXPECT_EQ(RowOfCode(RtdRanges13().codes, code), -1) << code;
    for (const char* code : {"26", "2B", "1F"})
        EXPECT_EQ(RowOfCode(RtdRanges6().codes, code), -1) << code;
    EXPECT_EQ(RtdRanges13().rows.size(), RtdRanges13().codes.size());
    EXPECT_EQ(RtdRanges6().rows.size(), RtdRanges6().codes.size());
}
