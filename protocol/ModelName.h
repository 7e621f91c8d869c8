// Every test of a module's model name goes through these, so that how names are recognised is
// decided in one place.
//
// The result list shows every model under its listed name: "4" followed by the model name without
// its first character (6384P is listed as 4384P, 9385 as 4385). The tests of a listed name (the
// open-module dispatch and every module dialog) therefore read a number of the 6333 or 93xx series
// as naming its listed twin too: ModelHas("4384P", "6384P") holds. A number that is already in its
// listed form, and a comparison of the whole name, take the text as it stands.
#pragma once

#include <initializer_list>
#include <string>

// The name contains number, or that number's listed twin ("the name contains 6384").
bool ModelHas(const std::string& name, const char* number);
// The name contains any of the numbers (or their listed twins).
bool ModelHasAny(const std::string& name, std::initializer_list<const char*> numbers);
// The name is exactly model ("the name equals 6373D").
bool ModelIs(const std::string& name, const char* model);
bool ModelIsAny(const std::string& name, std::initializer_list<const char*> models);
// The name is model, or that model's listed twin ("4328" is 6328 as the result list shows it):
// for tables whose rows name only a 6333-series or 93xx model and must still serve its row.
bool ModelIsListed(const std::string& name, const char* model);

// The search's tests of a name as the module gave it, before it is listed: there 6384, 9384 and
// 4384 are different models, so a number means only itself.
bool RawModelHas(const std::string& name, const char* number);
bool RawModelHasAny(const std::string& name, std::initializer_list<const char*> numbers);
