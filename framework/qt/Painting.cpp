#include <QBuffer>
#include <QIcon>
#include <QImageReader>
#include <QPainter>

#include <map>
#include <memory>

#include "framework/PaintDC.h"
#include "framework/Resources.h"
#include "framework/Wnd.h"
#include "framework/qt/DialogWindow.h"
#include "framework/qt/WindowHost.h"

struct CPaintDC::Painter {
    QPainter painter;
};

CPaintDC::CPaintDC(CWnd* wnd) {
    afx::WindowHost* host = wnd != nullptr ? afx::WindowHost::FromHandle(wnd->m_hWnd) : nullptr;
    auto* dialog = host != nullptr ? qobject_cast<afx::DialogWindow*>(host->Widget()) : nullptr;
    // A widget can only be painted from inside its paint event.
    if (dialog != nullptr && dialog->IsPainting()) {
        m_painter = std::make_unique<Painter>();
        m_painter->painter.begin(dialog);
    }
}

CPaintDC::~CPaintDC() = default;

HDC CPaintDC::GetSafeHdc() const { return m_painter ? reinterpret_cast<HDC>(&m_painter->painter) : nullptr; }

BOOL CPaintDC::DrawIcon(int x, int y, HICON icon) {
    if (!m_painter || icon == nullptr) {
        return FALSE;
    }
    const auto* qicon = reinterpret_cast<const QIcon*>(icon);
    const int size = GetSystemMetrics(SM_CXICON);
    m_painter->painter.drawPixmap(x, y, qicon->pixmap(size, size));
    return TRUE;
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXICON:
        case SM_CYICON: return 32;
        case SM_CXSMICON:
        case SM_CYSMICON: return 16;
        default: return 0;
    }
}

HICON AfxLoadIcon(UINT id) {
    static std::map<UINT, std::unique_ptr<QIcon>> loaded;
    auto& icon = loaded[id];
    if (!icon) {
        const std::span<const unsigned char> data = AfxFindIcon(id);
        if (data.empty()) {
            loaded.erase(id);
            return nullptr;
        }
        QByteArray bytes(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "ico");
        icon = std::make_unique<QIcon>();
        // One image for each size in the group.
        for (int i = 0; i < reader.imageCount(); ++i) {
            reader.jumpToImage(i);
            icon->addPixmap(QPixmap::fromImage(reader.read()));
        }
    }
    return reinterpret_cast<HICON>(icon.get());
}
