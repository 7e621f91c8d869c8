#include "RtdReadings.h"

#include "ReadingFields.h"
#include "rtd/RtdIds.h"

std::vector<std::string> RtdReadingFields(const std::string& data, int channels, int read,
                                          bool answered)
{
    if (!answered) return std::vector<std::string>(static_cast<size_t>(channels), "ERROR!!");
    return read == kInputRead ? SplitReadings(data, channels, channels)
                              : SplitEqualWidth(data, channels);
}
