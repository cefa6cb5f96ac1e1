#include "tests/support/FontFace.h"

#include <QFontInfo>
#include <QWidget>

#include "framework/qt/WindowHost.h"

namespace test {

std::string FontFaceOf(void* window) {
    afx::WindowHost* host = afx::WindowHost::FromHandle(static_cast<HWND>(window));
    if (host == nullptr || host->Widget() == nullptr) {
        return {};
    }
    return QFontInfo(host->Widget()->font()).family().toStdString();
}

}  // namespace test
