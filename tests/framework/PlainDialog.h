#pragma once
// A dialog on the console's template with nothing of the console: just the controls, and records of
// what reached it.

#include <vector>

#include "framework/Dialog.h"
#include "res/Resource.h"

namespace test {

constexpr UINT WM_PROBE = WM_USER + 7;

// A dialog on the console's template with nothing of the console: just the controls.
class PlainDialog : public CDialog {
public:
    PlainDialog() : CDialog(IDD_CONSOLE_DIALOG) {}

    UINT port = 1234;
    std::vector<WPARAM> probes;
    std::vector<UINT_PTR> ticks;
    int changes = 0;

    LRESULT OnProbe(WPARAM wParam, LPARAM /*lParam*/) {
        probes.push_back(wParam);
        return 0;
    }
    void OnTimer(UINT_PTR id) { ticks.push_back(id); }
    void OnChangeCycle() { ++changes; }

    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_EDIT_LOCAL_PORT, port); }

    DECLARE_MESSAGE_MAP()
};

inline BEGIN_MESSAGE_MAP(PlainDialog, CDialog) ON_MESSAGE(WM_PROBE, OnProbe) ON_WM_TIMER()
    ON_EN_CHANGE(IDC_EDIT_CYCLE, OnChangeCycle) END_MESSAGE_MAP()

}  // namespace test
