#pragma once
// CPaintDC: painting a window inside its paint message.

#include <memory>

#include "framework/AfxTypes.h"

class CWnd;

struct HDCTag;
using HDC = HDCTag*;

class CPaintDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    // Null when painting could not begin (outside the window's paint message).
    HDC GetSafeHdc() const;
    BOOL DrawIcon(int x, int y, HICON icon);

private:
    struct Painter;
    std::unique_ptr<Painter> m_painter;
};

inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SM_CXSMICON = 49;  // a title bar's small icon
inline constexpr int SM_CYSMICON = 50;
int GetSystemMetrics(int index);

// The icon group `id` of the program's resources at the standard icon size (SM_CXICON), loaded
// once and never destroyed; null when the program has no such icon.
HICON AfxLoadIcon(UINT id);
