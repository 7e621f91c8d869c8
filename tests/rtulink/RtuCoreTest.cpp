// The C++ layer under both RTU library builds: the CRC and the port object's life cycle.
#include "ProcessStats.h"
#include "PtyPair.h"
#include "RtuCrc.h"
#include "RtuLink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <optional>
#include <semaphore>
#include <string>
#include <thread>

namespace {

constexpr BYTE kReadRequest[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A};
constexpr BYTE kCheckString[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};

static_assert(CalcRtuCrc(kReadRequest, 6).m_nLow == 0xC5 &&
              CalcRtuCrc(kReadRequest, 6).m_nHigh == 0xCD);
static_assert(CalcRtuCrc(kCheckString, 9).m_nLow == 0x37 &&
              CalcRtuCrc(kCheckString, 9).m_nHigh == 0x4B);
static_assert(CalcRtuCrc(nullptr, 0).m_nLow == 0xFF && CalcRtuCrc(nullptr, 0).m_nHigh == 0xFF);

TEST(RtuCrcTest, TablesMatchTheModbusTables)
{
    // First, second and last entries of the two published 256-byte tables.
    EXPECT_EQ(kRtuCrcTables.m_first[0], 0x00);
    EXPECT_EQ(kRtuCrcTables.m_first[1], 0xC1);
    EXPECT_EQ(kRtuCrcTables.m_first[2], 0x81);
    EXPECT_EQ(kRtuCrcTables.m_first[255], 0x40);
    EXPECT_EQ(kRtuCrcTables.m_second[1], 0xC0);
    EXPECT_EQ(kRtuCrcTables.m_second[2], 0xC1);
    EXPECT_EQ(kRtuCrcTables.m_second[255], 0x40);
}

class RtuLinkCoreTest : public ::testing::Test {
protected:
    static constexpr unsigned kPort = 8;

    void SetUp() override { m_pty.KeepSlaveOpen(); }

    CPtyPair m_pty;
    CScopedComPort m_com{kPort, m_pty.SlavePath()};
    // No settling pause, so thousands of opens take seconds, not minutes.
    CRtuLink m_link{std::chrono::milliseconds(0)};
    BYTE m_reply[kRtuReplyBufferSize] = {};
};

TEST_F(RtuLinkCoreTest, ThousandsOfOpensLeaveNoDescriptorOrThreadBehind)
{
    const std::string reply("\x01\x03\x02\x00\x2A\x39\x9B", 7);
    // The first open creates the wake-up descriptor the object keeps for its life.
    ASSERT_TRUE(m_link.Open(kPort, {9600, 8, 'N', 1}));
    m_link.Close();
    const size_t fds = OpenFdCount();
    const ThreadIds before = ThreadIdsNow();
    for (int i = 0; i < 2000; ++i) {
        ASSERT_TRUE(m_link.Open(kPort, {9600, 8, 'N', 1}));
        if (i % 250 == 0) {
            EXPECT_EQ(AddedThreadCount(before, 1), 1u);
            std::jthread farEnd([&] {
                m_pty.Read(sizeof kReadRequest, 2000);
                m_pty.Write(reply);
            });
            // The wait ends when the reply comes: a long bound costs nothing, and a far end
            // slowed by a loaded machine is no failure of this test.
            m_link.SetWaitTimeout(500);
            EXPECT_EQ(m_link.Exchange(kReadRequest, sizeof kReadRequest, m_reply), reply.size());
        }
        m_link.Close();
    }
    EXPECT_EQ(OpenFdCount(), fds);
    EXPECT_EQ(AddedThreadCount(before, 0), 0u);
}

// The measure the tests above rely on: a thread of the process that ends while they run is not
// one left behind (a plain count took it for one less, or hid a new one), and a thread added and
// still running is counted however slowly the ended ones leave.
TEST(ThreadCensus, CountsOnlyThreadsAddedAndStillThere)
{
    std::binary_semaphore endOld(0);
    std::binary_semaphore endNew(0);
    std::jthread old([&] { endOld.acquire(); });
    const ThreadIds before = ThreadIdsNow();
    endOld.release();
    old.join();
    std::jthread added([&] { endNew.acquire(); });
    EXPECT_EQ(AddedThreadCount(before, 1), 1u);
    endNew.release();
    added.join();
    EXPECT_EQ(AddedThreadCount(before, 0), 0u);
}

TEST_F(RtuLinkCoreTest, AnIdleLineCostsNoProcessorTime)
{
    ASSERT_TRUE(m_link.Open(kPort, {9600, 8, 'N', 1}));
    m_link.SetWaitTimeout(10);
    std::clock_t before = std::clock();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_LT((std::clock() - before) * 1000 / CLOCKS_PER_SEC, 20);
}

TEST_F(RtuLinkCoreTest, NothingIsSentOnAClosedLine)
{
    EXPECT_EQ(m_link.Exchange(kReadRequest, sizeof kReadRequest, m_reply), std::nullopt);
    ASSERT_TRUE(m_link.Open(kPort, {9600, 8, 'N', 1}));
    m_link.Close();
    EXPECT_EQ(m_link.Exchange(kReadRequest, sizeof kReadRequest, m_reply), std::nullopt);
    EXPECT_FALSE(m_link.Send(kReadRequest, sizeof kReadRequest));
    EXPECT_EQ(m_pty.Read(64, 100), "");
}

} // namespace
