#include "Strings.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdlib>
#include <locale.h>
#include <vector>

namespace {

// A C locale object for this thread while formatting or parsing numbers.
class CCLocaleScope {
public:
    CCLocaleScope() : m_old(uselocale(CLocale())) {}
    ~CCLocaleScope() { uselocale(m_old); }
    CCLocaleScope(const CCLocaleScope&) = delete;
    CCLocaleScope& operator=(const CCLocaleScope&) = delete;

private:
    static locale_t CLocale()
    {
        static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        return c;
    }
    locale_t m_old;
};

size_t Clamp(int value, size_t size)
{
    if (value < 0) return 0;
    return std::min(static_cast<size_t>(value), size);
}

} // namespace

std::string Format(const char* format, ...)
{
    CCLocaleScope cLocale;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int needed = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string out;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        out.assign(buffer.data(), static_cast<size_t>(needed));
    }
    va_end(again);
    return out;
}

std::string Mid(const std::string& text, int first)
{
    return text.substr(Clamp(first, text.size()));
}

std::string Mid(const std::string& text, int first, int count)
{
    size_t from = Clamp(first, text.size());
    return text.substr(from, Clamp(count, text.size() - from));
}

std::string Left(const std::string& text, int count)
{
    return text.substr(0, Clamp(count, text.size()));
}

std::string Right(const std::string& text, int count)
{
    size_t n = Clamp(count, text.size());
    return text.substr(text.size() - n);
}

int Find(const std::string& text, const std::string& what, int start)
{
    size_t pos = text.find(what, Clamp(start, text.size()));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int Find(const std::string& text, char what, int start)
{
    return Find(text, std::string(1, what), start);
}

std::string Remove(const std::string& text, char c)
{
    std::string out;
    std::copy_if(text.begin(), text.end(), std::back_inserter(out), [c](char x) { return x != c; });
    return out;
}

std::string MakeUpper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text)
{
    auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    auto first = std::find_if_not(text.begin(), text.end(), space);
    auto last = std::find_if_not(text.rbegin(), text.rend(), space).base();
    return first < last ? std::string(first, last) : std::string();
}

char CharAt(const std::string& text, int i)
{
    return i >= 0 && static_cast<size_t>(i) < text.size() ? text[static_cast<size_t>(i)] : '\0';
}

long StrToLong(const std::string& text, int base)
{
    CCLocaleScope cLocale;
    return std::strtol(text.c_str(), nullptr, base);
}

double StrToDouble(const std::string& text)
{
    CCLocaleScope cLocale;
    return std::strtod(text.c_str(), nullptr);
}
