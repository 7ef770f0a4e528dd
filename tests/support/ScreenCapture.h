// Saves what is on the screen, or a window's part of it, as a 24-bit BMP for a person to look at.
// The test scripts turn the BMP files into PNG afterwards.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

// The folder the test run names for pictures (QUENBY_SHOTS), with a trailing backslash, or ""
// when pictures are not wanted.
inline std::string ScreenshotFolder() {
    const char* pszFolder = std::getenv("QUENBY_SHOTS");
    if (!pszFolder || !*pszFolder) return std::string();
    std::string strFolder(pszFolder);
    if (strFolder.back() != '\\') strFolder += '\\';
    ::CreateDirectoryA(strFolder.c_str(), nullptr);
    return strFolder;
}

// Writes the screen rectangle rc into a BMP file; false when the file cannot be written.
inline bool SaveScreenArea(const RECT& rc, const std::string& strPath) {
    const int nWidth = rc.right - rc.left, nHeight = rc.bottom - rc.top;
    if (nWidth <= 0 || nHeight <= 0) return false;
    HDC hScreen = ::GetDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(hScreen, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    ::BitBlt(hMem, 0, 0, nWidth, nHeight, hScreen, rc.left, rc.top, SRCCOPY);
    ::GdiFlush();
    const DWORD nStride = (static_cast<DWORD>(nWidth) * 3 + 3) & ~3u;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + nStride * nHeight;
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(pBits), static_cast<std::streamsize>(nStride) * nHeight);
    const bool bWritten = out.good();
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::DeleteObject(hBitmap);
    ::ReleaseDC(nullptr, hScreen);
    return bWritten;
}

inline bool SaveScreen(const std::string& strPath) {
    const RECT rc{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return SaveScreenArea(rc, strPath);
}

// A window of this process as it is drawn, after its pending painting has been done.
inline bool SaveWindowShot(HWND hWnd, const std::string& strPath) {
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int i = 0; i < 20; ++i) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        ::Sleep(10);
    }
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    return SaveScreenArea(rc, strPath);
}
