// Each link library exports exactly its C API and nothing else.
#include "ProcessStats.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <set>
#include <sstream>
#include <string>

namespace {

struct ExportCase {
    const char* library;
    std::set<std::string> names;
};

void PrintTo(const ExportCase& c, std::ostream* os)
{
    *os << c.library;
}

std::set<std::string> DefinedDynamicSymbols(const std::string& path)
{
    std::string command = "nm -D --defined-only '" + path + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::set<std::string> names;
    char line[512];
    while (pipe && fgets(line, sizeof line, pipe.get())) {
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name)
            names.insert(name);
        else
            names.insert(line); // an error message from nm shows in the comparison
    }
    return names;
}

const std::set<std::string> kRtuApi = {"Open_ComRtu",       "Close_ComRtu",    "Send_Receive_Rtu",
                                       "GetRtuStrCRC",      "Change_Baudrate", "Change_Config",
                                       "Get_Portix_Version"};

std::set<std::string> KobalApi()
{
    std::set<std::string> names = kRtuApi;
    names.insert({"Get_Com_Status", "Send_Rtu", "Receive_Rtu", "DetachStrCRC"});
    return names;
}

class LinkExportsTest : public ::testing::TestWithParam<ExportCase> {};

TEST_P(LinkExportsTest, ExportsExactlyItsApi)
{
    EXPECT_EQ(DefinedDynamicSymbols(BinDir() + "/" + GetParam().library), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(Libraries, LinkExportsTest,
                         ::testing::Values(ExportCase{"libuart.so",
                                                      {"Open_ComAscii", "Change_BaudAscii",
                                                       "Close_ComAscii", "Send_Receive_Ascii"}},
                                           ExportCase{"libPortix_rtu.so", kRtuApi},
                                           ExportCase{"libKobal.so", KobalApi()}),
                         [](const auto& info) {
                             std::string name = info.param.library;
                             return name.substr(3, name.find('.') - 3);
                         });

} // namespace
