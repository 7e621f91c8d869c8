// The enable mask's state through clicks, writes and reads: what the boxes show, what the module
// is known to hold, and whether its mask is missing.
#include "EnableMask.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// One event: a click on channel n (T), the write going out (S), heard (H) or refused (R), the
// read going out (A), answered with the bits of n on eight channels (B) or on six (6), or lost
// with a click's write dropped (n = 1) or none waiting (n = 0) (F).
struct SEvent {
    char cOp;
    int n = 0;
};

std::array<bool, 8> Bits(int n)
{
    std::array<bool, 8> bits{};
    for (size_t k = 0; k < bits.size(); ++k) bits[k] = ((n >> k) & 1) != 0;
    return bits;
}

void Apply(CEnableMask& mask, const SEvent& event)
{
    switch (event.cOp) {
    case 'T':
        mask.Toggle(event.n);
        break;
    case 'S':
        mask.Send();
        break;
    case 'H':
        mask.Heard();
        break;
    case 'R':
        mask.Refused();
        break;
    case 'A':
        mask.Await();
        break;
    case 'B':
        mask.Read(Bits(event.n));
        break;
    case '6':
        mask.Read(Bits(event.n), 6);
        break;
    case 'F':
        mask.Forget(event.n != 0);
        break;
    default:
        FAIL() << event.cOp;
    }
}

} // namespace

TEST(EnableMask, BoxesModuleAndMissingFollowTheEvents)
{
    constexpr auto kNone = EForgottenMask::NoChannel;
    constexpr auto kBefore = EForgottenMask::MarksBeforeRead;
    const CEnableMask::Marks kAll = {1, 1, 1, 1, 1, 1, 1, 1};
    struct Case {
        const char* name;
        EForgottenMask eForgotten;
        CEnableMask::Marks start;
        std::vector<SEvent> events;
        const char* boxes;  // the boxes' two digits, CH4-CH7 first
        const char* module; // the module's mask
        bool bMissing;
    } cases[] = {
        // clang-format off
        {"a click shows at once", kNone, {}, {{'T', 0}, {'T', 5}}, "21", "00", false},
        {"a click undone", kNone, {}, {{'T', 2}, {'T', 2}}, "00", "00", false},
        {"heard: the module holds what was sent", kNone, {}, {{'T', 0}, {'S'}, {'H'}},
            "01", "01", false},
        {"a click after the send is not the module's", kNone, {},
            {{'T', 0}, {'S'}, {'T', 1}, {'H'}}, "03", "01", false},
        {"refused: the boxes show the module's mask", kNone, kAll, {{'T', 7}, {'S'}, {'R'}},
            "FF", "FF", false},
        {"refused after a heard write", kNone, {},
            {{'T', 0}, {'S'}, {'H'}, {'T', 4}, {'S'}, {'R'}}, "01", "01", false},
        {"a read marks, never unmarks", kNone, {}, {{'T', 1}, {'B', 0x81}}, "83", "83", false},
        {"a read marks the dialog's channels only", kNone, {}, {{'6', 0xC1}}, "01", "01", false},
        {"a refused read marks none", kNone, {}, {{'T', 3}, {'B', 0}}, "08", "08", false},
        {"lost, a write dropped: no box", kNone, {}, {{'A'}, {'T', 0}, {'T', 6}, {'F', 1}},
            "00", "00", true},
        {"lost, a write dropped: the marks before", kBefore, {},
            {{'T', 2}, {'A'}, {'T', 0}, {'F', 1}}, "04", "00", true},
        {"lost, nothing waiting: the boxes stay", kBefore, {}, {{'A'}, {'T', 0}, {'F', 0}},
            "01", "00", true},
        {"missing: a click changes nothing", kNone, {}, {{'F', 0}, {'T', 0}}, "00", "00", true},
        {"read again: the clicks count again", kNone, {}, {{'F', 0}, {'B', 0x10}, {'T', 0}},
            "11", "10", false},
        // clang-format on
    };
    for (const Case& c : cases) {
        CEnableMask mask(c.eForgotten, c.start);
        for (const SEvent& event : c.events) Apply(mask, event);
        EXPECT_EQ(mask.Text(), c.boxes) << c.name;
        EXPECT_EQ(ChannelMaskText(mask.Module()), c.module) << c.name;
        EXPECT_EQ(mask.Missing(), c.bMissing) << c.name;
    }
}

TEST(EnableMask, TheWriteCarriesTheBoxesAsTheyStandWhenItGoesOut)
{
    CEnableMask mask(EForgottenMask::NoChannel);
    EXPECT_TRUE(mask.Toggle(4));
    EXPECT_EQ(mask.Send(), "10");
    mask.Forget(false);
    EXPECT_FALSE(mask.Toggle(0)); // the box is put back by the dialog
    EXPECT_EQ(mask.Send(), "10");
}
