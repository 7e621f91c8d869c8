// Modbus requests typed as hex text, replies shown as hex text, and the longest request the RTU
// exchange sends.
#include "HexText.h"
#include "Clock.h"
#include "SimLink.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TextCase {
    const char* text;
    std::vector<BYTE> bytes;
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    std::string text = c.text;
    for (size_t tab; (tab = text.find('\t')) != std::string::npos;) text.replace(tab, 1, "\\t");
    *os << '"' << text << '"';
}

class HexTextToBytesTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(HexTextToBytesTest, ReadsGroupsOfTwoAfterDroppingBlanks)
{
    EXPECT_EQ(HexTextToBytes(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HexTextToBytesTest,
    ::testing::Values(TextCase{"01 03 00 00 00 08", {0x01, 0x03, 0x00, 0x00, 0x00, 0x08}},
                      TextCase{"010300000008", {0x01, 0x03, 0x00, 0x00, 0x00, 0x08}},
                      // Blanks do not separate bytes; an odd last digit stands alone.
                      TextCase{"1 23", {0x12, 0x03}},
                      // A group without a leading digit is 0; digits end at the first non-digit.
                      TextCase{"G1", {0x00}}, TextCase{"1G", {0x01}},
                      TextCase{"ff0a", {0xFF, 0x0A}},
                      // Read as signed numbers, low byte kept; other white space is skipped.
                      TextCase{"-1+1", {0xFF, 0x01}}, TextCase{"\t1", {0x01}}, TextCase{"", {}},
                      TextCase{"   ", {}}));

struct WholeBytesCase {
    const char* text;
    bool bWhole;
};

void PrintTo(const WholeBytesCase& c, std::ostream* os)
{
    PrintTo(TextCase{c.text, {}}, os);
}

class IsHexBytesTextTest : public ::testing::TestWithParam<WholeBytesCase> {};

TEST_P(IsHexBytesTextTest, TellsWhetherTheTextReadsAsTheBytesItShows)
{
    EXPECT_EQ(IsHexBytesText(GetParam().text), GetParam().bWhole);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsHexBytesTextTest,
    ::testing::Values(WholeBytesCase{"01 03 00 00 00 08", true},
                      WholeBytesCase{"010300000008", true}, WholeBytesCase{" 0 1 03 ", true},
                      WholeBytesCase{"ff0a", true}, WholeBytesCase{"aB", true},
                      // Every text that HexTextToBytes reads as something else.
                      WholeBytesCase{"hello world!!", false}, WholeBytesCase{"G1", false},
                      WholeBytesCase{"1G", false}, WholeBytesCase{"1 23", false},
                      WholeBytesCase{"-1+1", false}, WholeBytesCase{"\t1", false},
                      WholeBytesCase{"0x01", false}, WholeBytesCase{"", false},
                      WholeBytesCase{"   ", false}));

TEST(BytesToHexText, ABlankBeforeEachByte)
{
    const BYTE reply[] = {0x01, 0x83, 0x02, 0xC0, 0xF1};
    std::string text = BytesToHexText(reply, sizeof reply);
    EXPECT_EQ(text, " 01 83 02 C0 F1");
    for (size_t k = 0; k < sizeof reply; ++k) {
        EXPECT_EQ(HexTextToBytes(text.substr(3 * k + 1, 2)), std::vector<BYTE>{reply[k]});
    }
    EXPECT_EQ(BytesToHexText(std::vector<BYTE>{}), "");
}

TEST(ExchangeRtu, SendsRequestsUpToTheLinksLimitAndRefusesLongerOnesUnsent)
{
    CScopedVirtualClock clock;
    CSimBus bus;
    CScopedSimLink link(bus);
    ASSERT_EQ(Link().Open_ComRtu(1, 200, 9600, 8, 0, 1), 1);
    std::vector<BYTE> reply{0xEE};
    std::vector<BYTE> longest(kRtuMaxRequest - 2, 0x01);
    EXPECT_FALSE(ExchangeRtu(1, longest, 100, reply)) << "nobody answers";
    ASSERT_EQ(link.Traffic().size(), 1u);
    EXPECT_EQ(link.Traffic()[0].strRequest.size(), kRtuMaxRequest);
    EXPECT_TRUE(reply.empty());

    longest.push_back(0x01);
    EXPECT_FALSE(ExchangeRtu(1, longest, 100, reply));
    EXPECT_EQ(link.Traffic().size(), 1u) << "nothing went out";
    Link().Close_ComRtu(1);
}

} // namespace
