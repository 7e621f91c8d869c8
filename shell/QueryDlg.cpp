#include "QueryDlg.h"

#include "MainFrm.h"
#include "Resource.h"

CQueryDlg::CQueryDlg(CMainFrame* pMainFrame) : CDialog(IDD_SEARCH, pMainFrame), m_pMainFrame(pMainFrame) {}
