#include "ModelName.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

// "4" and the number without its first character, for a number of the 6333 or 93xx series
// ("6384P" gives "4384P", "9385" gives "4385"); empty for any other number.
std::string ListedTwin(const char* number)
{
    constexpr size_t kSeriesDigits = 4;
    bool series = (number[0] == '6' || number[0] == '9') && std::strlen(number) >= kSeriesDigits &&
                  std::all_of(number, number + kSeriesDigits,
                              [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    return series ? "4" + std::string(number + 1) : std::string();
}

} // namespace

bool ModelHas(const std::string& name, const char* number)
{
    if (RawModelHas(name, number)) return true;
    std::string twin = ListedTwin(number);
    return !twin.empty() && RawModelHas(name, twin.c_str());
}

bool ModelHasAny(const std::string& name, std::initializer_list<const char*> numbers)
{
    return std::any_of(numbers.begin(), numbers.end(),
                       [&](const char* n) { return ModelHas(name, n); });
}

bool ModelIs(const std::string& name, const char* model)
{
    return name == model;
}

bool ModelIsAny(const std::string& name, std::initializer_list<const char*> models)
{
    return std::any_of(models.begin(), models.end(),
                       [&](const char* m) { return ModelIs(name, m); });
}

bool ModelIsListed(const std::string& name, const char* model)
{
    std::string twin = ListedTwin(model);
    return ModelIs(name, model) || (!twin.empty() && ModelIs(name, twin.c_str()));
}

bool RawModelHas(const std::string& name, const char* number)
{
    return name.find(number) != std::string::npos;
}

bool RawModelHasAny(const std::string& name, std::initializer_list<const char*> numbers)
{
    return std::any_of(numbers.begin(), numbers.end(),
                       [&](const char* n) { return RawModelHas(name, n); });
}
