#include "PollingDlg.h"

#include "AsciiCommand.h"
#include "AsciiReply.h"
#include "HexText.h"
#include "LinkTable.h"
#include "ModuleCodes.h"
#include "Strings.h"

#include <algorithm>
#include <string_view>

namespace {

// An ASCII reply without its checksum digits where it has them (SendAscii has checked them).
std::string_view ReplyWithoutDigits(std::string_view reply, bool digits)
{
    if (digits) reply.remove_suffix(std::min<size_t>(2, reply.size()));
    return reply;
}

} // namespace

CPollingDlg::CPollingDlg(UINT nIDTemplate, ELinkKind eLink, UINT_PTR nTimerId)
    : CDialog(nIDTemplate), m_nTimerId(nTimerId), m_eLink(eLink)
{
}

void CPollingDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == m_nTimerId) PollStep();
}

void CPollingDlg::QueueCommand(int nCommand)
{
    if (m_bQueuePinned) return;
    std::erase(m_queue, nCommand);
    m_queue.push_back(nCommand);
}

void CPollingDlg::QueuePinnedCommand(int nCommand)
{
    // Only a newer pinned request takes the place of a pinned one.
    if (m_bQueuePinned) m_queue.pop_front();
    std::erase(m_queue, nCommand);
    m_queue.push_front(nCommand);
    m_bQueuePinned = true;
}

std::optional<int> CPollingDlg::QueuedCommand() const
{
    if (m_queue.empty()) return std::nullopt;
    return m_queue.front();
}

bool CPollingDlg::ApplyQueuedCommand()
{
    if (m_bModuleAnswered) {
        for (int nCommand : m_heldWrites) QueueCommand(nCommand);
        m_heldWrites.clear();
        m_bModuleAnswered = false;
    }
    if (m_queue.empty() || m_bStartup) return false;
    m_nCommand = m_queue.front();
    m_queue.pop_front();
    m_bQueuePinned = false;
    return true;
}

void CPollingDlg::DropQueuedCommand()
{
    for (int nCommand : m_queue) m_pendingWrites.erase(nCommand);
    m_queue.clear();
    m_bQueuePinned = false;
}

void CPollingDlg::QueueWrite(int nCommand)
{
    if (m_bQueuePinned) return;
    std::erase(m_heldWrites, nCommand);
    m_pendingWrites.insert(nCommand);
    QueueCommand(nCommand);
}

EWriteAnswer CPollingDlg::SettleWrite(int nCommand, EWriteAnswer answer)
{
    // The write's own reply is no poll answered.
    m_bModuleAnswered = false;
    // A newer write to the same control waits already: it settles for itself.
    if (std::ranges::find(m_queue, nCommand) != m_queue.end()) return answer;
    if (answer == EWriteAnswer::NotHeard) {
        if (std::ranges::find(m_heldWrites, nCommand) == m_heldWrites.end())
            m_heldWrites.push_back(nCommand);
    } else {
        m_pendingWrites.erase(nCommand);
    }
    return answer;
}

EWriteAnswer CPollingDlg::AsciiWriteAnswer(bool bAcknowledged) const
{
    if (bAcknowledged) return EWriteAnswer::Heard;
    return ReplyFits('?', 0) ? EWriteAnswer::Refused : EWriteAnswer::NotHeard;
}

EWriteAnswer CPollingDlg::RtuWriteAnswer(const std::string& requestText) const
{
    if (!ReplyCame()) return EWriteAnswer::NotHeard;
    std::vector<BYTE> request = HexTextToBytes(requestText);
    std::vector<BYTE> reply = HexTextToBytes(m_strRtuReply);
    if (RtuReplyAnswers(request, reply)) return EWriteAnswer::Heard;
    return IsRtuException(request, reply) ? EWriteAnswer::Refused : EWriteAnswer::NotHeard;
}

std::string CPollingDlg::Request(char lead, const std::string& body) const
{
    return Request(lead, body, m_bChecksum);
}

std::string CPollingDlg::Request(char lead, const std::string& body, bool checksum) const
{
    return AsciiCommand(lead, m_strAddress, body, checksum);
}

bool CPollingDlg::SendAscii(const std::string& framed, WORD timeoutMs)
{
    WORD length = 0;
    m_szReply[0] = '\0';
    m_bModuleAnswered = false;
    std::string request = WithoutCr(framed);
    // The module frames its reply as the request came: with digits when the request carries its
    // own (a module whose checksum is on answers no other), whatever the checksum in force now. A
    // request of a dialog whose checksum was never on can end in what looks like digits ("$076C1").
    m_bChecksumSeen = m_bChecksumSeen || m_bChecksum;
    m_bReplyDigits = m_bChecksumSeen && EndsInItsChecksum(request);
    bool answered =
        !request.empty() && Link().Send_Receive_Ascii(static_cast<BYTE>(m_nPort), request.c_str(),
                                                      m_szReply, timeoutMs, 0, &length) == 0;
    m_szReply[sizeof m_szReply - 1] = '\0';
    m_bNothingCame = !answered || m_szReply[0] == '\0';
    // A reply whose checksum digits are missing or wrong was corrupted on the line: nothing in it
    // can be trusted, so it counts as none.
    if (answered && m_bReplyDigits && !EndsInItsChecksum(m_szReply)) {
        answered = false;
        m_szReply[0] = '\0';
    }
    m_eExchange = answered ? EExchange::Answered : EExchange::Unanswered;
    return answered;
}

bool CPollingDlg::SendRtu(const std::string& requestText, WORD timeoutMs)
{
    std::vector<BYTE> reply;
    std::vector<BYTE> request = HexTextToBytes(requestText);
    m_bModuleAnswered = false;
    // A request with no content would go out as a frame of CRC bytes alone.
    bool answered =
        request.size() > 1 && ExchangeRtu(static_cast<BYTE>(m_nPort), request, timeoutMs, reply);
    // A read counts only when its reply fits it or is the module's refusal: any other frame
    // (noise, cut short, padded) carries no data of it.
    m_bRtuException = answered && IsRtuException(request, reply);
    if (IsRtuRead(request))
        answered = answered && (RtuReplyAnswers(request, reply) || m_bRtuException);
    m_bNothingCame = reply.empty();
    m_strRtuReply = BytesToHexText(reply);
    m_eExchange = answered ? EExchange::Answered : EExchange::Unanswered;
    return answered;
}

void CPollingDlg::TakeReply()
{
    if (!ReplyCame()) {
        m_strReply = "ERROR";
    } else if (m_eLink == ELinkKind::Rtu) {
        m_strReply = m_strRtuReply;
    } else {
        m_strReply = m_szReply;
        if (m_bReplyDigits) m_strReply = Left(m_strReply, static_cast<int>(m_strReply.size()) - 2);
    }
}

std::string CPollingDlg::ModbusDataText() const
{
    std::string digits = Remove(m_strReply, ' ');
    return Mid(digits, 6, static_cast<int>(digits.size()) - 10);
}

bool CPollingDlg::ReplyFits(char lead, size_t length) const
{
    return ReplyFits(lead, m_strAddress, length);
}

bool CPollingDlg::ReplyFits(char lead, const std::string& address, size_t length) const
{
    std::optional<std::string> data = ReplyData(lead, address);
    return data && data->size() == length;
}

std::optional<std::string> CPollingDlg::ReplyData(char lead) const
{
    return ReplyData(lead, m_strAddress);
}

std::optional<std::string> CPollingDlg::ReplyData(char lead, const std::string& address) const
{
    std::optional<std::string> data =
        ReplyCame() ? AsciiReplyData(ReplyWithoutDigits(m_szReply, m_bReplyDigits), lead, address)
                    : std::nullopt;
    ModuleAnswered(data.has_value());
    return data;
}

std::optional<std::string> CPollingDlg::FittingData(char lead, size_t length) const
{
    return ReplyDataOf(lead, [length](const std::string& data) { return data.size() == length; });
}

std::optional<std::string> CPollingDlg::ReadingOfReply(char lead, size_t width,
                                                       EReadingSign sign) const
{
    std::optional<std::string> data = FittingData(lead, width);
    if (!data || !IsValueOfSign(*data, sign)) return std::nullopt;
    return data;
}

std::optional<std::string> CPollingDlg::ChannelCodeOfReply(int channel) const
{
    std::optional<std::string> data = ReplyData('!');
    return data ? ChannelCodeOfReplyData(*data, channel) : std::nullopt;
}

std::optional<std::vector<std::string>>
CPollingDlg::ReadingsOfReply(char lead, int count, EReadingForm form, size_t width) const
{
    std::optional<std::string> data = ReplyData(lead);
    if (!data) return std::nullopt;
    return ReadingsOfShape(*data, count, form, width);
}

bool CPollingDlg::ModuleReplied() const
{
    // Unlike the readers it notes no poll answered: the reply may be a write's own.
    if (!ReplyCame() || m_eLink == ELinkKind::Rtu) return ReplyCame();
    std::string_view reply = ReplyWithoutDigits(m_szReply, m_bReplyDigits);
    return std::ranges::any_of(std::string_view(">!?"), [&](char lead) {
        return AsciiReplyData(reply, lead, m_strAddress).has_value();
    });
}

std::optional<std::array<bool, 8>> CPollingDlg::MaskOfReply() const
{
    if (!ReplyFits('!', 2) || !IsUpperHexDigit(m_szReply[3]) || !IsUpperHexDigit(m_szReply[4]))
        return std::nullopt;
    return ChannelMaskBits(m_szReply[4], m_szReply[3]);
}

std::optional<std::vector<BYTE>> CPollingDlg::RtuReadReply() const
{
    if (!RtuDataCame()) return std::nullopt;
    return HexTextToBytes(m_strRtuReply);
}

std::optional<std::string> CPollingDlg::ReplyOf(char lead) const
{
    // Notes no poll answered: the reply shown may be a write's own.
    if (!ReplyCame()) return std::nullopt;
    std::string_view reply = ReplyWithoutDigits(m_szReply, m_bReplyDigits);
    if (!AsciiReplyData(reply, lead, m_strAddress)) return std::nullopt;
    return std::string(reply);
}
