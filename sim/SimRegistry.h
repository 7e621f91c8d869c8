// The models the simulator knows, by the name a module reports for "$AAM". A new family is one
// class derived from CSimModule and its names in the table of SimRegistry.cpp.
#pragma once

#include "SimModule.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A new module of that model with its factory settings (address 1, 9600 baud, no parity, checksum
// off, ASCII); nullptr for a model the simulator does not know.
std::unique_ptr<CSimModule> SimCreateModule(std::string_view model);
// Every model name the simulator knows.
std::vector<std::string> SimModelNames();
