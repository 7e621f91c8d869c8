// The per-channel-type ASCII dialogs on their one engine, against simulated modules: what the six
// dialogs share, case by case from one table, with CM6384P among them.
#include "PerChannelAsciiCases.h"

#include "ScriptedLine.h"
#include "Strings.h"

using namespace per_channel_test;

// Each dialog opens on its block: caption, first request and its time-out, the timer, the types the
// search read, the settings boxes usable only at address 0 (the protocol box of CM6307p always).
TEST_F(PerChannelAscii, EachDialogOpensOnItsBlockWithItsFirstRequestAndTimer)
{
    for (const SDialogCase& c : kCases) {
        SCOPED_TRACE(c.cls);
        Module(c).Faults().nSilentAfter = 0; // charges the whole time-out
        DWORD before = m_clock.TickCount();
        auto dlg = Open(c, Block(c));
        EXPECT_EQ(m_clock.TickCount() - before, c.firstTimeout);
        EXPECT_EQ(dlg->GetWindowText(), c.caption);
        EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$016"});
        EXPECT_EQ(dlg->TimerPeriod(kPollTimer), c.period);
        EXPECT_EQ(dlg->GetDlgItemText(IDC_PC_ADDRESS), "1");
        for (int ch = 0; ch < c.channels; ++ch) {
            EXPECT_EQ(TypeRow(*dlg, ch), c.pTypes ? c.typeRows[ch] : -1) << ch;
        }
        for (int id : {IDC_PC_BAUD, IDC_PC_CHECKSUM, IDC_PC_ZERO, IDC_PC_SPAN, IDC_PC_CJC})
            EXPECT_FALSE(dlg->GetDlgItem(id)->IsWindowEnabled()) << id;
        EXPECT_EQ(dlg->GetDlgItem(IDC_PC_PROTOCOL)->IsWindowEnabled(), c.readsTypes);
        EXPECT_EQ(dlg->GetDlgItem(kPcCheckIds[0])->IsWindowEnabled(), !c.readsTypes);
        Close(*dlg);
    }
}

// From the first tick: the mask read marks the boxes (or the types are read one channel a tick),
// then #AA every tick; readings show from the tick after the first poll.
TEST_F(PerChannelAscii, TheStartUpReadsLeadToPollingAndTheReadingsFollowOneTickLater)
{
    for (const SDialogCase& c : kCases) {
        SCOPED_TRACE(c.cls);
        CSimModule& module = Module(c);
        SetMask(module, 0x05); // CH0 and CH2
        auto dlg = Open(c, Block(c));
        TakeRequests();
        std::vector<std::string> expected;
        if (c.readsTypes) {
            for (int ch = 0; ch < c.channels; ++ch) expected.push_back(Format("$018C%d", ch));
        }
        expected.push_back("#01");
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(Values(*dlg, c), std::vector<std::string>(c.channels, ""));
            Tick(*dlg);
        }
        EXPECT_EQ(TakeRequests(), expected);
        EXPECT_EQ(Checked(*dlg, c), c.readsTypes ? std::string(c.channels, '0')
                                                 : "101" + std::string(c.channels - 3, '0'));
        Tick(*dlg);
        std::vector<std::string> values = Values(*dlg, c);
        for (int ch = 0; ch < c.channels; ++ch) {
            // Every channel of the dialog that reads the types; else the marked ones only.
            bool shown = c.readsTypes || ch == 0 || ch == 2;
            EXPECT_EQ(values[ch].size(), shown ? 7u : 0u) << ch;
        }
        Close(*dlg);
    }
}

// ">" and one reading a channel, all of one width: seven characters in engineering units and
// percent, four hex digits (checksum digits dropped).
TEST_F(PerChannelAscii, ReadingsAreCutBySizeWhateverTheChannelCount)
{
    struct Width {
        BYTE format;
        bool checksum;
        int width;
    } widths[] = {
        {0x00, false, 7}, {0x00, true, 7}, {0x01, false, 7}, {0x02, false, 4}, {0x02, true, 4},
    };
    for (const SDialogCase& c : kCases) {
        for (const Width& w : widths) {
            SCOPED_TRACE(Format("%s format %d checksum %d", c.cls, w.format, w.checksum));
            CSimModule& module = Module(c);
            module.SetFormat(w.format);
            module.SetChecksum(w.checksum);
            auto dlg = Open(c, Block(c, w.checksum ? "4" : "0", Format("%d", w.format)));
            Tick(*dlg, c.readsTypes ? 7 : 1);
            Tick(*dlg);
            std::string reply = m_link.Traffic().back().strReply;
            ASSERT_EQ(reply[0], '>');
            std::vector<std::string> values = Values(*dlg, c);
            for (int ch = 0; ch < c.channels; ++ch)
                EXPECT_EQ(values[ch], reply.substr(1 + ch * w.width, w.width)) << ch;
            Close(*dlg);
        }
    }
}

// A reply to #AA cut short, padded, or unsigned where the module's format is signed (and the
// reverse) answers no poll of the dialog: the fields show what they show under silence.
TEST_F(PerChannelAscii, AReplyOfAnotherShapeEmptiesTheFieldsAsSilence)
{
    struct Fault {
        const char* name;
        BYTE moduleFormat;
        const char* blockFormat;
        int cutTo;  // -1: whole
        int longTo; // 0: as the module writes it
    } faults[] = {
        {"cut", 0x00, "0", 30, 0},
        {"padded", 0x00, "0", -1, 80},
        {"hex for engineering units", 0x02, "0", -1, 0},
        {"signed for hex", 0x00, "2", -1, 0},
    };
    for (const SDialogCase& c : kCases) {
        for (const Fault& f : faults) {
            SCOPED_TRACE(Format("%s %s", c.cls, f.name));
            CSimModule& module = Module(c);
            SetMask(module, 0xFF);
            auto dlg = Open(c, Block(c, "0", f.blockFormat));
            StartPolling(*dlg, c);
            for (int ch = 0; ch < c.channels; ++ch) dlg->SetDlgItemText(IDC_PC_VALUE0 + ch, "old");
            module.SetFormat(f.moduleFormat);
            module.Faults().nCutTo = f.cutTo;
            module.Faults().nLongTo = f.longTo;
            Tick(*dlg, 2);
            EXPECT_EQ(Values(*dlg, c), std::vector<std::string>(c.channels, ""));
            Close(*dlg);
        }
    }
}

// The format fixes each reading's width: seven characters in engineering units and percent, four
// hex digits. Readings of their form in another width, or a hex reply that lost a reading's worth
// of digits, answer no poll of the dialog.
TEST_F(PerChannelAscii, EachReadingHasTheWidthOfItsFormat)
{
    struct Width {
        const char* format;
        const char* reading; // every channel's
        int readings;        // how many the reply carries, beyond the channels
        bool shown;
    } widths[] = {
        {"0", "+01.234", 0, true}, {"1", "+012.34", 0, true},   {"2", "0A1B", 0, true},
        {"0", "+1.234", 0, false}, {"0", "+001.234", 0, false}, {"2", "0A1B", -1, false},
        {"2", "00A1B", 0, false},  {"0", "+01.234", 1, false},
    };
    for (const SDialogCase& c : kCases) {
        for (const Width& w : widths) {
            SCOPED_TRACE(Format("%s format %s %s %d", c.cls, w.format, w.reading, w.readings));
            CSimModule& module = Module(c);
            SetMask(module, 0xFF);
            std::string reply = ">";
            for (int ch = 0; ch < c.channels + w.readings; ++ch) reply += w.reading;
            CScriptedLine line(CScriptedLine::Answering("#01", reply));
            auto dlg = Open(c, Block(c, "0", w.format));
            StartPolling(*dlg, c);
            Tick(*dlg);
            EXPECT_EQ(Values(*dlg, c),
                      std::vector<std::string>(c.channels, w.shown ? w.reading : ""));
            Close(*dlg);
        }
    }
}

TEST_F(PerChannelAscii, NoReplyWhilePollingEmptiesTheFields)
{
    for (const SDialogCase& c : kCases) {
        SCOPED_TRACE(c.cls);
        CSimModule& module = Module(c);
        auto dlg = Open(c, Block(c));
        StartPolling(*dlg, c);
        ASSERT_FALSE(Values(*dlg, c)[0].empty());
        module.Faults().nSilentAfter = 0;
        Tick(*dlg); // the last answered poll
        Tick(*dlg);
        EXPECT_EQ(Values(*dlg, c), std::vector<std::string>(c.channels, ""));
        Close(*dlg);
    }
}

// A type list's row goes out as its code; the acknowledgement says so, stores the code in the
// frame's list and the poll resumes; a refusal says so and stores nothing.
TEST_F(PerChannelAscii, ATypeChangeIsWrittenAndStoredOnceAcknowledged)
{
    for (const SDialogCase& c : kCases) {
        for (bool checksum : {false, true}) {
            SCOPED_TRACE(Format("%s checksum %d", c.cls, checksum));
            CSimModule& module = Module(c);
            module.SetChecksum(checksum);
            auto dlg = Open(c, Block(c, checksum ? "4" : "0"));
            StartPolling(*dlg, c);
            TakeRequests();
            ASSERT_TRUE(ui::ChooseRow(*dlg, IDC_PC_TYPE0 + c.change.channel, c.change.row));
            Tick(*dlg);
            std::string write = Format("$017C%dR%s", c.change.channel, c.change.code);
            EXPECT_EQ(TakeRequests(), std::vector<std::string>{Framed(write, checksum)});
            Tick(*dlg);
            EXPECT_EQ(Respond(*dlg), "Change Successful");
            EXPECT_EQ(SimHexPair(module.ChannelType(c.change.channel)), c.change.code);
            if (c.pTypes) {
                EXPECT_EQ((m_frame.*c.pTypes)[c.change.channel], c.change.code);
            }
            EXPECT_EQ(TakeRequests(), std::vector<std::string>{Framed("#01", checksum)});

            module.Faults().nSilentAfter = 0;
            int other = (c.change.channel + 1) % c.channels;
            std::string before = c.pTypes ? (m_frame.*c.pTypes)[other] : "";
            ASSERT_TRUE(ui::ChooseRow(*dlg, IDC_PC_TYPE0 + other, 0));
            Tick(*dlg, 2);
            EXPECT_EQ(Respond(*dlg), "Change UnSuccessful");
            EXPECT_EQ(TypeRow(*dlg, other), 0); // the list keeps the refused choice
            if (c.pTypes) {
                EXPECT_EQ((m_frame.*c.pTypes)[other], before);
            }
            Close(*dlg);
        }
    }
}

// The acknowledgement stores the channel and code that were sent, not a choice made while
// the write's reply was on its way; that choice is sent next, not dropped.
TEST_F(PerChannelAscii, AnAcknowledgedTypeIsStoredForTheChannelItWasSentFor)
{
    for (const SDialogCase& c : kCases) {
        SCOPED_TRACE(c.cls);
        CSimModule& module = Module(c);
        auto dlg = Open(c, Block(c));
        StartPolling(*dlg, c);
        TakeRequests();
        int other = (c.change.channel + 1) % c.channels;
        ui::ChooseRow(*dlg, IDC_PC_TYPE0 + c.change.channel, c.change.row);
        Tick(*dlg); // the first write goes out
        ui::ChooseRow(*dlg, IDC_PC_TYPE0 + other, 0);
        Tick(*dlg); // its reply is judged; the second write goes out
        if (c.pTypes) {
            EXPECT_EQ((m_frame.*c.pTypes)[c.change.channel], c.change.code);
            EXPECT_EQ((m_frame.*c.pTypes)[other], c.types[other]);
        }
        Tick(*dlg);
        std::string firstCode = c.row0Code;
        if (c.pTypes) {
            EXPECT_EQ((m_frame.*c.pTypes)[other], firstCode);
        }
        EXPECT_EQ(TakeRequests(), (std::vector<std::string>{
                                      Format("$017C%dR%s", c.change.channel, c.change.code),
                                      Format("$017C%dR%s", other, firstCode.c_str()), "#01"}));
        EXPECT_EQ(SimHexPair(module.ChannelType(other)), firstCode);
        Close(*dlg);
    }
}

// "&Update" writes the texts at once, sends the setting on the next tick (the module's checksum
// digits when its checksum is on), and the tick after judges it: the flag only on "!".
TEST_F(PerChannelAscii, UpdateSendsTheSettingAndTheFlagFollowsTheAcknowledgement)
{
    for (const SDialogCase& c : kCases) {
        for (bool answered : {true, false}) {
            for (bool checksum : {false, true}) {
                SCOPED_TRACE(Format("%s answered %d checksum %d", c.cls, answered, checksum));
                CSimModule& module = Module(c, 1, 19200);
                module.SetChecksum(checksum);
                m_frame.*c.pChanged = 0;
                m_frame.m_strNewRowText = {"", "", "", "", "keep"};
                m_frame.m_strNewParams = {"", "", "", "keep", "", ""};
                m_boxes.m_boxes.clear();
                auto dlg = Open(c, {"01", "07", checksum ? "4" : "0", "FF", "0", c.listed});
                StartPolling(*dlg, c);
                TakeRequests();
                ASSERT_TRUE(ui::Type(*dlg, IDC_PC_ADDRESS, "10"));
                ASSERT_TRUE(ui::ChooseRow(*dlg, IDC_PC_FORMAT, 1)); // "% of FSR"
                ASSERT_TRUE(ui::Click(*dlg, IDC_PC_UPDATE));
                EXPECT_EQ(m_frame.*c.pChanged, 0);
                if (!answered) module.Faults().nSilentAfter = 0;
                Tick(*dlg);
                std::string setting =
                    std::string("%010A") + c.asciiType + "07" + (checksum ? "4" : "0") + "1";
                EXPECT_EQ(TakeRequests(), std::vector<std::string>{Framed(setting, checksum)});
                Tick(*dlg);
                ASSERT_EQ(m_boxes.m_boxes.size(), 1u);
                EXPECT_EQ(m_boxes.m_boxes[0].text,
                          answered
                              ? "Setting Configuration OK!"
                              : "Setting Configuration Error! \r\n Please Connect Init* to GND!");
                EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
                EXPECT_EQ(m_boxes.m_boxes[0].nType, static_cast<UINT>(MB_ICONEXCLAMATION));
                EXPECT_EQ(m_frame.*c.pChanged, answered ? 1 : 0);
                EXPECT_FALSE(dlg->IsRunning());
                EXPECT_FALSE(m_link.IsAsciiOpen());
                if (answered) {
                    EXPECT_EQ(module.Address(), 0x0A);
                    // The texts come with the flag, on the acknowledgement.
                    EXPECT_EQ(m_frame.m_strNewRowText,
                              (RowTexts{c.listed, "0A", "19200", checksum ? "Enable" : "Disable",
                                        c.clearsDescription ? "" : "keep"}));
                    EXPECT_EQ(
                        m_frame.m_strNewParams,
                        (ModuleParamBlock{"0A", "07", checksum ? "4" : "0", "keep", "1", ""}));
                }
            }
        }
    }
}

// The outcome box of the piece's dialogs shows once the tick has ended, with the timer running:
// the ticks under it poll the new address, none inside another; the close path runs once, when
// the box is dismissed. CM6384P stops its timer first.
TEST_F(PerChannelAscii, TheOutcomeBoxShowsWhilePollingGoesOnBehindIt)
{
    for (const SDialogCase& c : kCases) {
        SCOPED_TRACE(c.cls);
        CSimModule& module = Module(c);
        m_frame.*c.pChanged = 0;
        auto dlg = Open(c, Block(c));
        StartPolling(*dlg, c);
        module.SetInput(0, 60.0);
        ui::Type(*dlg, IDC_PC_ADDRESS, "2");
        ui::Click(*dlg, IDC_PC_UPDATE);
        Tick(*dlg);
        TakeRequests();
        std::vector<std::string> underBox;
        std::string shownUnderBox;
        int flagUnderBox = -1;
        m_boxes.m_onBox = [&](const MessageBoxRequest&) {
            flagUnderBox = m_frame.*c.pChanged;
            for (int i = 0; i < 3 && dlg->IsTimerActive(kPollTimer); ++i)
                dlg->FireTimer(kPollTimer);
            underBox = TakeRequests();
            shownUnderBox = dlg->GetDlgItemText(IDC_PC_VALUE0);
            return IDOK;
        };
        Tick(*dlg);
        ASSERT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting Configuration OK!"});
        if (c.boxBehindPolling) {
            EXPECT_EQ(underBox, std::vector<std::string>(3, "#02"));
            EXPECT_FALSE(shownUnderBox.empty());
        } else {
            EXPECT_EQ(underBox, std::vector<std::string>{});
        }
        EXPECT_EQ(flagUnderBox, 0); // raised once the box is dismissed
        EXPECT_EQ(m_frame.*c.pChanged, 1);
        EXPECT_FALSE(dlg->IsRunning());
        EXPECT_FALSE(dlg->IsTimerActive(kPollTimer));
        EXPECT_FALSE(m_link.IsAsciiOpen());
        m_boxes.m_onBox = nullptr;
        m_boxes.m_boxes.clear();
    }
}

// At address 0 the protocol list can switch the module to Modbus RTU: the dialog's own form,
// addressed to 00.
TEST_F(PerChannelAscii, TheSwitchToModbusIsTheDialogsOwnFormAddressedTo00)
{
    for (const SDialogCase& c : kCases) {
        SCOPED_TRACE(c.cls);
        CSimModule& module = Module(c, 7, 9600);
        module.SetInit(true);
        auto dlg = Open(c, {"00", "06", "0", "FF", "0", c.listed});
        for (int id : {IDC_PC_BAUD, IDC_PC_CHECKSUM, IDC_PC_PROTOCOL})
            EXPECT_TRUE(dlg->GetDlgItem(id)->IsWindowEnabled()) << id;
        StartPolling(*dlg, c);
        ui::Type(*dlg, IDC_PC_ADDRESS, "5");
        ui::ChooseRow(*dlg, IDC_PC_PROTOCOL, 1);
        ui::Click(*dlg, IDC_PC_UPDATE);
        TakeRequests();
        Tick(*dlg);
        EXPECT_EQ(TakeRequests(), std::vector<std::string>{std::string("%0005") + c.modbusForm});
        module.SetInit(false);
        EXPECT_EQ(module.Protocol(), ESimProtocol::Rtu);
        EXPECT_EQ(module.Address(), 5);
        Close(*dlg);
    }
}

// Mend: a list with no row chosen keeps the module's code from the block; with none there, the
// setting is refused with a message and nothing is sent.
TEST_F(PerChannelAscii, AFormatListWithNoRowKeepsTheBlocksCodeOrRefuses)
{
    for (const SDialogCase& c : kCases) {
        SCOPED_TRACE(c.cls);
        Module(c);
        // "3" (ohms) has no row but is the module's code: it is kept.
        auto dlg = Open(c, Block(c, "0", "3"));
        EXPECT_EQ(dlg->GetDlgItemAs<CComboBox>(IDC_PC_FORMAT)->GetCurSel(), -1);
        ui::Type(*dlg, IDC_PC_ADDRESS, "2");
        ui::Click(*dlg, IDC_PC_UPDATE);
        TakeRequests();
        Tick(*dlg);
        // The module's format "3" goes out (and is what an acknowledgement writes back).
        EXPECT_EQ(TakeRequests(),
                  std::vector<std::string>{std::string("%0102") + c.asciiType + "0603"});
        Close(*dlg);

        // A Format that is no digit gives no code to keep.
        m_boxes.m_boxes.clear();
        m_frame.m_strNewParams = {};
        auto other = Open(c, Block(c, "0", "x"));
        ui::Type(*other, IDC_PC_ADDRESS, "2");
        ui::Click(*other, IDC_PC_UPDATE);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Choose the Data Format!"});
        EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
        TakeRequests();
        Tick(*other, 2);
        for (const std::string& r : TakeRequests()) EXPECT_NE(r[0], '%') << r;
        Close(*other);
    }
}

// Address 0, and a text that is no number, is refused with the dialogs' own text and the
// application's title; mend: a number above 255 (a typed "300" once went out as "12C") gets the
// pattern's check.
TEST_F(PerChannelAscii, OnlyAddressesOneTo255AreTaken)
{
    for (const SDialogCase& c : kCases) {
        SCOPED_TRACE(c.cls);
        Module(c);
        auto dlg = Open(c, Block(c));
        struct Typed {
            const char* text;
            const char* box;
            const char* caption;
        } typed[] = {{"0", "地址不可设置为0", "talvik4333"},
                     {"300", "Address must be 0 to 255!", ""},
                     {"abc", "地址不可设置为0", "talvik4333"}};
        for (const Typed& t : typed) {
            m_boxes.m_boxes.clear();
            ui::Type(*dlg, IDC_PC_ADDRESS, t.text);
            ui::Click(*dlg, IDC_PC_UPDATE);
            ASSERT_EQ(m_boxes.m_boxes.size(), 1u) << t.text;
            EXPECT_EQ(m_boxes.m_boxes[0].text, t.box);
            EXPECT_EQ(m_boxes.m_boxes[0].caption, t.caption);
        }
        TakeRequests();
        Tick(*dlg, 3);
        for (const std::string& r : TakeRequests()) EXPECT_NE(r[0], '%') << r;
        EXPECT_EQ(m_frame.m_strNewParams[0], "");
        Close(*dlg);
    }
}

// The dialogs' lives end on the line: a failed open keeps the dialog polling a line that answers
// nothing.
TEST_F(PerChannelAscii, OpenComErrorKeepsPollingAnUnopenedLine)
{
    for (const SDialogCase& c : kCases) {
        SCOPED_TRACE(c.cls);
        m_link.Detach(1);
        m_boxes.m_boxes.clear();
        auto dlg = Open(c, Block(c));
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Open Com Error!"});
        EXPECT_TRUE(dlg->IsTimerActive(kPollTimer));
        StartPolling(*dlg, c);
        EXPECT_EQ(Checked(*dlg, c), std::string(c.channels, '0'));
        EXPECT_EQ(Values(*dlg, c), std::vector<std::string>(c.channels, ""));
        Close(*dlg);
    }
}

// The listed name, the module's own and any other all start with the mask read: the dispatch opens
// these dialogs only for their models, and the first request is the one the dialogs are built on.
TEST_F(PerChannelAscii, EveryNameStartsWithTheMaskRead)
{
    for (const SDialogCase& c : kCases) {
        for (const char* name : {c.listed, c.sim, ""}) {
            SCOPED_TRACE(std::string(c.cls) + " " + name);
            Module(c);
            ModuleParamBlock block = Block(c);
            block[kModule] = name;
            auto dlg = Open(c, block);
            Tick(*dlg);
            EXPECT_EQ(TakeRequests(),
                      (std::vector<std::string>{"$016", c.readsTypes ? "$018C0" : "#01"}));
            Close(*dlg);
        }
    }
}
