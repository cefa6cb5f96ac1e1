#include "framework/PaintDC.h"
#include "framework/Wnd.h"
#include "framework/win32/User32.h"

struct CPaintDC::Painter {
    w32::Paint* paint = nullptr;
};

CPaintDC::CPaintDC(CWnd* wnd) {
    if (wnd != nullptr && ::IsWindow(wnd->m_hWnd)) {
        if (w32::Paint* paint = w32::BeginPaint(reinterpret_cast<w32::Handle>(wnd->m_hWnd))) {
            m_painter = std::make_unique<Painter>();
            m_painter->paint = paint;
        }
    }
}

CPaintDC::~CPaintDC() {
    if (m_painter) {
        w32::EndPaint(m_painter->paint);
    }
}

HDC CPaintDC::GetSafeHdc() const { return m_painter ? reinterpret_cast<HDC>(w32::PaintDc(m_painter->paint)) : nullptr; }

BOOL CPaintDC::DrawIcon(int x, int y, HICON icon) {
    return m_painter && icon != nullptr && w32::DrawIcon(m_painter->paint, x, y, reinterpret_cast<w32::Handle>(icon))
               ? TRUE
               : FALSE;
}

int GetSystemMetrics(int index) { return w32::SystemMetric(index); }

HICON AfxLoadIcon(UINT id) { return reinterpret_cast<HICON>(w32::LoadProgramIcon(id)); }
