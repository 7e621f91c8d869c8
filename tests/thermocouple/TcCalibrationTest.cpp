// What the cold-junction, calibration and alarm fields of the thermocouple dialog let through.
#include "thermocouple/TcCalibration.h"
#include "AlarmLimit.h"

#include <gtest/gtest.h>

TEST(TcCalibration, OffsetInDegreesAsSignAndFourHexDigits)
{
    struct Case {
        const char* text;
        const char* sign;
        const char* hex;
    } cases[] = {
        {"+00.02", "+", "0002"}, {"+01.00", "+", "006f"}, {"-00.45", "-", "0032"},
        {"+00.00", "+", "0000"}, {"", "", "0000"},        {"+589.81", "+", "fffe"},
        {"-5", "-", "022b"},     {"+.5", "+", "0037"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::optional<SCjcOffsetCode> code = CjcOffsetCode(c.text);
        ASSERT_TRUE(code);
        EXPECT_EQ(code->strSign, c.sign);
        EXPECT_EQ(code->strHex, c.hex);
    }
    // Negative numbers, text, a missing sign and codes wider than four digits send nothing.
    for (const char* text :
         {"+-1", "--0.5", "+abc", "12.5", "+", "+1.2.3", "+589.83", "+1e3", "+0x10", "+ 1", "+1\r"})
        EXPECT_FALSE(CjcOffsetCode(text)) << text;
}

TEST(TcCalibration, CoefficientRawOffsetAndAlarmLimits)
{
    EXPECT_EQ(CoefficientCode("10000"), "2710");
    EXPECT_EQ(CoefficientCode("50000"), "C350");
    EXPECT_EQ(CoefficientCode("0"), "0000");
    for (const char* text : {"50001", "-1", "", "1e4", "10000\r", "99999", "123456"})
        EXPECT_FALSE(CoefficientCode(text)) << text;

    for (const char* text : {"+0000", "-00fF", "+A1B2"}) EXPECT_TRUE(IsRawCjcOffset(text)) << text;
    for (const char* text : {"0000", "+000", "+0000\r", "+00G0", ""})
        EXPECT_FALSE(IsRawCjcOffset(text)) << text;

    for (const char* text : {"+0500.0", "-0025.5", "+1370.0", "+001370"})
        EXPECT_TRUE(IsFixedWidthValue(text)) << text;
    for (const char* text : {"0500.00", "+500.0", "+0500.0\r", "+05\r00.", "+05.0.0", "+0500.00",
                             "+abcd.e", "+......"})
        EXPECT_FALSE(IsFixedWidthValue(text)) << text;
}
