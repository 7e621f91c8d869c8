#include "TemplateRows.h"

const std::vector<std::string>& BaudRows()
{
    // Built on first use: templates register themselves while the program starts.
    static const std::vector<std::string> rows = {"1200",  "2400",  "4800",  "9600",
                                                  "19200", "38400", "57600", "115200"};
    return rows;
}
