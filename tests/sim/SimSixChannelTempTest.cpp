// The six-channel temperature modules and the RTD and thermocouple modules as their Modbus RTU
// dialogs see them: registers and coils a model has, exception replies for what it lacks, and the
// writes of the enable mask, the channel types, the slave address and the protocol.
#include "SimSixChannelTemp.h"
#include "SimPerChannelTemp.h"
#include "SimRtd.h"
#include "SimTestUtil.h"
#include "SimThermocouple.h"

#include <gtest/gtest.h>

namespace {

class SimModbusTemperature : public ::testing::Test {
protected:
    CSimModule& Add(const char* model, BYTE address)
    {
        return m_bus.Add(model, address, 9600, ESimProtocol::Rtu);
    }
    std::string Ask(const char* hex)
    {
        return WithoutCrc(AskRtu(m_bus, hex).value_or("(silent)  "));
    }

    CSimBus m_bus;
};

} // namespace

TEST_F(SimModbusTemperature, SixChannelRtdTypesMaskReadingsAndBurnOutCoils)
{
    auto& module = dynamic_cast<CSimRtd6BurnOut&>(Add("6382", 0x19));
    module.SetChannelType(1, 0x24);
    module.SetInput(0, 50.0);   // "20": -50 to 150, the middle
    module.SetInput(1, -200.0); // "24": the low end
    module.SetBurnOut(2, true);
    module.SetBurnOut(5, true);
    module.SetEnableMask(0x05);
    struct Case {
        const char* request;
        const char* reply;
    } cases[] = {
        {"190300C80006", "19 03 0C 00 20 00 24 00 20 00 20 00 20 00 20"},
        {"190300DC0001", "19 03 02 00 05"},
        {"190300000003", "19 03 06 80 00 00 00 FF FF"},
        {"190100C80006", "19 01 01 24"},
        {"190600DC003F", "19 06 00 DC 00 3F"},
        {"190600DC0040", "19 86 03"}, // a seventh channel's bit
        {"190600CB002D", "19 06 00 CB 00 2D"},
        {"190600CB0030", "19 86 03"}, // a thermistor type
        {"190300060001", "19 83 02"}, // no seventh channel
        {"190100CE0001", "19 81 02"}, // no seventh coil
    };
    for (const Case& c : cases) EXPECT_EQ(Ask(c.request), c.reply) << c.request;
    EXPECT_EQ(module.EnableMask(), 0x3F);
    EXPECT_EQ(module.ChannelType(3), 0x2D);
}

TEST_F(SimModbusTemperature, ThermistorModelHasItsTwoTypesAndNoCoils)
{
    auto& module = Add("6382T", 0x1A);
    module.SetInput(0, 25.0);
    EXPECT_EQ(Ask("1A0300C80006"), "1A 03 0C 00 30 00 30 00 30 00 30 00 30 00 30");
    EXPECT_EQ(Ask("1A0600C90031"), "1A 06 00 C9 00 31");
    EXPECT_EQ(Ask("1A0600C90020"), "1A 86 03");
    EXPECT_EQ(Ask("1A0300000001"), "1A 03 02 40 00");
    EXPECT_EQ(Ask("1A0100C80006"), "1A 81 02");
    EXPECT_EQ(Ask("1A0608120005"), "1A 06 08 12 00 05");
    EXPECT_EQ(module.Address(), 5);
}

TEST_F(SimModbusTemperature, RtdAndThermocoupleModulesOverModbus)
{
    auto& rtd = Add("6300", 0x0C);
    rtd.SetType(0x2D);
    rtd.SetInput(2, 650.0);
    EXPECT_EQ(Ask("0C0300C80001"), "0C 03 02 00 2D");
    EXPECT_EQ(Ask("0C0300020001"), "0C 03 02 FF FF");
    EXPECT_EQ(Ask("0C0300000006"), "0C 83 02") << "three channels only";
    EXPECT_EQ(Ask("0C06080D0001"), "0C 06 08 0D 00 01");
    EXPECT_EQ(rtd.Protocol(), ESimProtocol::Ascii);

    auto& tc = Add("6386", 0x1B);
    EXPECT_EQ(Ask("1B0600DC00BF"), "1B 06 00 DC 00 BF");
    EXPECT_EQ(Ask("1B06080D0000"), "1B 06 08 0D 00 00");
    EXPECT_EQ(tc.Protocol(), ESimProtocol::Rtu) << "0 leaves the module on Modbus RTU";
    EXPECT_EQ(Ask("1B0300C80002"), "1B 83 02") << "one range for the module";
}

TEST(SimBusFile, DefaultBusHasTheModbusTemperatureModules)
{
    CSimBus bus;
    bus.LoadFile(OSTRA_SIM_DIR "/default_bus.txt");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "180300C80001")), "18 03 02 00 2D");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "190300C80006", {19200, 0, 8})),
              "19 03 0C 00 20 00 24 00 2A 00 2B 00 2C 00 2D");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "1A0300C80001")), "1A 03 02 00 0F");
}
