#include "LinkTable.h"

namespace {
const LinkTable g_realLink = {
    ::Open_ComAscii, ::Change_BaudAscii, ::Close_ComAscii,   ::Send_Receive_Ascii,
    ::Open_ComRtu,   ::Close_ComRtu,     ::Send_Receive_Rtu, ::GetRtuStrCRC,
};
const LinkTable* g_pLink = &g_realLink;
} // namespace

const LinkTable& RealLink()
{
    return g_realLink;
}
const LinkTable& Link()
{
    return *g_pLink;
}
void SetLink(const LinkTable* table)
{
    g_pLink = table ? table : &g_realLink;
}
