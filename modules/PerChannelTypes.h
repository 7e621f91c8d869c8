// What the dialogs of modules with one input type per channel share: the channel rows (enable box,
// type list, value field), the enable mask as the modules read and write it (two hex digits, the
// high one for CH4 to CH7), and the type codes behind the rows of the type lists.
#pragma once

#include "EnableMask.h"
#include "ModuleDlg.h"
#include "PerChannelIds.h"

#include <array>
#include <optional>

// The channel rows of a template.
struct SChannelRows {
    int nChannels;               // 3, 6 or 8
    std::array<int, 8> checkIds; // enable boxes, CH0 first; 0 where a template has none
    std::array<int, 8> valueIds = {IDC_PC_VALUE0,     IDC_PC_VALUE0 + 1, IDC_PC_VALUE0 + 2,
                                   IDC_PC_VALUE0 + 3, IDC_PC_VALUE0 + 4, IDC_PC_VALUE0 + 5,
                                   IDC_PC_VALUE0 + 6, IDC_PC_VALUE0 + 7};
};

class CPerChannelTypeDlg : public CModuleDlg {
public:
    void DoDataExchange(CDataExchange* pDX) override;

    template <int k> void OnToggleChannel() { ToggleChannel(k); }
    template <int k> void OnSelchangeType() { QueueTypeWrite(k); }

    // Marks the channels whose bits are set in the mask digits (never unmarks one) and shows the
    // marks in the boxes; a digit that is no hex digit marks none.
    void ParseEnableMask(char low, char high);
    void ShowEnableMask(const std::array<bool, 8>& bits);
    // The mask of the marks, a write pending until the module hears or refuses it.
    void BuildEnableMask();
    // Row 0 (the only one the dialogs pass) puts the text into the channel's value field.
    void ShowChannelValue(int channel, int row, const std::string& text);

    // A forgotten mask restores the marks it found: a box ticked while it was awaited goes back.
    CEnableMask m_mask{EForgottenMask::MarksBeforeRead};
    std::array<int, 8>& m_bChannelEnabled = m_mask.m_bBoxes;
    std::string m_strEnableMask;
    std::string m_strRespond; // bound to the Respond field

    DECLARE_MESSAGE_MAP()

protected:
    // m_nCommand values both protocols use.
    enum : int { kCmdPoll = 0, kCmdWriteMask = 1, kCmdBackToPoll = 2, kCmdWriteType = 10 };

    CPerChannelTypeDlg(const SModuleDescriptor& descriptor, SChannelRows rows, CodeTable typeCodes);

    int Channels() const { return m_rows.nChannels; }
    // A channel's value is shown when its box is ticked, or always where it has no box.
    bool ChannelShown(int channel) const;
    int TypeRow(int channel) const;
    // The code of the row the channel's list shows; empty when it shows none.
    std::string TypeCode(int channel) const;
    void SelectTypeRow(int channel, int row);
    // The channel and code of the next type write.
    void PrepareTypeWrite(int channel);
    // Each channel's type write is pending on its own, until the module hears or refuses it.
    static int TypeWriteCommand(int channel) { return kCmdWriteType + channel; }
    // The channel a type write's command names; -1 for any other command.
    int TypeWriteChannel(int nCommand) const;
    // The type the module measures in, as a read or a heard write told it: the row its list shows
    // unless the channel's write is pending; a code no row stands for leaves the list as it is.
    void ShowModuleType(int channel, const std::string& code);
    // The row of the type the module was last known to measure in; -1: not known.
    int ModuleTypeRow(int channel) const { return m_nModuleTypeRow[static_cast<size_t>(channel)]; }
    // The answer to the type write that went out last (PrepareTypeWrite): heard, the module
    // measures in the new type; refused, the list shows the module's type again; not heard, the
    // write stays pending. Gives the answer back.
    EWriteAnswer SettleTypeWrite(EWriteAnswer answer);
    // The mask write goes out: the marks as they stand now.
    std::string MaskWriteGoesOut();
    // The answer to the mask write that went out last: heard, the module's mask is the one
    // written; refused, the boxes show the module's mask again; not heard, it stays pending.
    EWriteAnswer SettleMaskWrite(EWriteAnswer answer);
    // The marks as they stand are the module's mask (no read tells it).
    void TakeMarksAsModuleMask() { m_mask.TakeBoxesAsModule(); }
    // The dialog reads the module's mask at the start (the marks as they stand are those before
    // it). When the read is lost, a box ticked meanwhile is put back and its write dropped, and
    // until a later read is answered a click writes nothing and says so in the field
    // m_nMaskStatus: the mask would change channels nobody touched.
    void AwaitMask() { m_mask.Await(); }
    // The answer to a mask read: the module's mask; its refusal, which marks no channel and leaves
    // the boxes to the operator (a click then writes the mask); or neither (silence, a reply of
    // another shape): the read was lost.
    void ReadMaskAnswer(const std::optional<std::array<bool, 8>>& bits, bool bRefused);
    // The mask is asked for again between the polls while this holds.
    bool MaskMissing() const { return m_mask.Missing(); }

    // A type list's change queues the write of its channel's type.
    void QueueTypeWrite(int channel);

    int m_nTypeChannel = 0;
    std::string m_strTypeCode;
    int m_nMaskStatus = IDC_PC_RESPOND;

private:
    void ToggleChannel(int k);
    void ForgetEnableMask();

    SChannelRows m_rows;
    CodeTable m_typeCodes;
    std::array<int, 8> m_nModuleTypeRow = {-1, -1, -1, -1, -1, -1, -1, -1};
};
