#include "Ostra.h"

#include "MainFrm.h"
#include "OstraDoc.h"
#include "OstraView.h"
#include "Resource.h"
#include "ResourceTables.h"
#include "Shell.h"

BEGIN_MESSAGE_MAP(COstraApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

BOOL COstraApp::InitInstance()
{
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    // One document, frame and view for the life of the program: a new document, or the one the
    // command line names. Start-up ends when that cannot be opened.
    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME, kMainMenu, new COstraView, new COstraDoc)) {
        return FALSE;
    }
    if (!ProcessShellCommand(cmdInfo)) {
        delete frame;
        return FALSE;
    }
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    frame->CenterWindow();
    frame->SetWindowText("Talvik_4333_Utility");
    return TRUE;
}

void COstraApp::OnAppAbout()
{
    ShellOpen(GetProgramFolder() + "help.chm");
}
