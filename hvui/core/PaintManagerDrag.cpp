// PaintManager: dragging a control out of the window as a picture. The
// drag offers the control's image as a bitmap and as an enhanced metafile;
// the shell's drag-image helper shows it centred on the cursor.
#include "PaintManager.h"

#include <cstdlib>

#include <shlobj.h>

namespace {

// The formats a dragged control offers, in order of preference.
const FORMATETC kDragFormats[] = {
    {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI},
    {CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF},
};

HENHMETAFILE MetafileOf(HBITMAP bitmap) {
    BITMAP info = {};
    if (!::GetObjectW(bitmap, sizeof(info), &info)) return nullptr;
    HDC recorder = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    if (!recorder) return nullptr;
    HDC source = ::CreateCompatibleDC(recorder);
    HGDIOBJ previous = ::SelectObject(source, bitmap);
    ::BitBlt(recorder, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    ::SelectObject(source, previous);
    ::DeleteDC(source);
    return ::CloseEnhMetaFile(recorder);
}

// The dragged picture. Every GetData hands out a copy the receiver owns.
class DragData final : public IDataObject {
public:
    explicit DragData(HBITMAP bitmap) : m_bitmap(bitmap) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0) delete this;
        return static_cast<ULONG>(refs);
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium) return E_INVALIDARG;
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        medium->pUnkForRelease = nullptr;
        if (format->cfFormat == CF_BITMAP) {
            medium->tymed = TYMED_GDI;
            medium->hBitmap = static_cast<HBITMAP>(::CopyImage(m_bitmap, IMAGE_BITMAP, 0, 0, 0));
            return medium->hBitmap ? S_OK : E_OUTOFMEMORY;
        }
        medium->tymed = TYMED_ENHMF;
        medium->hEnhMetaFile = MetafileOf(m_bitmap);
        return medium->hEnhMetaFile ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (!format) return E_INVALIDARG;
        for (const FORMATETC& offered : kDragFormats) {
            if (format->cfFormat == offered.cfFormat && (format->tymed & offered.tymed)) return S_OK;
        }
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    // The drag-image helper stores its picture here; accepting it is enough.
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM* medium, BOOL release) override {
        if (release && medium) ::ReleaseStgMedium(medium);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(sizeof(kDragFormats) / sizeof(kDragFormats[0])),
                                       kDragFormats, formats);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    ~DragData() = default;
    LONG m_refs = 1;
    HBITMAP m_bitmap;  // borrowed: the manager's drop bitmap outlives the drag
};

// Drops on release of the left button, cancels on Escape.
class DragSource final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
            *object = static_cast<IDropSource*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0) delete this;
        return static_cast<ULONG>(refs);
    }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return keys & MK_LBUTTON ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    ~DragSource() = default;
    LONG m_refs = 1;
};

// The drag image, centred on the cursor, when the shell offers the helper.
void AttachDragImage(IDataObject* data, HBITMAP bitmap) {
    IDragSourceHelper* helper = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDragSourceHelper,
                                  reinterpret_cast<void**>(&helper))))
        return;
    BITMAP info = {};
    ::GetObjectW(bitmap, sizeof(info), &info);
    SHDRAGIMAGE image = {};
    image.sizeDragImage = {info.bmWidth, info.bmHeight};
    image.ptOffset = {info.bmWidth / 2, info.bmHeight / 2};
    // The helper takes ownership of the bitmap it is given.
    image.hbmpDragImage = static_cast<HBITMAP>(::CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
    image.crColorKey = CLR_NONE;
    if (FAILED(helper->InitializeFromBitmap(&image, data)) && image.hbmpDragImage)
        ::DeleteObject(image.hbmpDragImage);
    helper->Release();
}

}  // namespace

void PaintManager::StartControlDrag(CPoint) {
    // A press jitters by a pixel or two: only a real movement away from the
    // press point turns it into a drag.
    POINT cursor;
    ::GetCursorPos(&cursor);
    if (std::abs(cursor.x - m_pressPoint.x) < ::GetSystemMetrics(SM_CXDRAG) &&
        std::abs(cursor.y - m_pressPoint.y) < ::GetSystemMetrics(SM_CYDRAG))
        return;
    if (!m_dropBitmap || !IsWindowLive()) {
        m_dragArmed = 0;
        return;
    }
    // OLE runs its own capture and loop until the release.
    ReleaseCapture();
    m_captured = 0;
    auto* data = new DragData(m_dropBitmap);
    auto* source = new DragSource;
    AttachDragImage(data, m_dropBitmap);
    CRect window;
    ::GetWindowRect(m_paintWnd, &window);
    ::ClipCursor(&window);
    DWORD effect = DROPEFFECT_NONE;
    ::DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    ::ClipCursor(nullptr);
    source->Release();
    data->Release();
    m_dragArmed = 0;
    m_leftPressOnControl = 0;
    ::DeleteObject(m_dropBitmap);
    m_dropBitmap = nullptr;
}
