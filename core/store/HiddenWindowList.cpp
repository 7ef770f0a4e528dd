// The hidden-window list, read from and written to winnodes.tmp.
#include "core/store/HiddenWindowList.h"

#include <cstring>
#include <iterator>

#include "core/store/EventLog.h"
#include "core/store/RecordFile.h"
#include "core/store/RecordReader.h"
#include "core/store/RecordWriter.h"

namespace {

// Where dmPelsWidth and dmPelsHeight lie in the 156-byte display image.
constexpr std::size_t kPelsWidthAt = 108;
constexpr std::size_t kPelsHeightAt = 112;

std::uint32_t DisplayField(const HIDDEN_WINDOW& window, std::size_t nAt) {
    const std::uint8_t* p = window.dmDisplay + nAt;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

}  // namespace

std::uint32_t GetDisplayWidth(const HIDDEN_WINDOW& window) { return DisplayField(window, kPelsWidthAt); }
std::uint32_t GetDisplayHeight(const HIDDEN_WINDOW& window) { return DisplayField(window, kPelsHeightAt); }

bool CHiddenWindowList::Load() {
    std::list<HIDDEN_WINDOW> windows;
    const bool bRead = CRecordFile::Load(kFileName, kRecordSize, [&](const BYTES& bytes, std::size_t nOffset) {
        CRecordReader reader(bytes, nOffset, nOffset + kRecordSize);
        HIDDEN_WINDOW& window = windows.emplace_back();
        std::int32_t nHandle = 0;
        reader.ReadInt32(nHandle);
        window.hWnd = static_cast<std::uint32_t>(nHandle);
        reader.ReadInt32(window.nSource);
        reader.ReadBytes(window.dmDisplay, sizeof window.dmDisplay);
        reader.ReadInt32(window.rcWindow.left);
        reader.ReadInt32(window.rcWindow.top);
        reader.ReadInt32(window.rcWindow.right);
        reader.ReadInt32(window.rcWindow.bottom);
        reader.ReadInt32(window.nRestore);
    });
    if (bRead) m_windows.swap(windows);
    return bRead;
}

bool CHiddenWindowList::Save() const {
    CRecordWriter writer;
    for (const HIDDEN_WINDOW& window : m_windows) {
        writer.PutUInt32(window.hWnd);
        writer.PutInt32(window.nSource);
        writer.PutBytes(window.dmDisplay, sizeof window.dmDisplay);
        writer.PutInt32(window.rcWindow.left);
        writer.PutInt32(window.rcWindow.top);
        writer.PutInt32(window.rcWindow.right);
        writer.PutInt32(window.rcWindow.bottom);
        writer.PutInt32(window.nRestore);
    }
    if (CRecordFile::Save(kFileName, writer.Bytes())) return true;
    // The list stays in memory and the next change saves it again; the parent hears of it.
    CEventLog::Append(CEventLog::kSaveFailed, "", std::string(kFileName) + " could not be written");
    return false;
}

void CHiddenWindowList::Add(const HIDDEN_WINDOW& window) { m_windows.push_back(window); }

void CHiddenWindowList::Add(std::uint32_t hWnd, std::int32_t nSource, const std::uint8_t (&dmDisplay)[156],
                            const HIDDEN_RECT& rcWindow, std::int32_t nRestore) {
    HIDDEN_WINDOW window;
    window.hWnd = hWnd;
    window.nSource = nSource;
    std::memcpy(window.dmDisplay, dmDisplay, sizeof window.dmDisplay);
    window.rcWindow = rcWindow;
    window.nRestore = nRestore;
    m_windows.push_back(window);
}

void CHiddenWindowList::Remove(std::uint32_t hWnd) {
    for (auto it = m_windows.begin(); it != m_windows.end(); ++it) {
        if (it->hWnd == hWnd) {
            m_windows.erase(it);
            return;
        }
    }
}

bool CHiddenWindowList::Exists(std::uint32_t hWnd) const {
    for (const HIDDEN_WINDOW& window : m_windows)
        if (window.hWnd == hWnd) return true;
    return false;
}

bool CHiddenWindowList::ExistsFromFullScreen(std::uint32_t hWnd) const {
    for (const HIDDEN_WINDOW& window : m_windows)
        if (window.hWnd == hWnd && window.nSource == kFromFullScreen) return true;
    return false;
}

int CHiddenWindowList::GetCount() const { return static_cast<int>(m_windows.size()); }

const HIDDEN_WINDOW* CHiddenWindowList::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount()) return nullptr;
    return &*std::next(m_windows.begin(), nIndex);
}

int CHiddenWindowList::CountFromFullScreen() const {
    int nCount = 0;
    for (const HIDDEN_WINDOW& window : m_windows)
        if (window.nSource == kFromFullScreen) ++nCount;
    return nCount;
}

const HIDDEN_WINDOW* CHiddenWindowList::GetFromFullScreen(int n) const {
    if (n < 0) return nullptr;
    for (const HIDDEN_WINDOW& window : m_windows)
        if (window.nSource == kFromFullScreen && n-- == 0) return &window;
    return nullptr;
}

void CHiddenWindowList::RemoveAll() { m_windows.clear(); }
