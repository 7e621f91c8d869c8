// Every call of the program into the ASCII link (uart) and the RTU link (Portix_rtu) goes through
// this table, so tests can put the simulated bus in place of the real line.
#pragma once

#include "Portix_rtu.h"
#include "uart.h"

struct LinkTable {
    decltype(&::Open_ComAscii) Open_ComAscii;
    decltype(&::Change_BaudAscii) Change_BaudAscii;
    decltype(&::Close_ComAscii) Close_ComAscii;
    decltype(&::Send_Receive_Ascii) Send_Receive_Ascii;
    decltype(&::Open_ComRtu) Open_ComRtu;
    decltype(&::Close_ComRtu) Close_ComRtu;
    decltype(&::Send_Receive_Rtu) Send_Receive_Rtu;
    decltype(&::GetRtuStrCRC) GetRtuStrCRC;
};

// The libraries the program is linked with.
const LinkTable& RealLink();
// The table in force.
const LinkTable& Link();
// Installs a table (nullptr restores the real libraries). The caller keeps ownership.
void SetLink(const LinkTable* table);
