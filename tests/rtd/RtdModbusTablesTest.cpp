// The range and type lists of the RTD and thermistor Modbus dialogs: codes behind the rows and an
// input register scaled by each row ("%f" of the single-precision value).
#include "rtd/RtdModbusTables.h"
#include "RawScaling.h"

#include <gtest/gtest.h>

namespace {

struct SSpan {
    const char* low;
    const char* top;
};

// Raw 0 shows the low end of every row's range and 65535 its top.
void ExpectSpans(const RawScaleTable& table, const std::vector<SSpan>& spans)
{
    ASSERT_EQ(table.size(), spans.size());
    for (size_t row = 0; row < spans.size(); ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(EngineeringText(RawToEngineering(0, static_cast<int>(row), table)),
                  spans[row].low);
        EXPECT_EQ(EngineeringText(RawToEngineering(65535, static_cast<int>(row), table)),
                  spans[row].top);
    }
    // A list without a row has nothing to scale by.
    EXPECT_EQ(EngineeringText(RawToEngineering(100, -1, table)), "");
    EXPECT_EQ(EngineeringText(RawToEngineering(100, static_cast<int>(spans.size()), table)), "");
}

} // namespace

TEST(RtdModbusTables, TheModuleRangesOfTheRtdDialogs)
{
    ASSERT_EQ(Rtd6307Ranges().rows.size(), Rtd6307Ranges().codes.size());
    EXPECT_EQ(RowOfCode(Rtd6307Ranges().codes, "2D"), 10);
    EXPECT_EQ(Rtd6307Ranges().rows[10], "BA1 -200-650C");
    EXPECT_EQ(RowOfCode(Rtd6307Ranges().codes, "28"), -1);
    EXPECT_EQ(RowOfCode(Rtd6307Ranges().codes, "2d"), -1) << "codes match exactly";
    ExpectSpans(kRtdModbusRangeScales, {{"-100.000000", "100.000000"},
                                        {"0.000000", "100.000000"},
                                        {"0.000000", "200.000000"},
                                        {"0.000000", "600.000000"},
                                        {"-100.000000", "100.000000"},
                                        {"0.000000", "100.000000"},
                                        {"0.000000", "200.000000"},
                                        {"0.000000", "600.000000"},
                                        {"-50.000000", "150.000000"},
                                        {"-50.000000", "150.000000"},
                                        {"-200.000000", "650.000000"},
                                        {"-200.000000", "650.000000"},
                                        {"-50.000000", "150.000000"}});
    EXPECT_EQ(EngineeringText(RawToEngineering(32768, 1, kRtdModbusRangeScales)), "50.000763");
}

TEST(RtdModbusTables, TheChannelTypesOfTheSixChannelDialogs)
{
    for (size_t row = 0; row < Rtd6382ModbusTypes().codes.size(); ++row) {
        EXPECT_EQ(Rtd6382ModbusTypes().codes[row], "2" + std::string(1, "0123456789ABCDEF"[row]));
    }
    EXPECT_EQ(Rtd6382ModbusTypes().rows[11], "BALCO 500  -30℃ to 120℃");
    ExpectSpans(kSixRtdTypeScales, {{"-50.000000", "150.000000"},
                                    {"0.000000", "100.000000"},
                                    {"0.000000", "200.000000"},
                                    {"0.000000", "400.000000"},
                                    {"-200.000000", "200.000000"},
                                    {"-50.000000", "150.000000"},
                                    {"0.000000", "100.000000"},
                                    {"0.000000", "200.000000"},
                                    {"0.000000", "400.000000"},
                                    {"-200.000000", "200.000000"},
                                    {"-40.000000", "160.000000"},
                                    {"-30.000000", "120.000000"},
                                    {"-80.000000", "100.000000"},
                                    {"0.000000", "100.000000"}});
    EXPECT_EQ(Thermistor6382TTypes().codes, (CodeTable{"30", "31"}));
    EXPECT_EQ(Thermistor6382TTypes().rows[1], "Thermi.  10K  0℃ to 100℃");
    ExpectSpans(kThermistorTypeScales, {{"0.000000", "100.000000"}, {"0.000000", "100.000000"}});
}
