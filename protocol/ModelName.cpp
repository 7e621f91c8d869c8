#include "ModelName.h"

#include <algorithm>

bool ModelHas(const std::string& name, const char* number)
{
    return name.find(number) != std::string::npos;
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
