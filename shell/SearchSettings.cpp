#include "SearchSettings.h"

#include "AsciiCommand.h"
#include "ModuleCodes.h"
#include "Shell.h"
#include "Strings.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace {

// Fixed positions in the file.
constexpr int kComAt = 5;
constexpr int kBaudAt = 16;
constexpr int kTimeoutAt = 35;
constexpr int kChecksumAt = 48;
// The reader takes no more than this.
constexpr size_t kReadLimit = 99;

// The decimal number that starts at a position, read up to its first non-digit: a hand-edited
// "12" is twelve, not one. A non-digit there, or nothing, reads as 0; a number too long for an int
// stays at its largest value, which no choice takes.
int NumberAt(const std::string& text, int at)
{
    constexpr int kLargest = std::numeric_limits<int>::max();
    int number = 0;
    for (char c = CharAt(text, at); c >= '0' && c <= '9'; c = CharAt(text, ++at)) {
        int digit = c - '0';
        number = number > (kLargest - digit) / 10 ? kLargest : number * 10 + digit;
    }
    return number;
}

// A file descriptor closed when it goes out of scope.
class CFd {
public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

std::string SearchSettingsPath()
{
    return GetProgramFolder() + kSettingsFileName;
}

std::optional<SSearchSettings> ReadSearchSettings(const std::string& path)
{
    CFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) return std::nullopt;
    std::string bytes(kReadLimit, '\0');
    size_t got = 0;
    while (got < kReadLimit) {
        ssize_t n = ::read(fd.Get(), bytes.data() + got, kReadLimit - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt; // a folder of that name, an I/O error
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    // The text ends at its zero byte; an old file's tail after it is not read.
    return ParseSearchSettings(bytes.substr(0, bytes.find('\0')));
}

SSearchSettings ParseSearchSettings(const std::string& text)
{
    SSearchSettings settings;
    settings.nComEntry = HexDigitOrZero(CharAt(text, kComAt));
    for (int i = 0; i < kBaudRateCount; ++i) settings.bTicked[i] = CharAt(text, kBaudAt + i) == '1';
    settings.nTimeoutEntry = NumberAt(text, kTimeoutAt);
    settings.nChecksum = NumberAt(text, kChecksumAt);
    return settings;
}

std::string FormatSearchSettings(const SSearchSettings& settings)
{
    bool comFits = settings.nComEntry >= 0 && settings.nComEntry <= 15;
    bool timeoutFits = settings.nTimeoutEntry >= 0 && settings.nTimeoutEntry <= 3;
    std::string ticks;
    for (bool ticked : settings.bTicked) ticks += ticked ? '1' : '0';
    std::string text = "COM1=" + ValueToHexChar(comFits ? settings.nComEntry : 0) + ";\r\n" +
                       "BRAUTE=" + ticks + ";\r\n" +
                       "TIMEOUT=" + ValueToHexChar(timeoutFits ? settings.nTimeoutEntry : 0) +
                       ";\r\n" + "CHECKSUM=" + (settings.nChecksum == 1 ? "1" : "0") + ";\r";
    text += '\0';
    return text;
}

bool WriteSearchSettings(const std::string& path, const std::string& bytes)
{
    CFd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (fd.Get() < 0) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}
