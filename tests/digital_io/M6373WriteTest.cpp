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

// One write an operator asks of the ASCII dialog, of a model whose module is prepared for it.
struct SDioWrite {
    const char* pszModel;
    std::function<void(CSimDigitalIo&)> prepare; // the module before the dialog opens
    SWriteCase<CSimDigitalIo> write;
};

std::function<void(CDialog&)> Press(int id)
{
    return [id](CDialog& dlg) { ASSERT_TRUE(ui::Click(dlg, id)); };
}

std::function<std::string()> Answer(CDialog& dlg)
{
    return [&dlg] { return dlg.GetDlgItemText(IDC_DIO_ANSWER); };
}

class M6373Writes : public CDioFixture {
protected:
    static std::function<void(CDialog&)> ClickLamp(int ch)
    {
        return [ch](CDialog& dlg) { ClickDoLamp(dlg, ch); };
    }
    static const std::vector<SDioWrite>& AsciiWrites();
};

const std::vector<SDioWrite>& M6373Writes::AsciiWrites()
{
    static const std::vector<SDioWrite> writes = {
        {"6373",
         {},
         {"DO lamp", ClickLamp(0), "@011",
          [](const CSimDigitalIo& m) { return m.Outputs() == 0x1; },
          ShownByLamp(DioChannelControls[0].nDoLamp), "R", "W"}},
        {"6373",
         [](CSimDigitalIo& m) { m.SetCounter(1, 7); },
         {"Clear", Press(DioChannelControls[1].nClear), "$01C1",
          [](const CSimDigitalIo& m) { return m.Counter(1) == 0; }}},
        {"6373",
         [](CSimDigitalIo& m) {
             m.SetDigitalInput(1, true);
             m.SetDigitalInput(1, false);
         },
         {"Clear Latch", Press(IDC_DIO_CLEAR_LATCH), "$01C",
          [](const CSimDigitalIo& m) { return m.Latched() == 0; }}},
        {"6373",
         [](CSimDigitalIo& m) { m.SetOutputs(0x5); },
         {"Set PowerOn", Press(IDC_DIO_SET_POWERON), "~015P",
          [](const CSimDigitalIo& m) { return m.PowerOnValue() == 0x5; }, Answer, "!01",
          "Set PowerOn Value Error!"}},
        {"6322",
         [](CSimDigitalIo& m) { m.SetOutputs(0x5); },
         {"Set Safe, own form", Press(IDC_DIO_SET_SAFE), "$01X0000005",
          [](const CSimDigitalIo& m) { return m.SafeValue() == 0x5; }, Answer, "!01",
          "Set Safe Value Error!"}},
    };
    return writes;
}

} // namespace

TEST_F(M6373Writes, EveryWriteUnderEveryFault)
{
    for (const SDioWrite& w : AsciiWrites()) {
        for (const SWriteFault& f : WriteFaults(ELinkKind::Ascii)) {
            SCOPED_TRACE(std::string(w.write.pszName) + ", " + f.pszName);
            CSimDigitalIo& module = FreshModule(w.pszModel);
            module.SetChecksum(f.bChecksum);
            if (w.prepare) w.prepare(module);
            CM6373 dlg;
            Block("01", w.pszModel, f.bChecksum ? "4" : "0");
            dlg.Create(IDD_M6373);
            Tick(dlg, 2); // the status has shown the outputs
            ExpectWriteCase(dlg, module, m_link, f, w.write, ELinkKind::Ascii);
            dlg.OnCancel();
        }
    }
}

TEST_F(M6373Writes, ACoilWriteUnderEveryFault)
{
    const SWriteCase<CSimDigitalIo> kWrite = {
        "DO lamp",
        ClickLamp(2),
        "01050012FF00",
        [](const CSimDigitalIo& m) { return m.Outputs() == 0x4; },
        ShownByLamp(DioChannelControls[2].nDoLamp),
        "R",
        "W"};
    for (const SWriteFault& f : WriteFaults(ELinkKind::Rtu)) {
        SCOPED_TRACE(f.pszName);
        CSimDigitalIo& module = FreshModule("6373", ESimProtocol::Rtu);
        CM6373Modbus dlg;
        Block("01", "6373");
        dlg.Create(IDD_M6373_MODBUS);
        Tick(dlg, 3); // the inputs' and the outputs' reads have shown the outputs
        ExpectWriteCase(dlg, module, m_link, f, kWrite, ELinkKind::Rtu);
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
    EXPECT_EQ(Lamps(rtu, true).substr(0, 3), "RWR");
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
