#include "RtdReadings.h"

#include "ReadingFields.h"
#include "rtd/RtdIds.h"

std::vector<std::string> RtdReadingFields(const std::optional<std::string>& data, int channels,
                                          int read, const std::string& formatDigit)
{
    EReadingForm form =
        read == kResistanceRead ? EReadingForm::Resistance : FormOfFormat(formatDigit);
    std::optional<std::vector<std::string>> fields;
    if (data) fields = ReadingsOfShape(*data, channels, form);
    return fields ? *fields : std::vector<std::string>(static_cast<size_t>(channels), "ERROR!!");
}
