// The writes of both per-channel engines under every fault of the line or the module: a channel's
// type and the enable mask go out once, and again once per poll the module answered, until the
// module hears or refuses them; the list or box keeps the operator's choice meanwhile, shows the
// module's own again after a refusal, and the module ends with the operator's value or its own.
#include "PerChannelAsciiCases.h"
#include "WriteFaults.h"
#include "analog_input/M6384pModbus.h"

using namespace per_channel_test;

namespace {

std::function<std::string()> RowShown(CDialog& dlg, int channel)
{
    return [&dlg, channel] {
        return std::to_string(dlg.GetDlgItemAs<CComboBox>(IDC_PC_TYPE0 + channel)->GetCurSel());
    };
}

std::function<std::string()> BoxShown(CDialog& dlg, int channel)
{
    return [&dlg, channel] {
        return std::string(dlg.IsDlgButtonChecked(kPcCheckIds[static_cast<size_t>(channel)]) ? "1"
                                                                                             : "0");
    };
}

// The type write of a case's change, its list showing the row asked or the module's after a
// refusal.
SWriteCase<CSimModule> TypeWrite(const SDialogCase& c, int moduleRow)
{
    STypeChange change = c.change;
    return {"type",
            [change](CDialog& dlg) {
                ASSERT_TRUE(ui::ChooseRow(dlg, IDC_PC_TYPE0 + change.channel, change.row));
            },
            "",
            [change](const CSimModule& m) {
                return SimHexPair(m.ChannelType(change.channel)) == change.code;
            },
            [channel = change.channel](CDialog& dlg) { return RowShown(dlg, channel); },
            std::to_string(change.row),
            std::to_string(moduleRow)};
}

// A click on CH1's box, the module's mask marking CH0 only.
template <class Module>
SWriteCase<Module> MaskWrite(const char* write, std::function<bool(const Module&)> done)
{
    return {"mask",
            [](CDialog& dlg) { ASSERT_TRUE(ui::Click(dlg, kPcCheckIds[1])); },
            write,
            std::move(done),
            [](CDialog& dlg) { return BoxShown(dlg, 1); },
            "1",
            "0"};
}

bool MaskIs03(const CSimModule& m)
{
    return dynamic_cast<const CSimAnalogInput8&>(m).EnableMask() == 0x03;
}

} // namespace

TEST_F(PerChannelAscii, TheTypeAndMaskWritesUnderEveryFault)
{
    for (const SDialogCase& c : kCases) {
        for (const SWriteFault& f : WriteFaults(ELinkKind::Ascii)) {
            for (bool mask : {false, true}) {
                // The dialogs that read the types have no enable boxes.
                if (mask && (c.readsTypes || c.channels < 2)) continue;
                SCOPED_TRACE(std::string(c.cls) + (mask ? " mask, " : " type, ") + f.pszName);
                CSimModule& module = Module(c);
                module.SetChecksum(f.bChecksum);
                if (mask) SetMask(module, 0x01);
                auto dlg = Open(c, Block(c, f.bChecksum ? "4" : "0"));
                StartPolling(*dlg, c);
                int moduleRow = TypeRow(*dlg, c.change.channel);
                SWriteCase<CSimModule> write =
                    mask ? MaskWrite<CSimModule>("$01503", MaskIs03) : TypeWrite(c, moduleRow);
                std::string wire = Format("$017C%dR%s", c.change.channel, c.change.code);
                if (!mask) write.pszWrite = wire.c_str();
                ExpectWriteCase(*dlg, module, m_link, f, write, ELinkKind::Ascii);
                // The search's list of types takes only a type the module heard.
                if (!mask && c.pTypes) {
                    bool heard = f.eKind != EWriteFault::Refused;
                    EXPECT_EQ((m_frame.*c.pTypes)[static_cast<size_t>(c.change.channel)],
                              heard ? c.change.code : c.types[c.change.channel]);
                }
                Close(*dlg);
            }
        }
    }
}

// A type list and an enable box changed before one tick: both writes reach the module, and two
// type lists changed so both reach it too.
TEST_F(PerChannelAscii, WritesToSeveralControlsInOneTickAllReachTheModule)
{
    for (const SDialogCase& c : kCases) {
        SCOPED_TRACE(c.cls);
        CSimModule& module = Module(c);
        SetMask(module, 0x01);
        auto dlg = Open(c, Block(c));
        StartPolling(*dlg, c);
        int other = (c.change.channel + 1) % c.channels;
        ASSERT_TRUE(ui::ChooseRow(*dlg, IDC_PC_TYPE0 + c.change.channel, c.change.row));
        ASSERT_TRUE(ui::ChooseRow(*dlg, IDC_PC_TYPE0 + other, 0));
        if (!c.readsTypes) {
            ASSERT_TRUE(ui::Click(*dlg, kPcCheckIds[1]));
        }
        Tick(*dlg, 8);
        EXPECT_EQ(SimHexPair(module.ChannelType(c.change.channel)), c.change.code);
        EXPECT_EQ(SimHexPair(module.ChannelType(other)), c.row0Code);
        if (!c.readsTypes) {
            EXPECT_TRUE(MaskIs03(module));
        }
        Close(*dlg);
    }
}

// The Modbus engine's enable-mask write, as the 4384A's dialog makes it.
TEST_F(PerChannelAscii, TheModbusMaskWriteUnderEveryFault)
{
    for (const SWriteFault& f : WriteFaults(ELinkKind::Rtu)) {
        SCOPED_TRACE(f.pszName);
        CSimBus bus;
        CSimModule& module = bus.Add("6384P", 1, 9600, ESimProtocol::Rtu);
        SetMask(module, 0x01);
        m_link.Attach(1, bus);
        m_frame.m_strAnalogInputParams = {"01", "06", "0", "FF", "0", "4384A"};
        CM6384pModbus dlg;
        dlg.Create(IDD_M6384P_MODBUS);
        Tick(dlg, 4); // the start-up reads are done, the polls go on
        ExpectWriteCase<CSimModule>(dlg, module, m_link, f,
                                    MaskWrite<CSimModule>("010600DC0003", MaskIs03),
                                    ELinkKind::Rtu);
        dlg.OnCancel();
        m_link.Attach(1, m_bus);
    }
}
