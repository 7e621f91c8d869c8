// modsim on a pseudo-terminal, spoken to through the real link libraries as the program does.
#include "Modsim.h"
#include "Portix_rtu.h"
#include "PtyPair.h"
#include "SimCodec.h"
#include "uart.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr WORD kTimeoutMs = 2000;

} // namespace

TEST(SimEndToEnd, AModuleAt9600AnswersThroughUartAndIsSilentAt19200)
{
    CModsim sim("# one module\n6384 1 9600 ascii type=08 format=00\n", OSTRA_BIN_DIR);
    ASSERT_FALSE(sim.Slave().empty());
    CScopedComPort com(1, sim.Slave());
    char reply[200] = {};
    WORD length = 0;

    ASSERT_EQ(Open_ComAscii(1, 9600, 8, 0, 0), UART_OK);
    EXPECT_EQ(Send_Receive_Ascii(1, "$01M", reply, kTimeoutMs, 0, &length), UART_OK);
    EXPECT_STREQ(reply, "!016384");
    EXPECT_EQ(Send_Receive_Ascii(1, "$012", reply, kTimeoutMs, 0, &length), UART_OK);
    EXPECT_STREQ(reply, "!01080600");
    Close_ComAscii(1);

    ASSERT_EQ(Open_ComAscii(1, 19200, 8, 0, 0), UART_OK);
    EXPECT_EQ(Send_Receive_Ascii(1, "$01M", reply, 100, 0, &length), UART_NO_REPLY);
    Close_ComAscii(1);

    // The program closes and reopens the port again and again; modsim keeps serving.
    ASSERT_EQ(Open_ComAscii(1, 9600, 8, 0, 0), UART_OK);
    EXPECT_EQ(Send_Receive_Ascii(1, "$01M", reply, kTimeoutMs, 1, &length), UART_OK)
        << "with checksum digits the module (checksum off) refuses";
    EXPECT_STREQ(reply, "?01");
    Close_ComAscii(1);

    EXPECT_EQ(sim.Stop(), 0) << "SIGTERM ends it cleanly";
    std::string log = sim.Log();
    EXPECT_NE(log.find(" 9600 req ascii \"$01M\\r\"\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" 9600 rep ascii \"!016384\\r\"\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" 9600 rep ascii \"!01080600\\r\"\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" 19200 req ascii \"$01M\\r\"\n"), std::string::npos) << log;
    EXPECT_EQ(log.find(" 19200 rep "), std::string::npos) << log;
    EXPECT_NE(log.find(" 9600 req ascii \"$01MD2\\r\"\n"), std::string::npos) << log;
}

TEST(SimEndToEnd, ModbusProbeThroughPortixRtu)
{
    CModsim sim("6384 2 9600 rtu\n", OSTRA_BIN_DIR);
    ASSERT_FALSE(sim.Slave().empty());
    CScopedComPort com(1, sim.Slave());
    ASSERT_EQ(Open_ComRtu(1, 100, 9600, 8, 0, 1), 1);
    const BYTE probe[] = {0x02, 0x03, 0x27, 0x10, 0x00, 0x02};
    BYTE frame[8];
    GetRtuStrCRC(probe, sizeof probe, frame);
    static BYTE reply[kRtuReplyBufferSize];
    WORD length = 0;
    EXPECT_EQ(Send_Receive_Rtu(1, frame, sizeof frame, reply, 1000, 0, &length), 1);
    EXPECT_EQ(SimHexBytes(std::string(reinterpret_cast<char*>(reply), length)),
              "02 03 04 63 84 00 00 97 5E");
    Close_ComRtu(1);
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_NE(sim.Log().find(" 9600 req rtu 02 03 27 10 00 02 CF 49\n"), std::string::npos)
        << sim.Log();
}

TEST(SimEndToEnd, HangUpFaultClosesTheLine)
{
    CModsim sim("6384 1 9600 ascii hangup=on\n", OSTRA_BIN_DIR);
    ASSERT_FALSE(sim.Slave().empty());
    CScopedComPort com(1, sim.Slave());
    char reply[200] = {};
    WORD length = 0;
    ASSERT_EQ(Open_ComAscii(1, 9600, 8, 0, 0), UART_OK);
    EXPECT_EQ(Send_Receive_Ascii(1, "$01M", reply, kTimeoutMs, 0, &length), UART_LINE_LOST);
    Close_ComAscii(1);
    EXPECT_EQ(sim.Stop(5000), 0) << "modsim ends by itself once the line is gone";
    EXPECT_NE(sim.Log().find("line closed"), std::string::npos) << sim.Log();
}
