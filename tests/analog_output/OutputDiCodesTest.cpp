// The four-channel output module's ranges as the two dialogs use them.
#include "analog_output/OutputDiCodes.h"
#include "analog_output/AoCodes.h"

#include "Strings.h"

#include <gtest/gtest.h>

TEST(OutputDiCodes, CodesScaleByTheRangeRowAndTheSliderSpansItsRange)
{
    struct Case {
        int row;
        int code;
        const char* value; // "%f" of the single-precision value
    } cases[] = {
        {0, 0, "0.000000"},   {0, 4095, "20.000000"}, {0, 2048, "10.002442"},
        {1, 0, "4.000000"},   {1, 4095, "20.000000"}, {1, 2048, "12.001954"},
        {2, 0, "-10.000000"}, {2, 4095, "10.000000"}, {2, 2048, "0.002442"},
    };
    for (const Case& c : cases) {
        std::optional<float> value = OutputDiEngineering(c.code, c.row);
        ASSERT_TRUE(value) << c.row;
        EXPECT_EQ(Format("%f", static_cast<double>(*value)), c.value) << c.row << " " << c.code;
    }
    EXPECT_FALSE(OutputDiEngineering(100, -1)); // no row, no scaling
    EXPECT_EQ(OutputDiSliderSpan(0), 20000);
    EXPECT_EQ(OutputDiSliderSpan(1), 16000);
    EXPECT_EQ(OutputDiSliderSpan(2), 20000);
    EXPECT_EQ(OutputDiCodeOfPosition(8000, 16000), 2047); // truncated
    EXPECT_EQ(OutputDiCodeOfPosition(20000, 20000), 4095);
}

TEST(OutputDiCodes, ValueTextsSliderValuesAndTypedInput)
{
    EXPECT_EQ(SignedOutputValue(5000), "+05.000");
    EXPECT_EQ(SignedOutputValue(-5000), "-05.000");
    EXPECT_EQ(SignedOutputValue(12500), "+12.500");
    EXPECT_EQ(SignedOutputValue(-10000), "-10.000");
    EXPECT_EQ(OutputDiSliderValue(2, 5000), -5000); // +/-10 V starts at -10 V
    EXPECT_EQ(OutputDiSliderValue(0, 5000), 5000);
    EXPECT_EQ(OutputDiSliderValue(1, 12000), 12000); // the 4-20 mA slider starts at 4 mA
    EXPECT_EQ(OutputDiRowOfCode("31"), 1);
    EXPECT_EQ(OutputDiRowOfCode("33"), -1);
    EXPECT_EQ(ParseOutputDiValue("3.5", 1), std::nullopt); // below 4 mA
    EXPECT_EQ(ParseOutputDiValue("-7.25", 2), -7250);
    EXPECT_EQ(ParseOutputDiCode("4095"), 4095);
    for (const char* bad : {"4096", "-1", "12a", "", "00001"})
        EXPECT_EQ(ParseOutputDiCode(bad), std::nullopt) << bad;
}
