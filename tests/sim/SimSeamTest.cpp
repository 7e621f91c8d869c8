// The simulated link put into the program's link seam and taken out again.
#include "Clock.h"
#include "SimLink.h"

#include <gtest/gtest.h>

TEST(SimSeam, ScopedLinkRoutesTheProgramsCallsAndRestoresTheRealLink)
{
    ASSERT_EQ(&Link(), &RealLink());
    CScopedVirtualClock clock;
    CSimBus bus;
    bus.Add("6384", 1, 9600);
    {
        CScopedSimLink link(bus);
        EXPECT_EQ(Link().Open_ComAscii, CSimLink::Table().Open_ComAscii);
        ASSERT_EQ(Link().Open_ComAscii(1, 9600, 8, 0, 0), 0);
        char reply[200] = {};
        WORD length = 0;
        EXPECT_EQ(Link().Send_Receive_Ascii(1, "$01M", reply, 100, 0, &length), 0);
        EXPECT_STREQ(reply, "!016384");
        EXPECT_EQ(link.Requests(), std::vector<std::string>{"$01M"});
    }
    EXPECT_EQ(&Link(), &RealLink());
    EXPECT_EQ(Link().Open_ComAscii, RealLink().Open_ComAscii);
}
