// Writes of the two digital I/O dialogs that the every-write table does not show: two coil writes
// asked before one tick leave every lamp as the module holds it, and a newer click on the outputs
// replaces a write that waits.
#include "DioFixture.h"
#include "digital_io/M6373.h"
#include "digital_io/M6373Modbus.h"

#include <algorithm>

namespace {

class M6373Writes : public CDioFixture {};

} // namespace

// Two coils written before one tick both reach the module, and the lamps show the module's
// outputs, the one between them dark.
TEST_F(M6373Writes, TwoCoilsWrittenInOneTickShowTheModulesOutputs)
{
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
