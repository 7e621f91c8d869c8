#include "AsciiReply.h"

#include "AsciiCommand.h"

std::optional<std::string> AsciiReplyData(std::string_view reply, char lead,
                                          std::string_view address)
{
    std::string head(1, lead);
    if (lead == '!' || lead == '?') head += address;
    if (!reply.starts_with(head)) return std::nullopt;
    return std::string(reply.substr(head.size()));
}

std::optional<std::string> ChannelCodeOfReplyData(std::string_view data, int channel)
{
    std::string asked = "C" + std::to_string(channel) + "R";
    constexpr size_t kCodeLength = 2;
    if (data.size() != asked.size() + kCodeLength || !data.starts_with(asked)) return std::nullopt;
    std::string_view code = data.substr(asked.size());
    if (!IsUpperHexDigit(code[0]) || !IsUpperHexDigit(code[1])) return std::nullopt;
    return std::string(code);
}

std::optional<std::string> ChannelCodeOfAsciiReply(std::string_view reply, std::string_view address,
                                                   int channel)
{
    std::optional<std::string> data = AsciiReplyData(reply, '!', address);
    if (!data) return std::nullopt;
    return ChannelCodeOfReplyData(*data, channel);
}
