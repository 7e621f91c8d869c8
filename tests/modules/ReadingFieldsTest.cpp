// Cutting readings into channel fields.
#include "ReadingFields.h"

#include <gtest/gtest.h>

using Fields = std::vector<std::string>;

TEST(SplitReadings, SignLedDataIsCutAtItsSigns)
{
    struct Case {
        const char* data;
        int count;
        int maxSigns;
        Fields want;
    } cases[] = {
        {"+025.50+001.25-010.00", 3, 8, {"+025.50", "+001.25", "-010.00"}},
        {"+1-2+3-4+5-6+7-8", 8, 8, {"+1", "-2", "+3", "-4", "+5", "-6", "+7", "-8"}},
        // Later signs stay inside the last field.
        {"+1-2+3-4+5-6+7-8+9-10", 8, 8, {"+1", "-2", "+3", "-4", "+5", "-6", "+7", "-8+9-10"}},
        {"+1-2+3-4+5-6+7", 6, 6, {"+1", "-2", "+3", "-4", "+5", "-6+7"}},
        // A model with fewer channels than signs recorded: each field still ends at the next sign.
        {"+1-2+3-4", 3, 6, {"+1", "-2", "+3"}},
        // Fewer signs than fields: the missing fields are empty, not left over from before.
        {"+025.50-001.25", 8, 8, {"+025.50", "-001.25", "", "", "", "", "", ""}},
        {"+0100.00", 4, 6, {"+0100.00", "", "", ""}},
        {"-", 2, 8, {"-", ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitReadings(c.data, c.count, c.maxSigns), c.want) << c.data;
}

TEST(SplitReadings, OtherDataIsCutIntoEqualWidths)
{
    struct Case {
        const char* data;
        int count;
        Fields want;
    } cases[] = {
        {"0A1B0C2D0E3F", 3, {"0A1B", "0C2D", "0E3F"}},
        {"0A1B0C2D0E3F9", 3, {"0A1B", "0C2D", "0E3F"}},
        {"00112233445566778899AABBCCDDEEFF",
         8,
         {"0011", "2233", "4455", "6677", "8899", "AABB", "CCDD", "EEFF"}},
        // "ERROR" less its first character: shorter than the channel count, every field empty.
        {"RROR", 8, {"", "", "", "", "", "", "", ""}},
        {"", 4, {"", "", "", ""}},
        {"RROR", 4, {"R", "R", "O", "R"}},
        {"0138.500177.00", 2, {"0138.50", "0177.00"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitReadings(c.data, c.count, 8), c.want) << c.data;
    EXPECT_EQ(SplitEqualWidth("+1-2", 2), (Fields{"+1", "-2"})) << "no sign splitting here";
    EXPECT_TRUE(SplitEqualWidth("abc", 0).empty());
}

TEST(ReadingFields, DecimalNumbersAsTheModulesWriteThem)
{
    for (const char* text : {"+80", "-20.5", "12.", "0", ".5", "+0500.0"})
        EXPECT_TRUE(IsDecimalNumber(text)) << text;
    for (const char* text : {"", "+", ".", "+-1", "1.2.3", "1e3", "12 ", "+05\r00", "0x10"})
        EXPECT_FALSE(IsDecimalNumber(text)) << text;
}

TEST(ReadingFields, ReadingsOfOneShapeOrNone)
{
    using Readings = std::optional<Fields>;
    struct Case {
        const char* data;
        int count;
        EReadingSign sign;
        Readings want;
    } cases[] = {
        {"+01.000-02.500", 2, EReadingSign::Signed, Fields{"+01.000", "-02.500"}},
        {"0138.500177.00", 2, EReadingSign::Unsigned, Fields{"0138.50", "0177.00"}},
        {"0A1B0C2D", 2, EReadingSign::AsData, Fields{"0A1B", "0C2D"}},
        {"+01.000-02.50", 2, EReadingSign::Signed, std::nullopt},  // cut short
        {"0138.500177.00", 2, EReadingSign::Signed, std::nullopt}, // no sign
        {"+01.000-02.500", 2, EReadingSign::Unsigned, std::nullopt},
        // Resistances padded to three fields of twelve: two points run across a border.
        {"0055.350060.700066.05567890123456789", 3, EReadingSign::Unsigned, std::nullopt},
        {"", 1, EReadingSign::AsData, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadingsOfShape(c.data, c.count, c.sign), c.want) << c.data;
}

TEST(ReadingFields, TheFormatDigitTellsWhetherReadingsAreSigned)
{
    for (const char* digit : {"0", "1", "4", "5", "", "x"})
        EXPECT_EQ(SignOfFormat(digit), EReadingSign::Signed) << digit;
    for (const char* digit : {"2", "3", "6", "7"})
        EXPECT_EQ(SignOfFormat(digit), EReadingSign::Unsigned) << digit;
}
