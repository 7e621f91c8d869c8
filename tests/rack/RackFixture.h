// A test's world for the ASCII rack dialogs: a rack main unit on COM1 of a simulated bus (address
// 0x50, 9600 baud) with slot modules, its block in the frame as the dispatch fills it, and the
// virtual clock, link and message boxes of every module dialog test.
#pragma once

#include "ModuleFixture.h"
#include "SimCodec.h"
#include "SimRack.h"

#include "LinkTable.h"

class CRackFixture : public CModuleFixture {
protected:
    explicit CRackFixture(const char* slotCodes = "27,59,23,71,28,25,13,FF",
                          const char* address = "50")
    {
        m_bus.Load(std::string("2333E 0x") + address + " 9600 ascii slots=" + slotCodes + "\n");
        m_pRack = &m_bus.ModuleAs<CSimRack>(0);
        m_frame.m_strRackParams = {address, "06", "0", "", "0", "1333E", "ASC"};
    }
    // The checksum on in the unit and in the block.
    void ChecksumOn()
    {
        m_pRack->SetChecksum(true);
        m_frame.m_strRackParams[kCheck] = "4";
    }
    // The line as the main unit's dialog holds it open for a slot dialog.
    void OpenLine() { ASSERT_EQ(Link().Open_ComAscii(1, 9600, 8, 0, 0), 0); }
    // The framed text of a request as it reaches the link (checksum digits when on).
    std::string Wire(const std::string& text) const
    {
        return text + (m_pRack->Checksum() ? SimAsciiChecksum(text) : "");
    }
    std::vector<std::string> Wire(std::initializer_list<const char*> texts) const
    {
        std::vector<std::string> wire;
        for (const char* text : texts) wire.push_back(Wire(text));
        return wire;
    }

    CSimRack* m_pRack = nullptr;
};
