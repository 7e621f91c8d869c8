// Combo rows that many templates share.
#pragma once

#include <string>
#include <vector>

// The Baudrate lists: one row per code of the baud-code table, "1200" to "115200".
const std::vector<std::string>& BaudRows();
