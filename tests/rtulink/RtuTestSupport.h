// What the tests of both RTU library builds share: a line on a pseudo-terminal with a scripted far
// end, and byte-string helpers.
#pragma once

#include "Portix_rtu.h"
#include "ProcessStats.h"
#include "PtyPair.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

inline std::string FromHex(std::string_view hex)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 3)
        bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    return bytes;
}

inline const BYTE* AsBytes(const std::string& bytes)
{
    return reinterpret_cast<const BYTE*>(bytes.data());
}

// The request with its CRC, as the program frames it.
inline std::string WithCrc(const std::string& body)
{
    std::string frame(body.size() + 2, '\0');
    GetRtuStrCRC(AsBytes(body), static_cast<DWORD>(body.size()),
                 reinterpret_cast<BYTE*>(frame.data()));
    return frame;
}

class RtuLinkTest : public ::testing::Test {
protected:
    static constexpr BYTE kPort = 7;
    // Portix_rtu ignores the second argument of the open; Kobal takes it as the line silence.
    static constexpr DWORD kOpenArg = 100;

    void SetUp() override
    {
        m_pty.KeepSlaveOpen();
        ASSERT_EQ(Open_ComRtu(kPort, kOpenArg, 9600, 8, 0, 1), 1);
    }
    void TearDown() override { Close_ComRtu(kPort); }

    // The far end reads a request of requestBytes, then sends each chunk after its pause.
    void AnswerNextRequest(size_t requestBytes, std::vector<PtyChunk> chunks)
    {
        m_farEnd = std::jthread([this, requestBytes, chunks] {
            m_strRequest = m_pty.Read(requestBytes, 3000);
            m_pty.WriteChunks(chunks);
        });
    }
    // What the far end received, once it is done.
    std::string Request()
    {
        if (m_farEnd.joinable()) m_farEnd.join();
        return m_strRequest;
    }
    int Exchange(const std::string& request, WORD timeoutMs, WORD sixth = 0, BYTE port = kPort)
    {
        std::fill_n(m_pReply.get(), kRtuReplyBufferSize, 0xEE);
        return Send_Receive_Rtu(port, AsBytes(request), static_cast<DWORD>(request.size()),
                                m_pReply.get(), timeoutMs, sixth, &m_nLength);
    }
    std::string Reply() const
    {
        return std::string(reinterpret_cast<const char*>(m_pReply.get()), m_nLength);
    }

    CPtyPair m_pty;
    CScopedComPort m_com{kPort, m_pty.SlavePath()};
    std::string m_strRequest;
    std::jthread m_farEnd;
    // Exactly the size the link asks for, on the heap, so a write past it is caught.
    std::unique_ptr<BYTE[]> m_pReply = std::make_unique<BYTE[]>(kRtuReplyBufferSize);
    WORD m_nLength = 0xFFFF;
};
