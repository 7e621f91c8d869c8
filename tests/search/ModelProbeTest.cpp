// The model probes: which replies count as a module's answer, and the name read from it.
#include "ModelProbe.h"

#include "SimCodec.h"

#include <gtest/gtest.h>

namespace {

std::vector<BYTE> Bytes(const std::string& bytes)
{
    return {bytes.begin(), bytes.end()};
}
std::vector<BYTE> Framed(const std::string& bytes)
{
    return Bytes(SimAppendCrc(bytes));
}

} // namespace

TEST(ModelProbe, OnlyAWellFormedReplyToTheReadCounts)
{
    std::string request = {0x05, 0x03, 0x27, 0x10, 0x00, 0x02};
    EXPECT_EQ(ModelProbeRequest(5, kProbeRegisterFirst), Bytes(request));
    std::string good = {0x05, 0x03, 0x04, 0x63, static_cast<char>(0x84), 0x00, 0x00};
    std::vector<BYTE> badCrc = Framed(good);
    badCrc.back() ^= 0x01;
    std::vector<BYTE> trailing = Framed(good);
    trailing.push_back(0x00);
    std::vector<BYTE> exceptionTrailing = Framed({0x05, static_cast<char>(0x83), 0x02});
    exceptionTrailing.insert(exceptionTrailing.end(), {0x00, 0x00, 0x00, 0x00});
    std::vector<BYTE> brokenTrailing = badCrc;
    brokenTrailing.push_back(0x00);
    struct Case {
        const char* what;
        std::vector<BYTE> reply;
        std::optional<WORD> word;
    } cases[] = {
        {"a reply to the read", Framed(good), 0x6384},
        {"no reply", {}, std::nullopt},
        {"an exception reply", Framed({0x05, static_cast<char>(0x83), 0x02}), std::nullopt},
        {"the request echoed by the adapter", Framed(request), std::nullopt},
        {"another module's reply", Framed({0x06, 0x03, 0x04, 0x63, static_cast<char>(0x84), 0, 0}),
         std::nullopt},
        {"another function", Framed({0x05, 0x04, 0x04, 0x63, static_cast<char>(0x84), 0, 0}),
         std::nullopt},
        {"a byte count other than 4", Framed({0x05, 0x03, 0x02, 0x63, static_cast<char>(0x84)}),
         std::nullopt},
        {"a broken CRC", badCrc, std::nullopt},
        // A stray byte after the answer, as some adapters add when they turn the line round.
        {"a byte more", trailing, 0x6384},
        {"an exception reply padded to nine bytes and more", exceptionTrailing, std::nullopt},
        {"a broken CRC with a byte more", brokenTrailing, std::nullopt},
        {"a short reply", Bytes(good.substr(0, 5)), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ModelProbeWord(c.reply, 5), c.word);
    }
}

TEST(ModelProbe, TheNameIsThreeDecimalNibblesAndAHexOne)
{
    EXPECT_EQ(ModelProbeName(0x6384), "6384");
    EXPECT_EQ(ModelProbeName(0xA123), "10123");
    EXPECT_EQ(ModelProbeName(0x233E), "233E");
    EXPECT_EQ(ModelProbeName(0xFFFF), "151515F");
    EXPECT_EQ(ModelProbeName(0x0000), "0000");
}
