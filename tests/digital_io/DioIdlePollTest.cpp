// The idle poll cycles of the ASCII digital I/O dialog.
#include "digital_io/DioIdlePoll.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// n requests of a cycle, "S" for the status and the channel for a counter, comma-separated; each
// reply is taken for what its request asked.
std::string Cycle(CDioIdlePoll::EForm form, int inputs, int n)
{
    CDioIdlePoll poll;
    std::string text;
    for (int i = 0; i < n; ++i) {
        int request = poll.Next(form, inputs);
        int reply = poll.ReplyChannel();
        EXPECT_EQ(request, reply);
        text += (i ? "," : "") + (request < 0 ? std::string("S") : std::to_string(request));
    }
    return text;
}

} // namespace

TEST(DioIdlePoll, CyclesByFormAndInputCount)
{
    using P = CDioIdlePoll;
    struct Case {
        P::EForm form;
        int inputs;
        int n;
        const char* requests;
    } cases[] = {
        {P::Interleaved, 4, 14, "0,S,1,2,S,3,S,0,S,1,2,S,3,S"},
        {P::Plain, 4, 10, "0,1,2,3,S,0,1,2,3,S"},
        {P::Interleaved, 0, 3, "S,S,S"},
        {P::Plain, 0, 3, "S,S,S"},
        {P::StatusOnly, 8, 3, "S,S,S"},
        {P::Interleaved, 3, 6, "0,S,1,2,S,0"},
        {P::Interleaved, 1, 6, "0,S,0,S,0,S"},
        {P::Plain, 12, 14, "0,1,2,3,4,5,6,7,8,9,10,11,S,0"},
        {P::Interleaved, 16, 26, "0,S,1,2,S,3,4,S,5,6,S,7,8,S,9,10,S,11,12,S,13,14,S,15,S,0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Cycle(c.form, c.inputs, c.n), c.requests) << c.form << " " << c.inputs;
}

TEST(DioIdlePoll, FormFollowsChecksumModelAndTheAnswerBefore)
{
    using P = CDioIdlePoll;
    struct Case {
        const char* model;
        bool checksum;
        bool afterAnswer;
        P::EForm form;
    } cases[] = {
        {"6373", false, false, P::Interleaved}, {"6373", true, false, P::Plain},
        {"6373", false, true, P::Plain},        {"6373", true, true, P::Plain},
        {"6328", false, false, P::StatusOnly},  {"9322", true, false, P::StatusOnly},
        {"6322", false, true, P::StatusOnly},   {"6322", true, true, P::Plain},
        {"6328D", true, true, P::StatusOnly},   {"6390", false, false, P::Interleaved},
    };
    for (const Case& c : cases)
        EXPECT_EQ(P::FormOf(c.model, c.checksum, c.afterAnswer), c.form)
            << c.model << c.checksum << c.afterAnswer;
}

// Each reply is judged by the request it answers, also where the form changes between requests.
TEST(DioIdlePoll, TheReplyIsWhatTheLastRequestAskedWhateverTheFormBefore)
{
    using P = CDioIdlePoll;
    struct Case {
        std::vector<P::EForm> forms;
        const char* requests;
    } cases[] = {
        {{P::Interleaved, P::Interleaved, P::Plain, P::Interleaved}, "0,S,1,2"},
        {{P::Interleaved, P::Interleaved, P::Plain, P::Plain}, "0,S,1,2"},
        {{P::Interleaved, P::StatusOnly, P::Plain}, "0,S,0"},
        {{P::Plain, P::Plain, P::Plain, P::Plain, P::Plain, P::Interleaved}, "0,1,2,3,S,0"},
    };
    for (const Case& c : cases) {
        CDioIdlePoll poll;
        std::string text;
        for (P::EForm form : c.forms) {
            int request = poll.Next(form, 4);
            EXPECT_EQ(poll.ReplyChannel(), request) << c.requests;
            text += (text.empty() ? "" : ",") +
                    (request < 0 ? std::string("S") : std::to_string(request));
        }
        EXPECT_EQ(text, c.requests);
    }
}
