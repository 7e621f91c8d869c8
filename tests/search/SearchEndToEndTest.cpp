// A search over a pseudo-terminal: modsim serves the bus, the program talks through the real
// libuart.so and libPortix_rtu.so, in real time, with the window timer running by itself.
#include "RealTime.h"
#include "SearchedBus.h"

#include <cstdio>

using namespace search_test;

TEST(SearchEndToEnd, ASearchOfTheFirstAddressesFindsAnAsciiAndAModbusModuleThroughModsim)
{
    CSearchedBus bus("6384 1 9600 ascii type=08 format=00\n"
                     "6384 2 9600 rtu\n");
    ASSERT_FALSE(bus.sim.Slave().empty());
    const CSearchWindow& w = bus.w; // COM1, 9600, 50 ms
    CQueryDlg& dlg = w.Dlg();
    CRealTimers timers;

    CStopwatch watch;
    ASSERT_TRUE(ui::Click(dlg, IDOK));
    ASSERT_TRUE(RunUntil([&] { return dlg.m_nScanAddress >= 4; }, 60000));
    ASSERT_TRUE(ui::Click(dlg, IDC_STOP));
    ASSERT_TRUE(RunUntil([&] { return !dlg.IsTimerActive(kScanTimer); }, 10000));
    long long elapsed = watch.ElapsedMs();

    ASSERT_TRUE(w.boxes.m_boxes.empty()) << w.boxes.m_boxes[0].text;
    std::vector<ResultRow> rows = w.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (ResultRow{"4384", "1(01)ASCII", "9600", "Yes", "Disable", "-10 to +10V", "",
                                  "01", "06", "0", "08", "0", "ASC"}));
    EXPECT_EQ(rows[1], (ResultRow{"4384", "2(02)RTU", "9600", "Yes", "Disable", "", "", "02", "06",
                                  "0", "", "", "RTU"}));
    EXPECT_TRUE(w.Enabled(IDOK));
    EXPECT_FALSE(w.Enabled(IDC_STOP));

    // What the search waits by its own rules for addresses 0 to 3: "$00M" unanswered (50); the
    // probes of 0 (100 + 100 open + 50 + 100 + 50 + 150); "$02M" unanswered (200); the probe that
    // finds 2 (100 + 100 open + 150) and "$03M" (200); the probes of 3 (100 + 100 + 50 + 100 + 50
    // + 150) and "$04M" (200); the stop tick (150). Six ticks of 500 ms set the pace.
    const long long waits = 50 + 550 + 200 + 550 + 750 + 150;
    std::printf("search of addresses 0 to 3 against modsim: %lld ms (prescribed waits %lld ms, "
                "6 ticks of 500 ms)\n",
                elapsed, waits);
    RecordProperty("elapsed_ms", static_cast<int>(elapsed));
    EXPECT_GE(elapsed, waits);
    EXPECT_LT(elapsed, 30000);
}
