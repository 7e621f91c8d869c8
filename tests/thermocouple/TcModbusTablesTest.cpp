// The lists of the thermocouple Modbus dialogs: the codes behind the range rows and the scaling of
// an input register by each channel type ("%f" of the single-precision value).
#include "thermocouple/TcModbusTables.h"
#include "RawScaling.h"

#include <gtest/gtest.h>

TEST(TcModbusTables, RangeRowsStopBeforeCode18)
{
    ASSERT_EQ(TcModbusRanges().rows.size(), 17u);
    EXPECT_EQ(RowOfCode(TcModbusRanges().codes, "06"), 6);
    EXPECT_EQ(RowOfCode(TcModbusRanges().codes, "0E"), 7);
    EXPECT_EQ(TcModbusRanges().rows[8], "T/C K-Type");
    EXPECT_EQ(RowOfCode(TcModbusRanges().codes, "17"), 16);
    EXPECT_EQ(RowOfCode(TcModbusRanges().codes, "18"), -1);
    EXPECT_EQ(RowOfCode(TcModbusRanges().codes, "07"), -1);
}

TEST(TcModbusTables, EachTypeScalesOverItsRange)
{
    EXPECT_EQ(TcModbusTypes().rows[3], "Type K ");
    struct Case {
        int row;
        int raw;
        const char* shown;
    } cases[] = {
        {0, 0, "-20.000000"},
        {0, 65535, "20.000000"},
        {1, 0, "4.000000"},
        {1, 65535, "20.000000"},
        {2, 32768, "380.005798"},
        {2, 65535, "760.000000"},
        {3, 65535, "1370.000000"},
        {4, 0, "-100.000000"},
        {4, 65535, "400.000000"},
        {5, 0, "0.000000"},
        {5, 65535, "1000.000000"},
        {6, 0, "500.000000"},
        {6, 65535, "1750.000000"},
        {7, 65535, "1750.000000"},
        {8, 65535, "1800.000000"},
        {8, 0, "500.000000"},
        {-1, 100, ""},
        {9, 100, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(EngineeringText(RawToEngineering(c.raw, c.row, kTcModbusTypeScales)), c.shown);
    }
}
