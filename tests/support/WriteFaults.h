// One operator's write tried under each fault of the line or the module, with what the wire and
// the write's control show: the write goes out at most once, and again once per poll the module
// answered, until it is heard or refused; its control keeps the operator's value meanwhile.
#pragma once

#include "DeafLine.h"
#include "ModuleDescriptor.h"
#include "PollTimer.h"
#include "Resource.h"
#include "RtuFrame.h"
#include "SimLink.h"
#include "SimModule.h"
#include "SpoiltLine.h"
#include "Strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class EWriteFault {
    SpoiltReply, // the module carries the write out, but its replies to it are spoilt
    NeverHeard,  // the module never hears the write; nothing or noise comes back
    Refused,     // the module refuses the write and does not carry it out
    LineSilent,  // the module answers nothing at all for a while
    LineSlow,    // every reply of the module comes after the time-out for a while
};

struct SWriteFault {
    const char* pszName;
    EWriteFault eKind;
    ESpoil eSpoil = ESpoil::Silent;                       // SpoiltReply
    CDeafLine::EReply eReply = CDeafLine::EReply::Silent; // NeverHeard
    bool bChecksum = false; // the module's checksum must be on (a wrong checksum digit)
};

// The first kWriteMisses writes of a spoilt or unheard kind fail; each later one is heard.
inline constexpr int kWriteMisses = 2;
// Ticks the fault lasts (a spoilt or unheard write's misses are used up well within them), and
// ticks after it.
inline constexpr int kFaultTicks = 16;
inline constexpr int kTicksAfter = 24;

// The faults a write over the link is tried under.
inline std::vector<SWriteFault> WriteFaults(ELinkKind link)
{
    using K = EWriteFault;
    using R = CDeafLine::EReply;
    std::vector<SWriteFault> faults = {
        {"silent reply", K::SpoiltReply, ESpoil::Silent},
        {"noise", K::SpoiltReply, ESpoil::Garbled},
        {"other address", K::SpoiltReply, ESpoil::OtherAddress},
        {"padded", K::SpoiltReply, ESpoil::Padded},
        {"late", K::SpoiltReply, ESpoil::Late},
        {"never heard, silence", K::NeverHeard, ESpoil::Silent, R::Silent},
        {"never heard, noise", K::NeverHeard, ESpoil::Silent, R::Noise},
        {"refused", K::Refused, ESpoil::Silent, R::Refused},
        {"line silent", K::LineSilent},
        {"module slower than the time-out", K::LineSlow},
    };
    if (link == ELinkKind::Ascii) {
        faults.push_back({"stale", K::SpoiltReply, ESpoil::Stale});
        faults.push_back({"wrong checksum", K::SpoiltReply, ESpoil::WrongDigits, R::Silent, true});
    } else {
        faults.push_back({"bad CRC", K::SpoiltReply, ESpoil::BadCrc});
    }
    return faults;
}

// What one write under one fault showed.
struct SWriteRun {
    int nDuring = 0;                   // the write on the wire while the fault lasted
    int nAfter = 0;                    // and in the ticks after it
    bool bBackToBack = false;          // two writes went out with no other request between
    std::vector<std::string> controls; // the write's control after each tick
    std::vector<std::string> texts;    // what the dialog said of it after each tick
    std::vector<int> sent;             // the write on the wire so far, after each tick
};

// A lamp as a write's control: "R" lit, "W" dark, "G" not in use.
inline std::function<std::string()> LampShown(CDialog& dlg, int id)
{
    return [&dlg, id]() -> std::string {
        HICON icon = dlg.GetDlgItemAs<CStatic>(id)->GetIcon();
        return icon == IDI_LAMP_ON ? "R" : icon == IDI_LAMP_OFF ? "W" : "G";
    };
}

// The requests on the wire that are the write: ASCII as text, RTU as hex digits without the CRC.
inline bool IsTheWrite(const std::string& request, const std::string& write, ELinkKind link)
{
    if (link == ELinkKind::Ascii) return request.starts_with(write);
    return request.starts_with(Trim(BytesToHexText(HexTextToBytes(write))));
}

// Asks for the write with ask under the fault and ticks the dialog on; control gives the text that
// shows the write's control (nothing: the write has none).
inline SWriteRun RunWrite(CDialog& dlg, CSimModule& module, CScopedSimLink& link,
                          const SWriteFault& fault, const std::string& write, ELinkKind kind,
                          const std::function<void()>& ask,
                          const std::function<std::string()>& control = {},
                          const std::function<std::string()>& text = {},
                          UINT_PTR timer = kPollTimer)
{
    SWriteRun run;
    auto onWire = [&] {
        return static_cast<int>(std::ranges::count_if(
            link.Requests(), [&](const std::string& r) { return IsTheWrite(r, write, kind); }));
    };
    auto tick = [&](int n) {
        for (int i = 0; i < n && dlg.IsRunning(); ++i) {
            dlg.FireTimer(timer);
            if (control) run.controls.push_back(control());
            if (text) run.texts.push_back(text());
            run.sent.push_back(run.nDuring + onWire());
        }
    };
    auto writes = [&] {
        std::vector<std::string> wire = link.Requests();
        int n = onWire();
        link.ClearTraffic();
        for (size_t i = 1; i < wire.size(); ++i)
            run.bBackToBack = run.bBackToBack || (IsTheWrite(wire[i], write, kind) &&
                                                  IsTheWrite(wire[i - 1], write, kind));
        return n;
    };
    std::string start =
        kind == ELinkKind::Ascii ? write : Trim(BytesToHexText(HexTextToBytes(write)));
    link.ClearTraffic();
    {
        std::optional<CSpoiltLine> spoilt;
        std::optional<CDeafLine> deaf;
        switch (fault.eKind) {
        case EWriteFault::SpoiltReply:
            spoilt.emplace(fault.eSpoil, start, kWriteMisses);
            break;
        case EWriteFault::NeverHeard:
            deaf.emplace(module, fault.eReply, start, kWriteMisses);
            break;
        case EWriteFault::Refused:
            deaf.emplace(module, fault.eReply, start, 1);
            break;
        case EWriteFault::LineSilent:
            module.Faults().nSilentAfter = 0;
            break;
        case EWriteFault::LineSlow:
            module.Faults().dwDelayMs = 1000;
            break;
        }
        ask();
        tick(kFaultTicks);
        run.nDuring = writes();
        module.Faults() = {};
    }
    tick(kTicksAfter);
    run.nAfter = writes();
    return run;
}

// The write went out as the rule says, and its control (when it has one) showed the operator's
// value while the write was pending and heard (or what a heard write shows, where that differs),
// or the module's after a refusal.
inline void ExpectWriteRun(const SWriteRun& run, const SWriteFault& fault, const std::string& asked,
                           const std::string& reported, const std::string& heard = {})
{
    switch (fault.eKind) {
    case EWriteFault::SpoiltReply:
    case EWriteFault::NeverHeard:
        EXPECT_EQ(run.nDuring, kWriteMisses + 1) << "once, then once per answered poll";
        EXPECT_EQ(run.nAfter, 0) << "heard: no more";
        break;
    case EWriteFault::Refused:
        EXPECT_EQ(run.nDuring, 1) << "refused: never again";
        EXPECT_EQ(run.nAfter, 0);
        break;
    case EWriteFault::LineSilent:
    case EWriteFault::LineSlow:
        EXPECT_EQ(run.nDuring, 1) << "no poll answered: no more";
        EXPECT_EQ(run.nAfter, 1) << "once the module answers, once more";
        break;
    }
    EXPECT_FALSE(run.bBackToBack) << "a poll the module answered stands between two writes";
    if (run.controls.empty()) return;
    if (fault.eKind == EWriteFault::Refused) {
        EXPECT_EQ(run.controls.back(), reported) << "refused: the module's value again";
        return;
    }
    EXPECT_EQ(run.controls.back(), heard.empty() ? asked : heard);
    auto shown = std::ranges::find(run.controls, asked);
    EXPECT_EQ(std::find(shown, run.controls.end(), reported), run.controls.end())
        << "a reply undid the operator's value while the write was pending";
}

// A write its dialog itself sends again on every second tick until the module acknowledges it
// (the rack slot's switch): under spoilt replies it ends once heard, refused it goes out once, a
// silent line has it sent again and again (back to back too, no poll standing between), and its
// control keeps the operator's value, or shows the module's again after a refusal.
inline void ExpectRepeatedWriteRun(const SWriteRun& run, const SWriteFault& fault,
                                   const std::string& asked, const std::string& reported)
{
    switch (fault.eKind) {
    case EWriteFault::SpoiltReply:
    case EWriteFault::NeverHeard:
        // A late acknowledgement answers the send after it: it may end one send sooner.
        EXPECT_GE(run.nDuring, kWriteMisses);
        EXPECT_LE(run.nDuring, kWriteMisses + 1);
        EXPECT_EQ(run.nAfter, 0);
        break;
    case EWriteFault::Refused:
        EXPECT_EQ(run.nDuring, 1) << "refused: never again";
        EXPECT_EQ(run.nAfter, 0);
        break;
    case EWriteFault::LineSilent:
        EXPECT_EQ(run.nDuring, kFaultTicks / 2) << "every second tick";
        EXPECT_EQ(run.nAfter, 1);
        break;
    case EWriteFault::LineSlow:
        EXPECT_GE(run.nDuring, 1);
        EXPECT_LE(run.nDuring, kFaultTicks / 2);
        EXPECT_LE(run.nAfter, 1);
        break;
    }
    if (run.controls.empty()) return;
    if (fault.eKind == EWriteFault::Refused) {
        EXPECT_EQ(run.controls.back(), reported) << "refused: the module's value again";
        return;
    }
    EXPECT_EQ(run.controls, std::vector<std::string>(run.controls.size(), asked))
        << "the operator's value from the click on";
}

// What the dialog said of the write: never its heard text before the send that is heard went out
// (the first once the fault is over, for a line that answers nothing), and at the end its heard
// text, or its refusal text after a refusal.
inline void ExpectWriteText(const SWriteRun& run, const SWriteFault& fault,
                            const std::string& heard, const std::string& refused)
{
    if (run.texts.empty()) return;
    bool spoilt = fault.eKind == EWriteFault::SpoiltReply || fault.eKind == EWriteFault::NeverHeard;
    int heardSend = fault.eKind == EWriteFault::Refused ? 1 : spoilt ? kWriteMisses + 1 : 2;
    for (size_t i = 0; !heard.empty() && i < run.texts.size() && run.sent[i] < heardSend; ++i)
        EXPECT_NE(run.texts[i], heard) << "tick " << i << ": success claimed before it was heard";
    EXPECT_EQ(run.texts.back(), fault.eKind == EWriteFault::Refused ? refused : heard);
}

// One write an operator asks of a dialog, as a row of a family's table.
template <class Module> struct SWriteCase {
    const char* pszName;
    std::function<void(CDialog&)> ask;
    const char* pszWrite;                    // on the wire: ASCII text, RTU hex digits, no CRC
    std::function<bool(const Module&)> done; // the module carried the write out
    // What shows the write in the dialog (none: nothing does), with what it shows while the write
    // is pending and once it is heard, and what it shows after a refusal.
    std::function<std::function<std::string()>(CDialog&)> shown = {};
    std::string strAsked = {};
    std::string strRefused = {};
};

// The lamp that shows a write: lit once asked, dark again after a refusal.
inline std::function<std::function<std::string()>(CDialog&)> ShownByLamp(int id)
{
    return [id](CDialog& dlg) { return LampShown(dlg, id); };
}

// Runs the write of a row under the fault on an open dialog and checks the rule and the module.
template <class Module>
void ExpectWriteCase(CDialog& dlg, Module& module, CScopedSimLink& link, const SWriteFault& fault,
                     const SWriteCase<Module>& write, ELinkKind kind)
{
    SWriteRun run = RunWrite(
        dlg, module, link, fault, write.pszWrite, kind, [&] { write.ask(dlg); },
        write.shown ? write.shown(dlg) : nullptr);
    ExpectWriteRun(run, fault, write.strAsked, write.strRefused);
    EXPECT_EQ(write.done(module), fault.eKind != EWriteFault::Refused);
}
