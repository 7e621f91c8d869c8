// A bus that modsim serves on COM1 on a pseudo-terminal, and the program's search window over it
// (9600 baud, 50 ms time-out): the end-to-end tests' common start.
#pragma once

#include "Modsim.h"
#include "PtyPair.h"
#include "SearchWindow.h"

#include <string>

class CSearchedBus {
public:
    explicit CSearchedBus(const std::string& bus) : sim(bus, OSTRA_BIN_DIR), com(1, sim.Slave()) {}
    // Searches the addresses below end; false when modsim did not start or a button refused.
    bool SearchBelow(int end) const { return !sim.Slave().empty() && w.SearchBelow(end); }

    CModsim sim;
    CScopedComPort com;
    search_test::CSearchWindow w{search_test::SettingsText('0', "00010000", '0', '0')};
};
