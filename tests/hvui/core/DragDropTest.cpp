// Drag and drop through OLE: a file dropped on the paint window, and a
// drag-enabled control dragged out by the real pointer and dropped back.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <thread>
#include <vector>

#include "DialogTestSupport.h"
#include "MRender.h"

using namespace hvui_test;

namespace {

// A data object that offers one block of global memory in one format: a
// file list as Explorer offers a dragged file, or a packed DIB.
class BlockDrop : public IDataObject {
public:
    BlockDrop(CLIPFORMAT format, std::vector<BYTE> bytes) : m_format(format), m_bytes(std::move(bytes)) {}
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
        HGLOBAL memory = GlobalAlloc(GHND, m_bytes.size());
        memcpy(GlobalLock(memory), m_bytes.data(), m_bytes.size());
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format && format->cfFormat == m_format && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    CLIPFORMAT m_format;
    std::vector<BYTE> m_bytes;
};

std::vector<BYTE> FileList(const std::wstring& path) {
    std::vector<BYTE> bytes(sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t));
    auto* drop = reinterpret_cast<DROPFILES*>(bytes.data());
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(bytes.data() + sizeof(DROPFILES), path.c_str(), path.size() * sizeof(wchar_t));
    return bytes;
}

// A packed 32-bit DIB: header, then width × height pixels (rows of pixels
// actually present), as another program may put it on the drop.
std::vector<BYTE> PackedDib(LONG width, LONG height, LONG rowsPresent, WORD bitCount = 32, DWORD coloursUsed = 0) {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = BI_RGB;
    header.biClrUsed = coloursUsed;
    std::vector<BYTE> bytes(sizeof(header) + static_cast<size_t>(width) * 4 * rowsPresent, 0x7F);
    memcpy(bytes.data(), &header, sizeof(header));
    return bytes;
}

// The paint window hears the dropped picture as a set-image message; the
// picture is lent for the message only.
class DropDialog : public TestDialog {
public:
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == 0x0172) {
            BITMAP info = {};
            receivedBitmap = reinterpret_cast<HBITMAP>(lParam);
            if (GetObjectW(receivedBitmap, sizeof(info), &info)) received = info.bmWidth;
            return 0;
        }
        if (msg == PaintManager::kDragOverMessage) dragOver = static_cast<DWORD>(lParam);
        return TestDialog::OnWindowMessage(msg, wParam, lParam);
    }
    int received = 0;
    HBITMAP receivedBitmap = nullptr;
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
        BlockDrop data(CF_HDROP, FileList(path));
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(manager->DragEnter(&data, 0, POINTL{10, 20}, &effect), S_OK);
        // The window only reads the file: a move would let the source delete it.
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
        effect = DROPEFFECT_MOVE;
        manager->DragOver(0, POINTL{20, 30}, &effect);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
        EXPECT_EQ(manager->IsAccepting(), 1);
        effect = DROPEFFECT_COPY;
        manager->DragOver(MK_CONTROL, POINTL{30, 40}, &effect);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(manager->Drop(&data, 0, POINTL{30, 40}, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
        PumpMessages();
        EXPECT_EQ(dialog.dragOver, static_cast<DWORD>((40 << 16) | 30));
        EXPECT_EQ(dialog.received, 7);
        EXPECT_EQ(GetObjectType(dialog.receivedBitmap), 0u) << "the picture made for the drop is freed";
        dialog.DestroyWindow();
        DeleteFileW(path.c_str());
    }
    OleUninitialize();
}


TEST(CIDropTargetTest, ADroppedDibIsShownOnlyWhenItsHeaderFitsItsBlock) {
    Manager::SetInstance(GetModuleHandleW(nullptr));
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    {
        DropDialog dialog;
        ASSERT_NE(dialog.Create(nullptr, L"dib", WS_POPUP, 0, CRect(0, 0, 100, 100)), nullptr);
        PaintManager* manager = dialog.GetPaintManager();
        struct Case {
            std::vector<BYTE> block;
            int shownWidth;  // 0: refused
            const char* what;
        };
        std::vector<BYTE> shortHeader = PackedDib(5, 4, 4);
        shortHeader.resize(20);
        std::vector<BYTE> longHeader = PackedDib(5, 4, 4);
        reinterpret_cast<BITMAPINFOHEADER*>(longHeader.data())->biSize = 0x7FFFFFFF;
        const Case cases[] = {
            {PackedDib(5, 4, 4), 5, "a whole picture"},
            {PackedDib(5, -4, 4), 5, "a top-down picture"},
            {PackedDib(5, 4000, 4), 0, "rows promised that are not there"},
            {PackedDib(5, 4, 4, 8, 100000), 0, "a colour table larger than any"},
            {PackedDib(5, 4, 4, 7), 0, "no such bit count"},
            {PackedDib(0x40000000, 1, 0), 0, "a width whose rows overflow"},
            {shortHeader, 0, "a block shorter than a header"},
            {longHeader, 0, "a header longer than its block"},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            dialog.received = 0;
            dialog.receivedBitmap = nullptr;
            BlockDrop data(CF_DIB, c.block);
            DWORD effect = DROPEFFECT_COPY;
            ASSERT_EQ(manager->DragEnter(&data, 0, POINTL{10, 20}, &effect), S_OK);
            effect = DROPEFFECT_COPY;
            EXPECT_EQ(manager->Drop(&data, 0, POINTL{10, 20}, &effect), S_OK);
            PumpMessages();
            EXPECT_EQ(dialog.received, c.shownWidth);
            if (c.shownWidth) {
                EXPECT_EQ(GetObjectType(dialog.receivedBitmap), 0u);
            }
        }
        dialog.DestroyWindow();
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
