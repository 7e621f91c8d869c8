#include "Strings.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

TEST(Strings, SubstringsClampToTheText)
{
    struct Case {
        std::string got;
        std::string want;
    } cases[] = {
        {Mid("!01", 5), ""},         {Mid("!01", 1, 10), "01"}, {Mid("", 3, 2), ""},
        {Mid("!0134", -2, 2), "!0"}, {Left("ab", 5), "ab"},     {Left("ab", -1), ""},
        {Right("abc", 2), "bc"},     {Right("abc", 9), "abc"},  {Mid("abc", 1, -4), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want);
    EXPECT_EQ(CharAt("ab", 2), '\0');
    EXPECT_EQ(CharAt("ab", -1), '\0');
    EXPECT_EQ(Find("6384C", "84"), 2);
    EXPECT_EQ(Find("6384C", "85"), -1);
    EXPECT_EQ(Remove(" 01 03 02", ' '), "010302");
}

// A decimal comma in the user's locale must not reach texts the program fixes.
TEST(Strings, FormatIgnoresTheUserLocale)
{
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "ostra-locale";
    const char* name = "de_DE.UTF-8";
    if (!setlocale(LC_NUMERIC, name) && fs::exists("/usr/share/i18n/locales/de_DE")) {
        fs::create_directories(dir);
        std::string build =
            "localedef -i de_DE -f UTF-8 " + (dir / name).string() + " >/dev/null 2>&1";
        if (std::system(build.c_str()) == 0) setenv("LOCPATH", dir.c_str(), 1);
    }
    if (!setlocale(LC_NUMERIC, name)) GTEST_SKIP() << "no locale with a decimal comma here";
    ASSERT_EQ(Format("%.1f", 1.5).find(','), std::string::npos);
    EXPECT_EQ(Format("%+08.3f|%d|%02X", -1.25, 18, 10), "-001.250|18|0A");
    EXPECT_DOUBLE_EQ(StrToDouble("2.5"), 2.5);
    setlocale(LC_NUMERIC, "C");
}
