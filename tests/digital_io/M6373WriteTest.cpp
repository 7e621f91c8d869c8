// Every write of the two digital I/O dialogs under every fault of the line or the module: it goes
// out once, and again once per poll the module answered, until the module hears or refuses it;
// its lamp or answer field keeps the operator's value meanwhile, and the module ends with that
// value, or keeps its own after a refusal.
#include "DioFixture.h"
#include "WriteFaults.h"
#include "digital_io/M6373.h"
#include "digital_io/M6373Modbus.h"

#include <functional>

namespace {

// One write an operator asks of a digital I/O dialog.
struct SDioWrite {
    const char* pszName;
    const char* pszModel;
    std::function<void(CSimDigitalIo&)> prepare; // the module before the dialog opens
    std::function<void(CDialog&)> ask;
    const char* pszWrite;                           // on the wire, without checksum digits or CRC
    std::function<bool(const CSimDigitalIo&)> done; // the module carried the write out
    // What shows the write (none: nothing does), with the operator's value, and the module's
    // value or the refusal.
    std::function<std::string(CDialog&)> shown = {};
    std::string strAsked = {};
    std::string strRefused = {};
};

std::function<void(CDialog&)> Press(int id)
{
    return [id](CDialog& dlg) { ASSERT_TRUE(ui::Click(dlg, id)); };
}

std::string Answer(CDialog& dlg)
{
    return dlg.GetDlgItemText(IDC_DIO_ANSWER);
}

class M6373Writes : public CDioFixture {
protected:
    static std::string DoLampOf(CDialog& dlg, int ch)
    {
        return Lamps(dlg, true).substr(static_cast<size_t>(ch), 1);
    }
    static const std::vector<SDioWrite>& AsciiWrites();
};

const std::vector<SDioWrite>& M6373Writes::AsciiWrites()
{
    static const std::vector<SDioWrite> writes = {
        {"DO lamp",
         "6373",
         {},
         [](CDialog& dlg) { ClickDoLamp(dlg, 0); },
         "@011",
         [](const CSimDigitalIo& m) { return m.Outputs() == 0x1; },
         [](CDialog& dlg) { return DoLampOf(dlg, 0); },
         "R",
         "W"},
        {"Clear", "6373", [](CSimDigitalIo& m) { m.SetCounter(1, 7); },
         Press(DioChannelControls[1].nClear), "$01C1",
         [](const CSimDigitalIo& m) { return m.Counter(1) == 0; }},
        {"Clear Latch", "6373",
         [](CSimDigitalIo& m) {
             m.SetDigitalInput(1, true);
             m.SetDigitalInput(1, false);
         },
         Press(IDC_DIO_CLEAR_LATCH), "$01C",
         [](const CSimDigitalIo& m) { return m.Latched() == 0; }},
        {"Set PowerOn", "6373", [](CSimDigitalIo& m) { m.SetOutputs(0x5); },
         Press(IDC_DIO_SET_POWERON), "~015P",
         [](const CSimDigitalIo& m) { return m.PowerOnValue() == 0x5; }, Answer, "!01",
         "Set PowerOn Value Error!"},
        {"Set Safe, own form", "6322", [](CSimDigitalIo& m) { m.SetOutputs(0x5); },
         Press(IDC_DIO_SET_SAFE), "$01X0000005",
         [](const CSimDigitalIo& m) { return m.SafeValue() == 0x5; }, Answer, "!01",
         "Set Safe Value Error!"},
    };
    return writes;
}

} // namespace

TEST_F(M6373Writes, EveryWriteUnderEveryFault)
{
    for (const SDioWrite& w : AsciiWrites()) {
        for (const SWriteFault& f : WriteFaults(ELinkKind::Ascii)) {
            SCOPED_TRACE(std::string(w.pszName) + ", " + f.pszName);
            CSimDigitalIo& module = FreshModule(w.pszModel);
            module.SetChecksum(f.bChecksum);
            if (w.prepare) w.prepare(module);
            CM6373 dlg;
            Block("01", w.pszModel, f.bChecksum ? "4" : "0");
            dlg.Create(IDD_M6373);
            Tick(dlg, 2); // the status has shown the outputs
            std::function<std::string()> shown;
            if (w.shown) shown = [&] { return w.shown(dlg); };
            SWriteRun run = RunWrite(
                dlg, module, m_link, f, w.pszWrite, ELinkKind::Ascii, [&] { w.ask(dlg); }, shown);
            ExpectWriteRun(run, f, w.strAsked, w.strRefused);
            EXPECT_EQ(w.done(module), f.eKind != EWriteFault::Refused);
            dlg.OnCancel();
        }
    }
}

TEST_F(M6373Writes, ACoilWriteUnderEveryFault)
{
    for (const SWriteFault& f : WriteFaults(ELinkKind::Rtu)) {
        SCOPED_TRACE(f.pszName);
        CSimDigitalIo& module = FreshModule("6373", ESimProtocol::Rtu);
        CM6373Modbus dlg;
        Block("01", "6373");
        dlg.Create(IDD_M6373_MODBUS);
        Tick(dlg, 3); // the inputs' and the outputs' reads have shown the outputs
        SWriteRun run = RunWrite(
            dlg, module, m_link, f, "01050012FF00", ELinkKind::Rtu, [&] { ClickDoLamp(dlg, 2); },
            [&] { return DoLampOf(dlg, 2); });
        ExpectWriteRun(run, f, "R", "W");
        EXPECT_EQ(module.Outputs(), f.eKind == EWriteFault::Refused ? 0x0 : 0x4);
        dlg.OnCancel();
    }
}

// Writes to two controls asked for before one tick both reach the module.
TEST_F(M6373Writes, TwoControlsWrittenInOneTickBothReachTheModule)
{
    CSimDigitalIo& module = FreshModule("6373");
    module.SetCounter(1, 7);
    CM6373 dlg;
    Block("01", "6373");
    dlg.Create(IDD_M6373);
    Tick(dlg, 2);
    ClickDoLamp(dlg, 0);
    ASSERT_TRUE(ui::Click(dlg, DioChannelControls[1].nClear));
    Tick(dlg, 4);
    EXPECT_EQ(module.Outputs(), 0x1);
    EXPECT_EQ(module.Counter(1), 0);
    dlg.OnCancel();

    CSimDigitalIo& coils = FreshModule("6373", ESimProtocol::Rtu);
    CM6373Modbus rtu;
    Block("01", "6373");
    rtu.Create(IDD_M6373_MODBUS);
    Tick(rtu, 3);
    ClickDoLamp(rtu, 0);
    ClickDoLamp(rtu, 2);
    Tick(rtu, 6);
    EXPECT_EQ(coils.Outputs(), 0x5);
    EXPECT_EQ(DoLampOf(rtu, 0) + DoLampOf(rtu, 2), "RR");
    rtu.OnCancel();
}

// A newer click on the outputs replaces a write that waits: only the latest state goes out.
TEST_F(M6373Writes, ANewerClickReplacesTheWaitingWriteOfTheOutputs)
{
    CSimDigitalIo& module = FreshModule("6373");
    CM6373 dlg;
    Block("01", "6373");
    dlg.Create(IDD_M6373);
    Tick(dlg, 2);
    TakeRequests();
    ClickDoLamp(dlg, 0);
    ClickDoLamp(dlg, 1);
    Tick(dlg, 3);
    std::vector<std::string> wire = TakeRequests();
    EXPECT_EQ(std::ranges::count(wire, "@011"), 0);
    EXPECT_EQ(std::ranges::count(wire, "@013"), 1);
    EXPECT_EQ(module.Outputs(), 0x3);
    dlg.OnCancel();
}
