// What every dialog shows when its module's replies go wrong after the dialog opened: a reply to
// a reading poll that is cut short, padded, of another lead, from another address or the late
// reply of another request (but the same read of another channel), a Modbus exception to a read,
// and (with the checksum on) a reply whose checksum digits are missing or wrong are each a missed
// exchange, shown exactly as silence is shown. The modules' values change as the spoiling starts,
// so a dialog that took a spoilt reply cannot show what silence shows by chance.
#include "EveryDialog.h"

#include "ModuleDialogs.h"
#include "ScreenTexts.h"
#include "SpoiltLine.h"
#include "WireRequests.h"

#include <map>
#include <optional>
#include <sstream>
#include <utility>

namespace {

using Prefixes = std::vector<std::string>;

// The reading polls of every ASCII dialog, by the start of their requests (none: the dialog reads
// only when asked). The rack's main units read only as they open: their opening reads stand for
// them.
const std::map<std::string, Prefixes>& AsciiPolls()
{
    static const std::map<std::string, Prefixes> polls = {
        {"CM63508", {"#01"}},
        {"CM6363", {"#0A"}},
        {"CM6380", {"#17", "$17A"}},
        {"CM6309x", {"#13", "$13A"}},
        {"CM6307p", {"#01"}},
        {"CM6382p", {"#01"}},
        {"CM63828p", {"#01"}},
        {"CM6384", {"#01"}},
        {"CM6387", {"#06", "$066", "@06DI"}},
        {"CM6384P", {"#01"}},
        {"CM6386", {"#10"}},
        {"CM6386P", {"#01"}},
        {"CM6381p", {"#01"}},
        {"CM6359", {"$016"}},
        {"CM6359p", {"$076C", "$07I"}},
        {"CM6373", {"$016", "#01"}},
        {"CV1333E", {"$50"}},
        {"CV1327", {"$50S06"}},
        {"CV1359", {"$50S1C06", "$50S1C16", "$50S1C26", "$50S1C36"}},
        {"CV1300", {"#50S1C"}},
        {"CV1384H", {"#50S3"}},
    };
    return polls;
}

bool ReadsOnlyAtOpening(const SDialogRow& row)
{
    return row.name == "CV1333E" || row.name == "CV1333M";
}

bool IsPoll(const std::string& request, const Prefixes& prefixes)
{
    for (const std::string& p : prefixes) {
        if (request.starts_with(p)) return true;
    }
    return false;
}

std::vector<SDialogRow> RowsOfLink(ELinkKind link)
{
    std::vector<SDialogRow> rows;
    for (const SDialogRow& row : EveryDialogRows()) {
        if (row.eLink == link) rows.push_back(row);
    }
    return rows;
}

TEST(EveryPollReplyDialog, EveryAsciiDialogNamesItsPolls)
{
    std::vector<std::string> missing;
    for (const SDialogRow& row : RowsOfLink(ELinkKind::Ascii)) {
        if (!AsciiPolls().contains(row.name)) missing.push_back(row.name);
    }
    EXPECT_EQ(missing, std::vector<std::string>{});
}

class CSpoiltReplyFixture : public CEveryDialogTest {
protected:
    // The screen and message boxes after the dialog ran well for a while, then the chosen
    // requests' replies were spoilt so for some ticks (from the start where it reads only then).
    // The modules' values change as the spoiling starts, so a dialog that takes a spoilt reply
    // shows other values than one that keeps what it had; where the spoiling starts with the
    // opening, no value came before it.
    std::vector<std::string> ScreenWith(const SDialogRow& row, ESpoil spoil,
                                        const CSpoiltLine::Choice& choice)
    {
        m_bus = CSimBus{};
        RestartClock();
        m_boxes.m_boxes.clear();
        std::optional<CSpoiltLine> line;
        if (ReadsOnlyAtOpening(row)) line.emplace(spoil, choice);
        std::unique_ptr<CDialog> dlg = Open(row);
        Tick(*dlg, 8);
        if (!line) {
            ChangeModuleValues();
            line.emplace(spoil, choice);
        }
        Tick(*dlg, 10);
        std::vector<std::string> screen = ScreenTexts(*dlg);
        EXPECT_GT(line->Spoilt(), 0) << "no request was spoilt";
        line.reset();
        for (const std::string& box : m_boxes.Texts()) screen.push_back("box: " + box);
        if (dlg->IsRunning()) dlg->OnCancel();
        CloseLine();
        return screen;
    }
    void ExpectEachAsSilence(const SDialogRow& row, const std::vector<ESpoil>& spoils,
                             const CSpoiltLine::Choice& choice)
    {
        std::vector<std::string> silent = ScreenWith(row, ESpoil::Silent, choice);
        for (ESpoil spoil : spoils) {
            SCOPED_TRACE(SpoilName(spoil));
            EXPECT_EQ(ScreenWith(row, spoil, choice), silent);
        }
    }
};

// ---- readings: ASCII polls

class EveryPollReply : public CSpoiltReplyFixture {};

// The same read of another channel: a request that differs from this one in digits only.
bool ReadsAnotherChannel(const std::string& request, const std::string& other)
{
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (request.size() != other.size() || request == other) return false;
    for (size_t i = 0; i < request.size(); ++i) {
        if (request[i] != other[i] && !(digit(request[i]) && digit(other[i]))) return false;
    }
    return true;
}

// The polls whose stale reply (the reply to the last request of another text) a dialog can tell
// from their own: the reply to the same read of another channel has the form of the poll's own
// and names no channel, so nothing in it shows that it is not the poll's.
CSpoiltLine::Choice WithTellableStaleReply(CSpoiltLine::Choice polls)
{
    return [polls = std::move(polls), last = std::string(),
            other = std::string()](const std::string& request) mutable {
        if (request != last) other = std::exchange(last, request);
        return polls(request) && !ReadsAnotherChannel(request, other);
    };
}

TEST_P(EveryPollReply, AReplyOfAnotherShapeShowsAsSilence)
{
    const Prefixes& polls = AsciiPolls().at(GetParam().name);
    auto isPoll = [&polls](const std::string& r) { return IsPoll(r, polls); };
    ExpectEachAsSilence(
        GetParam(), {ESpoil::Cut, ESpoil::Padded, ESpoil::OtherLead, ESpoil::OtherAddress}, isPoll);
    ExpectEachAsSilence(GetParam(), {ESpoil::Stale}, WithTellableStaleReply(isPoll));
}

INSTANTIATE_TEST_SUITE_P(, EveryPollReply,
                         ::testing::ValuesIn(RowsWhere(
                             AsciiPolls(), [](const Prefixes& polls) { return !polls.empty(); })),
                         DialogRowName);
// The dialogs' other channel counts, the one-channel models among them.
INSTANTIATE_TEST_SUITE_P(ChannelCounts, EveryPollReply,
                         ::testing::ValuesIn(OtherChannelCountRows()), DialogRowModelName);

// ---- Modbus exceptions

class EveryModbusException : public CSpoiltReplyFixture {};

TEST_P(EveryModbusException, AnExceptionToEveryReadShowsAsSilence)
{
    ExpectEachAsSilence(GetParam(), {ESpoil::Refused}, IsRtuReadRequest);
}

INSTANTIATE_TEST_SUITE_P(, EveryModbusException, ::testing::ValuesIn(RowsOfLink(ELinkKind::Rtu)),
                         DialogRowName);

// ---- the checksum

// A row with the module's checksum on, and the block (or the rack's block) saying so.
SDialogRow WithChecksum(SDialogRow row)
{
    std::istringstream lines(row.bus);
    std::string bus;
    for (std::string line; std::getline(lines, line);) bus += line + " checksum=on\n";
    row.bus = bus;
    if (!row.rack[0].empty()) {
        row.rack[kCheck] = "4";
    } else {
        row.block[kCheck] = "4";
    }
    return row;
}

std::vector<SDialogRow> ChecksumRows()
{
    std::vector<SDialogRow> rows;
    for (const SDialogRow& row : RowsOfLink(ELinkKind::Ascii)) rows.push_back(WithChecksum(row));
    return rows;
}

class EveryChecksumReply : public CSpoiltReplyFixture {};

TEST_P(EveryChecksumReply, AReplyWithoutItsDigitsOrWithWrongOnesShowsAsSilence)
{
    auto every = [](const std::string&) { return true; };
    ExpectEachAsSilence(GetParam(), {ESpoil::NoDigits, ESpoil::WrongDigits}, every);
}

INSTANTIATE_TEST_SUITE_P(, EveryChecksumReply, ::testing::ValuesIn(ChecksumRows()), DialogRowName);

} // namespace
