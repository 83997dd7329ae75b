// Drag and drop through OLE: a file dropped on the paint window, and a
// drag-enabled control dragged out by the real pointer and dropped back.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <thread>

#include "DialogTestSupport.h"
#include "MRender.h"

using namespace hvui_test;

namespace {

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


// Hands out a 20 × 10 picture of itself when it is dragged.
class DraggableControl : public ProbeControl {
public:
    using ProbeControl::ProbeControl;

protected:
    HBITMAP GetControlDropBitmap() override {
        HDC screen = GetDC(nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 10);
        ReleaseDC(nullptr, screen);
        return bitmap;
    }
};

void SendMouse(DWORD flags, int dx = 0, int dy = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.dx = dx;
    input.mi.dy = dy;
    SendInput(1, &input, sizeof(input));
}

TEST(DragDropTest, ADragEnabledControlIsDraggedOutAsAPictureAndDroppedBack) {
    Manager::SetInstance(GetModuleHandleW(nullptr));
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    {
        DropDialog dialog;
        ASSERT_NE(dialog.Create(nullptr, L"drag", WS_POPUP, WS_EX_TOPMOST, CRect(0, 0, 200, 200)), nullptr);
        dialog.ShowWindow(SW_SHOW);
        auto* control = dialog.Add(new DraggableControl(&dialog, 10, CRect(20, 20, 120, 120)));
        control->SetDragDrop(1);
        PumpDialog(dialog, 50);

        SetCursorPos(50, 50);
        PumpDialog(dialog, 50);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        PumpDialog(dialog, 50);
        ASSERT_EQ(control->leftDowns, 1);
        // The release comes from another thread while OLE runs its drag loop.
        std::thread release([] {
            Sleep(400);
            SetCursorPos(150, 150);
            Sleep(100);
            SendMouse(MOUSEEVENTF_LEFTUP);
        });
        SendMouse(MOUSEEVENTF_MOVE, 30, 30);
        PumpDialog(dialog, 800);
        release.join();
        PumpDialog(dialog, 50);
        EXPECT_EQ(dialog.received, 20);  // the bitmap came back through the drop
        EXPECT_FALSE(dialog.GetPaintManager()->IsLeftPressOnControl());
        dialog.DestroyWindow();
    }
    OleUninitialize();
}

}  // namespace
