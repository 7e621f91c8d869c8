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

// Readings as the modules' replies carry them (the forms the dialogs quote, and their edges): each
// read in the form of its data format, or none at all.
TEST(ReadingFields, ReadingsOfTheirFormOrNone)
{
    using Readings = std::optional<Fields>;
    constexpr EReadingForm D = EReadingForm::Decimal;
    constexpr EReadingForm H = EReadingForm::Hex;
    constexpr EReadingForm R = EReadingForm::Resistance;
    constexpr EReadingForm A = EReadingForm::AsData;
    const std::string eight = "+01.234-00.500+10.000-10.000+00.000+05.125-05.125+00.001";
    const Fields eightFields = {"+01.234", "-00.500", "+10.000", "-10.000",
                                "+00.000", "+05.125", "-05.125", "+00.001"};
    const std::string hex = "00112233445566778899AABBCCDDEEFF";
    const Fields hexFields = {"0011", "2233", "4455", "6677", "8899", "AABB", "CCDD", "EEFF"};
    struct Case {
        std::string data;
        int count;
        EReadingForm form;
        size_t width;
        Readings want;
    } cases[] = {
        // Eight inputs split at their signs; in hex, 32 digits in eight groups of four.
        {eight, 8, D, 0, eightFields},
        {hex, 8, H, 0, hexFields},
        {"+025.50+001.25-010.00", 3, D, 0, Fields{"+025.50", "+001.25", "-010.00"}},
        {"+0100.00+0200.00-0010.50+0000.00", 4, D, 0,
         Fields{"+0100.00", "+0200.00", "-0010.50", "+0000.00"}},
        {"0A1B0C2D0E3F", 3, H, 0, Fields{"0A1B", "0C2D", "0E3F"}},
        // One channel: the whole data.
        {"+0100.00", 1, D, 0, Fields{"+0100.00"}},
        {"0138.50", 1, R, 0, Fields{"0138.50"}},
        // Seven characters a reading where the format fixes them (a 57-character reply), four hex
        // digits in any case (33 characters).
        {eight, 8, D, 7, eightFields},
        {hex, 8, H, 7, hexFields},
        // As the data opens.
        {"0A1B0C2D", 2, A, 0, Fields{"0A1B", "0C2D"}},
        {"+01.000-02.500", 2, A, 0, Fields{"+01.000", "-02.500"}},
        {"0138.500177.00", 2, A, 0, Fields{"0138.50", "0177.00"}},
        {"0138.500177.00", 2, R, 0, Fields{"0138.50", "0177.00"}},
        // A reading a character wider or narrower is one of its form still.
        {"+00100.00", 1, D, 0, Fields{"+00100.00"}},
        {"+100.00", 1, D, 0, Fields{"+100.00"}},
        {"+1234.5678", 1, D, 0, Fields{"+1234.5678"}},
        {"+01.234-0.500", 2, D, 0, Fields{"+01.234", "-0.500"}},
        {"00138.5000177.00", 2, R, 0, Fields{"00138.50", "00177.00"}},
        // Cut short: no point, nothing after it, fewer readings, or a hex reply that lost eight
        // digits (a multiple of the count).
        {"+01", 1, D, 0, std::nullopt},
        {"+0100.", 1, D, 0, std::nullopt},
        {"013", 1, R, 0, std::nullopt},
        {"+01.234-00.500+10.000-10.000", 8, D, 0, std::nullopt},
        {hex.substr(0, 24), 8, H, 0, std::nullopt},
        {"0A1B0C2D0E3", 3, H, 0, std::nullopt},
        {eight.substr(0, 55), 8, D, 7, std::nullopt},
        // Padded: a run of digits no conversion gives, a ninth reading, one digit too many.
        {"+0100.00567890123456789", 1, D, 0, std::nullopt},
        {"0138.50567890123456789", 1, R, 0, std::nullopt},
        {eight + "567890123456789", 8, D, 0, std::nullopt},
        {eight + "+02.000", 8, D, 0, std::nullopt},
        {hex + "0", 8, H, 0, std::nullopt},
        {"+12345.6789", 1, D, 0, std::nullopt},
        // Resistances padded to three fields of twelve: two points in a field.
        {"0055.350060.700066.05567890123456789", 3, R, 0, std::nullopt},
        // Resistances one character short: the point at another place in each.
        {"0138.5177.00", 2, R, 0, std::nullopt},
        // Of another form or request.
        {"0138.500177.00", 2, D, 0, std::nullopt},
        {"+01.000-02.500", 2, R, 0, std::nullopt},
        {"+01.000-02.500", 2, H, 0, std::nullopt},
        {"0A1B0C2D", 2, R, 0, std::nullopt},
        {"01.234+00.500", 2, D, 0, std::nullopt},
        {"+1.2.3", 1, D, 0, std::nullopt},
        {"+0100", 1, D, 0, std::nullopt},
        {"0a1b", 1, H, 0, std::nullopt},
        {"", 1, A, 0, std::nullopt},
        {"RROR", 1, A, 0, std::nullopt},
        {"+01.000", 0, D, 0, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadingsOfShape(c.data, c.count, c.form, c.width), c.want) << c.data;
}

TEST(ReadingFields, TheFormatDigitGivesTheFormOfReadings)
{
    for (const char* digit : {"0", "1", "4", "5", "", "x"})
        EXPECT_EQ(FormOfFormat(digit), EReadingForm::Decimal) << digit;
    for (const char* digit : {"2", "6"}) EXPECT_EQ(FormOfFormat(digit), EReadingForm::Hex) << digit;
    for (const char* digit : {"3", "7"})
        EXPECT_EQ(FormOfFormat(digit), EReadingForm::Resistance) << digit;
}

// A fixed-width value of a value reply: the sign rule's shape, points at most one.
TEST(ReadingFields, AValueOfItsSign)
{
    for (const char* text : {"+05.000", "-1", "+.5"})
        EXPECT_TRUE(IsValueOfSign(text, EReadingSign::Signed)) << text;
    for (const char* text : {"0FFF", "12.5", "00000064"})
        EXPECT_TRUE(IsValueOfSign(text, EReadingSign::Unsigned)) << text;
    for (const char* text : {"+05.000", "0FFF"})
        EXPECT_TRUE(IsValueOfSign(text, EReadingSign::AsData)) << text;
    for (const char* text : {"+", "05.000", "+1.2.3", "+0A"})
        EXPECT_FALSE(IsValueOfSign(text, EReadingSign::Signed)) << text;
    for (const char* text : {"", "+05.000", "1.2.3", "0fff"})
        EXPECT_FALSE(IsValueOfSign(text, EReadingSign::Unsigned)) << text;
}

// "@AADI": "!AA", the status digit, the outputs' two digits and the inputs' two; a read takes it
// as far as it reads, never past those five.
TEST(ReadingFields, TheDigitalStateAsFarAsItIsRead)
{
    struct Case {
        const char* data;
        size_t length;
        bool want;
    } cases[] = {
        {"00300", 3, true}, {"003", 3, true},   {"0030", 3, true},    {"2", 1, true},
        {"20000", 5, true}, {"0", 3, false},    {"003000", 3, false}, {"00G00", 3, false},
        {"", 1, false},     {"0030", 5, false}, {"+0500", 1, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsDioState(c.data, c.length), c.want) << c.data << " " << c.length;
}
