// The simulated temperature modules with one type per channel, as their ASCII dialogs (and the
// Modbus dialogs) see them: known answers in both framings.
#include "SimPerChannelTemp.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

namespace {

struct SModelCase {
    const char* model;
    int channels;
    const char* firstType;   // each channel's type from the factory
    const char* otherType;   // a type the model takes
    const char* strangeType; // one it refuses
    const char* configType;  // the "%" command's type field it takes
    const char* modbusForm;  // "%00" + "05" + this: the switch to Modbus RTU at 9600 baud
};

const SModelCase kModels[] = {
    {"6386P", 8, "0F", "06", "02", "FF", "FF0604"}, {"6381", 8, "08", "02", "06", "00", "FF0680"},
    {"6382", 6, "20", "2A", "30", "FF", "000604"},  {"6382T", 6, "30", "31", "20", "FF", "000604"},
    {"6307A", 6, "20", "2F", "28", "20", "FF0604"},
};

std::string Framed(const std::string& text, bool checksum)
{
    return checksum ? text + SimAsciiChecksum(text) : text;
}

} // namespace

TEST(SimPerChannelTemp, EachModelAnswersItsChannelCommandsInBothFramings)
{
    for (const SModelCase& c : kModels) {
        for (bool checksum : {false, true}) {
            SCOPED_TRACE(std::string(c.model) + (checksum ? " checksum" : ""));
            CSimBus bus;
            bus.Add(c.model, 1, 9600).SetChecksum(checksum);
            auto ask = [&](const std::string& text) {
                return AskAscii(bus, Framed(text, checksum));
            };
            auto reply = [&](const std::string& text) { return Framed(text, checksum) + "\r"; };
            EXPECT_EQ(ask("$01M"), reply(std::string("!01") + c.model));
            EXPECT_EQ(ask("$016"), reply(c.channels == 8 ? "!01FF" : "!013F"));
            EXPECT_EQ(ask("$018C1"), reply(std::string("!01C1R") + c.firstType));
            EXPECT_EQ(ask(std::string("$017C1R") + c.otherType), reply("!01"));
            EXPECT_EQ(ask("$018C1"), reply(std::string("!01C1R") + c.otherType));
            EXPECT_EQ(ask(std::string("$017C2R") + c.strangeType), reply("?01"));
            EXPECT_EQ(ask("$018C" + std::to_string(c.channels)), reply("?01"));
            // Engineering units: ">" and seven characters a channel.
            std::optional<std::string> readings = ask("#01");
            ASSERT_TRUE(readings);
            EXPECT_EQ(readings->size(), 1u + 7u * c.channels + (checksum ? 2u : 0u) + 1u);
            EXPECT_EQ(readings->front(), '>');
            // A mask bit of a channel the module lacks is dropped.
            EXPECT_EQ(ask("$015FE"), reply("!01"));
            EXPECT_EQ(ask("$016"), reply(c.channels == 8 ? "!01FE" : "!013E"));
            // The wrong checksum digits, or none where they are due, get no answer.
            if (checksum) {
                EXPECT_EQ(AskAscii(bus, "$016"), std::nullopt);
            }
        }
    }
}

TEST(SimPerChannelTemp, HexReadingsTakeFourDigitsAChannel)
{
    CSimBus bus;
    CSimModule& module = bus.Add("6382", 1, 9600);
    module.SetFormat(0x02);
    module.SetInput(0, 150.0);
    std::optional<std::string> readings = AskAscii(bus, "#01");
    ASSERT_TRUE(readings);
    EXPECT_EQ(readings->size(), 1u + 6u * 4u + 1u);
    EXPECT_EQ(readings->substr(1, 4), "7FFF");
}

TEST(SimPerChannelTemp, TheSettingTakesTheModelsTypeFieldAndItsSwitchToModbus)
{
    for (const SModelCase& c : kModels) {
        SCOPED_TRACE(c.model);
        CSimBus bus;
        CSimModule& module = bus.Add(c.model, 1, 9600);
        EXPECT_EQ(AskAscii(bus, std::string("%0102") + c.configType + "0602"), "!02\r");
        EXPECT_EQ(module.Address(), 2);
        EXPECT_EQ(module.Format(), 2);
        EXPECT_EQ(AskAscii(bus, "%0203AB0602"), "?02\r"); // a type field no model takes
        // A new baud rate only in INIT.
        EXPECT_EQ(AskAscii(bus, std::string("%0203") + c.configType + "0702"), "?02\r");

        module.SetInit(true);
        EXPECT_EQ(AskAscii(bus, std::string("%0005") + c.modbusForm), "!05\r");
        module.SetInit(false);
        EXPECT_EQ(module.Protocol(), ESimProtocol::Rtu);
        EXPECT_EQ(module.Address(), 5);
        EXPECT_EQ(AskAscii(bus, "$05M"), std::nullopt);
    }
}

TEST(SimPerChannelTemp, TheThermistorModuleTakesTheInitFormOfTheSetting)
{
    CSimBus bus;
    CSimModule& module = bus.Add("6382T", 7, 19200);
    module.SetInit(true);
    EXPECT_EQ(AskAscii(bus, "%0009000600"), "!09\r");
    module.SetInit(false);
    EXPECT_EQ(module.Protocol(), ESimProtocol::Ascii);
    EXPECT_EQ(module.Baud(), 9600u);
    EXPECT_EQ(AskAscii(bus, "$09M"), "!096382T\r");
}

TEST(SimPerChannelTemp, OverModbusTheReadingsTypesAndMaskAreRegisters)
{
    CSimBus bus;
    CSimModule& module = bus.Add("6382", 1, 9600, ESimProtocol::Rtu);
    module.SetInput(0, -50.0); // the bottom of "20"
    module.SetInput(5, 150.0); // the top
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010300000006")),
              "01 03 0C 00 00 " + WithoutCrc(*AskRtu(bus, "010300010004")).substr(9) + " FF FF");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010300C80006")),
              "01 03 0C 00 20 00 20 00 20 00 20 00 20 00 20");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010600C9002B")), "01 06 00 C9 00 2B");
    EXPECT_EQ(module.ChannelType(1), 0x2B);
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010600CA0030")), "01 86 03"); // a thermistor type
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010600DC0025")), "01 06 00 DC 00 25");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010300DC0001")), "01 03 02 00 25");
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010600DC00C0")), "01 86 03"); // channels 6 and 7
    EXPECT_EQ(WithoutCrc(*AskRtu(bus, "010300060001")), "01 83 02"); // no seventh channel
}

TEST(SimPerChannelTemp, FaultsWorkAsForEveryModel)
{
    CSimBus bus;
    CSimModule& module = bus.Add("6386P", 1, 9600);
    module.Faults().nCutTo = 10;
    EXPECT_EQ(AskAscii(bus, "#01")->size(), 10u);
    module.Faults().nCutTo = -1;
    module.Faults().nSilentAfter = 0;
    EXPECT_EQ(AskAscii(bus, "$016"), std::nullopt);
}

TEST(SimPerChannelTemp, TheDefaultBusHasASixChannelRtdModuleAt28)
{
    CSimBus bus;
    bus.LoadFile(OSTRA_SIM_DIR "/default_bus.txt");
    EXPECT_EQ(AskAscii(bus, "$1CM"), "!1C6382\r");
    EXPECT_EQ(AskAscii(bus, "$1C8C3"), "!1CC3R2A\r");
}
