// Reading of the modules' ASCII replies: whether a reply answers the request it follows, for the
// search and the module dialogs alike. Every reply is given as the module sent it, without the
// checksum digits.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// What the reply carries after its lead, and after the address for "!" and "?" (two hex digits,
// as the request named it); nothing when it opens with another lead or another address.
std::optional<std::string> AsciiReplyData(std::string_view reply, char lead,
                                          std::string_view address);
// The code a channel's type or range read ("$AA8Cn") gives, from the data after "!AA": "C", the
// channel, "R" and two hex digits, nothing more. Nothing for a reply of another channel or shape:
// a late reply to the read of the channel before must not give that channel's code to this one.
std::optional<std::string> ChannelCodeOfReplyData(std::string_view data, int channel);
// The same from the whole reply "!AACnRcc" of that address.
std::optional<std::string> ChannelCodeOfAsciiReply(std::string_view reply, std::string_view address,
                                                   int channel);
