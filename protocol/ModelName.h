// Every test of a module's model name goes through these two, so that how the listed names are
// recognised is decided in one place.
#pragma once

#include <initializer_list>
#include <string>

// The name contains number ("the name contains 6384").
bool ModelHas(const std::string& name, const char* number);
// The name contains any of the numbers.
bool ModelHasAny(const std::string& name, std::initializer_list<const char*> numbers);
// The name is exactly model ("the name equals 6373D").
bool ModelIs(const std::string& name, const char* model);
bool ModelIsAny(const std::string& name, std::initializer_list<const char*> models);
