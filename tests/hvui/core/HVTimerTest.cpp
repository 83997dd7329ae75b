// Multimedia timers: ticks on the system's timer thread, the application
// timer's named tick, the entries a kill leaves, the process registry; and
// the drop target's answers to a drag that offers a file.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <shlobj.h>

#include "DialogTestSupport.h"
#include "HVTimer.h"
#include "MRender.h"

using namespace hvui_test;

namespace {

class CountingTimer : public HVTimer {
public:
    void OnMTimer(unsigned id) override {
        ++ticks;
        lastId = id;
        std::lock_guard<std::mutex> lock(mutex);
        threads.insert(GetCurrentThreadId());
    }
    void OnMTimer(unsigned, CString name) override {
        std::lock_guard<std::mutex> lock(mutex);
        names.insert(name.Str());
    }
    std::atomic<int> ticks{0};
    std::atomic<unsigned> lastId{0};
    std::mutex mutex;
    std::set<DWORD> threads;
    std::set<std::wstring> names;
};

TEST(HVTimerTest, TimersTickOnTheTimerThreadAndApplicationTimersHearTheirName) {
    CountingTimer timer;
    const unsigned plain = timer.SetTimer(10, L"plain", 0);
    const unsigned named = timer.SetTimer(15, L"fan", 1);
    ASSERT_NE(plain, 0u);
    ASSERT_NE(named, 0u);
    EXPECT_EQ(HVTimer::m_bIsTmierOK, 1);
    EXPECT_EQ(HVTimer::GetFSTimer(named), &timer);
    EXPECT_EQ(timer.GetTimerName(named), CString(L"fan"));
    EXPECT_EQ(timer.IsAppTimer(named), 1);
    EXPECT_EQ(timer.IsAppTimer(plain), 0);
    Sleep(150);
    EXPECT_GE(timer.ticks.load(), 5);
    {
        std::lock_guard<std::mutex> lock(timer.mutex);
        EXPECT_EQ(timer.threads.count(GetCurrentThreadId()), 0u);
        EXPECT_EQ(timer.names, std::set<std::wstring>{L"fan"});
    }

    EXPECT_EQ(timer.KillTimer(CString(L"fan")), 1);  // one entry left
    EXPECT_EQ(timer.GetTimerIsRun(CString(L"fan")), 0);
    EXPECT_EQ(timer.KillTimer(12345u), 1);             // no such id: nothing changes
    EXPECT_EQ(timer.KillTimer(plain), 0);
    const int ticks = timer.ticks;
    Sleep(50);
    EXPECT_EQ(timer.ticks.load(), ticks);
    EXPECT_EQ(HVTimer::GetFSTimer(plain), nullptr);
}

TEST(HVTimerTest, TheResolutionIsGivenBackWhenTheLastTimerObjectGoes) {
    {
        CountingTimer timer;
        timer.SetTimer(20, L"", 0);
        EXPECT_EQ(HVTimer::m_bIsTmierOK, 1);
        CountingTimer second;
        second.SetTimer(20, L"", 0);
    }
    EXPECT_EQ(HVTimer::m_bIsTmierOK, 0);
}

TEST(HVTimerTest, ADestroyedTimerGetsNoMoreTicks) {
    // Many short-lived objects with fast timers: a tick that reached a
    // destroyed object would crash or call a pure virtual function.
    for (int i = 0; i < 50; ++i) {
        auto timer = std::make_unique<CountingTimer>();
        timer->SetTimer(1, L"", 1);
        Sleep(2);
    }
    SUCCEED();
}

// A data object that offers one file, as Explorer does when a file is dragged.
class FileDrop : public IDataObject {
public:
    explicit FileDrop(const std::wstring& path) : m_path(path) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        const size_t bytes = sizeof(DROPFILES) + (m_path.size() + 2) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GHND, bytes);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        memcpy(reinterpret_cast<BYTE*>(drop) + sizeof(DROPFILES), m_path.c_str(), m_path.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    std::wstring m_path;
};

// The paint window hears the dropped picture as a set-image message.
class DropDialog : public TestDialog {
public:
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == 0x0172) {
            BITMAP info = {};
            if (GetObjectW(reinterpret_cast<HBITMAP>(lParam), sizeof(info), &info)) received = info.bmWidth;
            DeleteObject(reinterpret_cast<HBITMAP>(lParam));
            return 0;
        }
        if (msg == PaintManager::kDragOverMessage) dragOver = static_cast<DWORD>(lParam);
        return TestDialog::OnWindowMessage(msg, wParam, lParam);
    }
    int received = 0;
    DWORD dragOver = 0;
};

TEST(CIDropTargetTest, ADroppedBitmapFileReachesThePaintWindowAsAnImage) {
    Manager::SetInstance(GetModuleHandleW(nullptr));
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    {
        // A 7 × 3 bitmap file to drop.
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        const std::wstring path = std::wstring(folder) + L"hvui-drop.bmp";
        PixelSurface picture(7, 3);
        ASSERT_EQ(MRender::SaveBitmapToFile(picture.Bitmap(), path.c_str()), 1);

        DropDialog dialog;
        ASSERT_NE(dialog.Create(nullptr, L"drop", WS_POPUP, 0, CRect(0, 0, 100, 100)), nullptr);
        PaintManager* manager = dialog.GetPaintManager();
        FileDrop data(path);
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(manager->DragEnter(&data, 0, POINTL{10, 20}, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
        EXPECT_EQ(manager->IsAccepting(), 1);
        effect = DROPEFFECT_COPY;
        manager->DragOver(MK_CONTROL, POINTL{30, 40}, &effect);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
        effect = DROPEFFECT_COPY;
        EXPECT_EQ(manager->Drop(&data, 0, POINTL{30, 40}, &effect), S_OK);
        PumpMessages();
        EXPECT_EQ(dialog.dragOver, static_cast<DWORD>((40 << 16) | 30));
        EXPECT_EQ(dialog.received, 7);
        dialog.DestroyWindow();
        DeleteFileW(path.c_str());
    }
    OleUninitialize();
}

}  // namespace
