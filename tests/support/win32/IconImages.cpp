#include "tests/support/win32/IconImages.h"

#include <windows.h>

namespace test::icons {

namespace {

std::vector<std::uint32_t> Pixels(HBITMAP bitmap, int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != height) {
        pixels.clear();
    }
    return pixels;
}

}  // namespace

Image Of(void* icon) {
    ICONINFO info{};
    if (icon == nullptr || ::GetIconInfo(static_cast<HICON>(icon), &info) == FALSE) {
        return {};
    }
    Image image;
    BITMAP mask{};
    ::GetObjectW(info.hbmMask, sizeof mask, &mask);
    image.width = mask.bmWidth;
    // A monochrome icon keeps its AND and XOR masks in one bitmap twice as tall.
    image.height = info.hbmColor != nullptr ? mask.bmHeight : mask.bmHeight / 2;
    if (info.hbmColor != nullptr) {
        image.colour = Pixels(info.hbmColor, image.width, image.height);
        ::DeleteObject(info.hbmColor);
    }
    image.mask = Pixels(info.hbmMask, image.width, image.height);
    ::DeleteObject(info.hbmMask);
    return image;
}

Image ProgramImage(unsigned id, int width, int height) {
    HANDLE icon = ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, 0);
    Image image = Of(icon);
    if (icon != nullptr) {
        ::DestroyIcon(static_cast<HICON>(icon));
    }
    return image;
}

}  // namespace test::icons
