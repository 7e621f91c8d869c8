// The reader of a channel's type or range reply, which the search and the module dialogs share:
// which replies to "$AA8Cn" give a code, and which code.
#include "AsciiReply.h"

#include <gtest/gtest.h>

TEST(ChannelCodeReply, OnlyTheWholeReplyOfTheAddressAndChannelAskedGivesTheCode)
{
    struct Case {
        const char* what;
        const char* reply; // without checksum digits
        const char* address;
        int channel;
        std::optional<std::string> code;
    } cases[] = {
        {"a thermocouple type", "!01C3R0F", "01", 3, "0F"},
        {"an input range", "!01C0R07", "01", 0, "07"},
        {"an RTD type with letters", "!1CC5R2B", "1C", 5, "2B"},
        {"the last of eight channels", "!FFC7R0D", "FF", 7, "0D"},
        {"an output range", "!20C1R31", "20", 1, "31"},
        {"the channel before's reply, come late", "!01C2R0F", "01", 3, std::nullopt},
        {"another module's reply", "!02C3R0F", "01", 3, std::nullopt},
        {"cut by one character", "!01C3R0", "01", 3, std::nullopt},
        {"cut after the channel", "!01C3R", "01", 3, std::nullopt},
        {"one character more", "!01C3R0F0", "01", 3, std::nullopt},
        {"padded", "!01C3R0F567890123456789", "01", 3, std::nullopt},
        {"not a hex code", "!01C3R0G", "01", 3, std::nullopt},
        {"a value in place of the code", "!01C3R+5", "01", 3, std::nullopt},
        {"a data lead", ">01C3R0F", "01", 3, std::nullopt},
        {"a refusal", "?01", "01", 3, std::nullopt},
        {"a bare acknowledgement", "!01", "01", 3, std::nullopt},
        {"a configuration reply", "!01FF0600", "01", 3, std::nullopt},
        {"a name reply", "!019384P", "01", 3, std::nullopt},
        {"nothing", "", "01", 3, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ChannelCodeOfAsciiReply(c.reply, c.address, c.channel), c.code);
    }
}

TEST(ChannelCodeReply, TheLeadAndAddressAreReadBeforeTheData)
{
    EXPECT_EQ(AsciiReplyData("!01C3R0F", '!', "01"), "C3R0F");
    EXPECT_EQ(AsciiReplyData("!01", '!', "01"), "");
    EXPECT_EQ(AsciiReplyData("?01", '?', "01"), "");
    EXPECT_EQ(AsciiReplyData(">+012.34", '>', "01"), "+012.34") << "a data reply has no address";
    EXPECT_EQ(AsciiReplyData("!02C3R0F", '!', "01"), std::nullopt);
    EXPECT_EQ(AsciiReplyData("?01", '!', "01"), std::nullopt);
    EXPECT_EQ(AsciiReplyData("!0", '!', "01"), std::nullopt);
}
