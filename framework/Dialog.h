#pragma once
// CDialog: a modal dialog made from a dialog template. Enter is OK (read the form, end when it is
// valid) unless the focus is on a push button, which it clicks, or in a multi-line box, where it
// breaks the line; Esc, the close box and Alt+F4 are Cancel (end at once); F1 asks for help.

#include "framework/DataExchange.h"
#include "framework/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Creates the window from the template, runs its loop until EndDialog and destroys the
    // window. Returns the value given to EndDialog, or -1 when the window cannot be created.
    virtual int DoModal();
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);
    // Dialog units in the dialog's pixels, as the window system places the template's controls.
    void MapDialogRect(RECT* rect) const;

    // Runs the form exchange: true reads the controls into the members and validates them, false
    // shows the members in the controls. False when a field failed (its message has been shown).
    // Notifications of the dialog's own controls are dropped while it runs.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    UINT TemplateId() const { return m_nIDTemplate; }
    // The running dialog that holds the keyboard focus, or null.
    static CDialog* FromFocus();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    bool m_bLockNotify = false;
    bool m_bEnded = false;
    int m_nModalResult = -1;
    afx::FormReads m_formReads;
};
