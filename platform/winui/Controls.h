// Control windows. Each is a handle on the widget its dialog built from the template; the dialog
// owns the widgets, the program's member controls are attached to them by DDX_Control.
#pragma once

#include "Wnd.h"

#include <string>

using HICON = int; // an icon resource id; 0 = none

inline constexpr int CB_ERR = -1;
inline constexpr int LB_ERR = -1;
inline constexpr UINT BST_UNCHECKED = 0;
inline constexpr UINT BST_CHECKED = 1;

class CEdit : public CWnd {
public:
    void SetReadOnly(BOOL bReadOnly = TRUE);
    void SetLimitText(UINT nMax);
    void SetSel(int nStart, int nEnd);
    void ReplaceSel(const std::string& text);
    int GetLineCount() const;
};

class CButton : public CWnd {
public:
    int GetCheck() const;
    void SetCheck(int nCheck);
    // A push button that shows an icon in place of text.
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};

class CStatic : public CWnd {
public:
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};

class CComboBox : public CWnd {
public:
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int AddString(const std::string& text);
    int InsertString(int nIndex, const std::string& text);
    int DeleteString(int nIndex);
    void ResetContent();
    std::string GetLBText(int nIndex) const;
    int FindStringExact(int nStartAfter, const std::string& text) const;
    int SelectString(int nStartAfter, const std::string& text);
};

class CListBox : public CWnd {
public:
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int AddString(const std::string& text);
    int InsertString(int nIndex, const std::string& text);
    int DeleteString(int nIndex);
    void ResetContent();
    std::string GetText(int nIndex) const;
    int SetTopIndex(int nIndex);
};

inline constexpr int LVCFMT_LEFT = 0;
inline constexpr UINT LVIS_SELECTED = 2;
inline constexpr UINT LVIS_FOCUSED = 1;

// Report-style list.
class CListCtrl : public CWnd {
public:
    int InsertColumn(int nCol, const std::string& heading, int nFormat = LVCFMT_LEFT,
                     int nWidth = -1);
    int GetColumnCount() const;
    int GetColumnWidth(int nCol) const;
    std::string GetColumnHeading(int nCol) const;
    int InsertItem(int nItem, const std::string& text);
    BOOL SetItemText(int nItem, int nSubItem, const std::string& text);
    std::string GetItemText(int nItem, int nSubItem) const;
    int GetItemCount() const;
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    // First selected row, -1 when none.
    int GetNextSelectedItem() const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    BOOL EnsureVisible(int nItem, BOOL bPartialOK);
};

class CProgressCtrl : public CWnd {
public:
    void SetRange(short nLower, short nUpper);
    void SetRange32(int nLower, int nUpper);
    int SetPos(int nPos);
    int GetPos() const;
    int SetStep(int nStep);
    int StepIt();
    void GetRange(int& nLower, int& nUpper) const;

private:
    int m_nStep = 10;
};

class CSliderCtrl : public CWnd {
public:
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE);
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE);
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetPos(int nPos);
    int GetPos() const;
    void SetTicFreq(int nFreq);
    int SetPageSize(int nSize);
    int SetLineSize(int nSize);
};

class CTabCtrl : public CWnd {
public:
    int InsertItem(int nItem, const std::string& text);
    int GetCurSel() const;
    int SetCurSel(int nItem);
    int GetItemCount() const;
    BOOL DeleteAllItems();
    std::string GetItemText(int nItem) const;
};
