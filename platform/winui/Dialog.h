// Dialogs built from templates, modal (DoModal) or modeless (Create), with data exchange.
#pragma once

#include "Controls.h"
#include "DialogTemplate.h"
#include "Shell.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CDialog;
class CDialogWidget;

class CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
        : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate)
    {
    }
    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate; // TRUE: controls to members; FALSE: members to controls
};

// Edit, static or combo text.
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
// Check box state: 0/1, or false/true.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Check(CDataExchange* pDX, int nIDC, bool& value);
// Index of the checked radio button in the group that starts at nIDC, -1 when none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Selected row of a combo box, -1 when none.
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& value);
// Selected row of a list box, -1 when none.
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& value);
// Slider position.
void DDX_Slider(CDataExchange* pDX, int nIDC, int& value);
// Attaches a member control to the dialog's control of that id.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; returns what EndDialog was given.
    virtual INT_PTR DoModal();
    // Creates the dialog modelessly and shows it.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    void DestroyWindow();
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // The close box: cancels unless the Cancel button is disabled.
    void OnClose() override;
    // Member controls bound by DDX_Control; they let go of their widgets when the dialog ends.
    void AttachMember(CWnd& control, QWidget* widget);
    // A control notification: a member control whose map reflects it handles it, else the
    // dialog's map does. True when a handler ran.
    bool RouteNotify(UINT nCode, UINT nID);

    // The control of that id (null when the template has none).
    CWnd* GetDlgItem(int nID) const;
    template <class T> T* GetDlgItemAs(int nID) const { return dynamic_cast<T*>(GetDlgItem(nID)); }
    void SetDlgItemText(int nID, const std::string& text);
    std::string GetDlgItemText(int nID) const;
    void CheckDlgButton(int nID, UINT nCheck);
    UINT IsDlgButtonChecked(int nID) const;
    void CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck);
    int GetCheckedRadioButton(int nIDFirst, int nIDLast) const;

    UINT GetTemplateID() const { return m_nIDTemplate; }
    // True between creation and the end of the dialog.
    bool IsRunning() const { return m_pWidget != nullptr && !m_bEnded; }
    int GetEndResult() const { return m_nEndResult; }

    // Tests replace the modal loop: the hook runs with the initialised dialog and works it;
    // a dialog the hook leaves open is then cancelled.
    using ModalHook = std::function<void(CDialog&)>;
    static ModalHook SetModalHook(ModalHook hook);

    // Key and close-box handling the widget forwards here.
    void HandleEscape();
    void HandleEnter();
    void HandleCloseBox();

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    friend class CDialogWidget;
    bool BuildFromTemplate(CWnd* pParentWnd);
    void ConnectNotifications(const ControlTemplate& ctl, QWidget* widget);
    bool CancelAllowed() const;
    void Teardown();

    std::map<int, std::unique_ptr<CWnd>> m_controls;
    std::vector<CWnd*> m_attached;
    bool m_bEnded = false;
    bool m_bModal = false;
    int m_nEndResult = 0;
};
