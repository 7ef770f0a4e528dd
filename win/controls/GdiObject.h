// One GDI object (pen, brush, font, bitmap, region) owned for a scope: deleted when the owner goes.
#pragma once

#include <windows.h>

#include <utility>

template <typename HANDLE_T>
class CGdiObject {
public:
    explicit CGdiObject(HANDLE_T hObject = nullptr) : m_hObject(hObject) {}
    ~CGdiObject() { Reset(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_hObject(std::exchange(other.m_hObject, nullptr)) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            m_hObject = std::exchange(other.m_hObject, nullptr);
        }
        return *this;
    }

    HANDLE_T Get() const { return m_hObject; }
    void Reset(HANDLE_T hObject = nullptr) {
        if (m_hObject) ::DeleteObject(m_hObject);
        m_hObject = hObject;
    }

private:
    HANDLE_T m_hObject;
};

// Selects an object into a device context for a scope and puts the previous one back.
class CSelectObject {
public:
    CSelectObject(HDC hDC, HGDIOBJ hObject) : m_hDC(hDC), m_hOld(::SelectObject(hDC, hObject)) {}
    ~CSelectObject() { ::SelectObject(m_hDC, m_hOld); }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};
