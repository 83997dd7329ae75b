#include "CIDropTarget.h"

CIDropTarget::CIDropTarget() {
    // Only available once COM runs on this thread; without it drags show the
    // system cursor alone.
    if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                                reinterpret_cast<void**>(&m_dragImages))))
        m_dragImages = nullptr;
}

CIDropTarget::~CIDropTarget() {
    if (m_dragImages) m_dragImages->Release();
}

HRESULT STDMETHODCALLTYPE CIDropTarget::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CIDropTarget::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refCount)); }

ULONG STDMETHODCALLTYPE CIDropTarget::Release() {
    // The owner deletes the object; the count only tells OLE it is in use.
    const LONG count = InterlockedDecrement(&m_refCount);
    return static_cast<ULONG>(count < 0 ? 0 : count);
}

void CIDropTarget::AddSuportedFormat(const FORMATETC& format) {
    m_formats.push_back(format);
    m_matched = nullptr;
}

bool CIDropTarget::FindFormat(IDataObject* data) {
    m_matched = nullptr;
    if (!data) return false;
    for (FORMATETC& format : m_formats) {
        if (data->QueryGetData(&format) == S_OK) {
            m_matched = &format;
            return true;
        }
    }
    return false;
}

DWORD CIDropTarget::EffectFor(DWORD, DWORD allowed) const {
    if (!m_accept) return DROPEFFECT_NONE;
    // The framework only reads what is dropped: answering a move would let
    // the source delete its original (a dragged file, for one). Keys change
    // nothing for the same reason.
    return allowed & DROPEFFECT_COPY;
}

HRESULT STDMETHODCALLTYPE CIDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    m_accept = FindFormat(data) ? 1 : 0;
    *effect = EffectFor(keys, *effect);
    if (m_dragImages) {
        POINT at = {point.x, point.y};
        m_dragImages->DragEnter(m_targetWnd, data, &at, *effect);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIDropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    *effect = EffectFor(keys, *effect);
    if (m_accept) OnDragOver(point);
    if (m_dragImages) {
        POINT at = {point.x, point.y};
        m_dragImages->DragOver(&at, *effect);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIDropTarget::DragLeave() {
    if (m_dragImages) m_dragImages->DragLeave();
    m_accept = 0;
    m_matched = nullptr;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIDropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    if (m_dragImages) {
        POINT at = {point.x, point.y};
        m_dragImages->Drop(data, &at, *effect);
    }
    if (!m_accept || !m_matched || !data) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    STGMEDIUM medium = {};
    if (data->GetData(m_matched, &medium) != S_OK) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    *effect = EffectFor(keys, *effect);
    if (!OnDrop(m_matched, medium, effect)) *effect = DROPEFFECT_NONE;
    ReleaseStgMedium(&medium);
    m_accept = 0;
    return S_OK;
}
