// The channel enable mask as a dialog keeps it: the boxes, the mask of the write in hand, the mask
// the module was last known to hold, and whether the module's mask is missing (its read was lost).
// The dialog shows the boxes and sends the writes; this holds only the state.
#pragma once

#include "ModuleCodes.h"

#include <array>
#include <string>

// What the boxes show again when the mask read is lost while a click's write was waiting for it.
enum class EForgottenMask {
    NoChannel,       // no box ticked
    MarksBeforeRead, // the marks as they stood when the read went out (Await)
};

class CEnableMask {
public:
    using Marks = std::array<int, 8>;

    explicit CEnableMask(EForgottenMask eForgotten, Marks boxes = {})
        : m_bBoxes(boxes), m_bModule(boxes), m_eForgotten(eForgotten)
    {
    }

    // A click on channel k's box: false, the box unchanged, while the module's mask is missing (a
    // write would change channels nobody touched).
    bool Toggle(int k)
    {
        if (m_bMissing) return false;
        int& box = m_bBoxes[static_cast<size_t>(k)];
        box = box == 1 ? 0 : 1;
        return true;
    }
    // The boxes as the module reads them: two hex digits, CH4-CH7 first.
    std::string Text() const { return ChannelMaskText(m_bBoxes); }
    // The write goes out with the boxes as they stand; its two hex digits.
    std::string Send()
    {
        m_bSent = m_bBoxes;
        return ChannelMaskText(m_bSent);
    }
    // The module heard the write: its mask is the one sent.
    void Heard() { m_bModule = m_bSent; }
    // The module refused the write for good: the boxes show its mask again.
    void Refused() { m_bBoxes = m_bModule; }
    // The boxes as they stand are the module's mask (no read tells it).
    void TakeBoxesAsModule() { m_bModule = m_bBoxes; }
    // The read of the module's mask goes out: the marks before it are remembered.
    void Await() { m_bBeforeRead = m_bBoxes; }
    // The module's mask read (its refusal reads as no bit): the first channels of those the bits
    // set are marked (none is unmarked), and the marks are the module's mask.
    void Read(const std::array<bool, 8>& bits, int channels = 8)
    {
        m_bMissing = false;
        for (size_t k = 0; k < static_cast<size_t>(channels); ++k)
            if (bits[k]) m_bBoxes[k] = 1;
        m_bModule = m_bBoxes;
    }
    // The mask read was lost: missing until a read is answered. bWriteDropped: a click's write
    // that waited for it is dropped, and the boxes show what a forgotten mask restores.
    void Forget(bool bWriteDropped)
    {
        m_bMissing = true;
        if (!bWriteDropped) return;
        if (m_eForgotten == EForgottenMask::NoChannel)
            m_bBoxes.fill(0);
        else
            m_bBoxes = m_bBeforeRead;
    }
    // While the module's mask is missing it is asked for again and a click writes nothing.
    bool Missing() const { return m_bMissing; }
    const Marks& Module() const { return m_bModule; }

    Marks m_bBoxes{}; // bound to the boxes

private:
    Marks m_bSent{};
    Marks m_bModule{};
    Marks m_bBeforeRead{};
    EForgottenMask m_eForgotten;
    bool m_bMissing = false;
};
