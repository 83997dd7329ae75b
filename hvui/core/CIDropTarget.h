// CIDropTarget: the OLE drop-target side of a window.
//
// Keeps the formats the window accepts, tells the system whether the current
// drag offers one of them and hands a drop in the first matching format to
// OnDrop. The shell's drag-image helper, when the system has one, draws the
// dragged picture over the window. Reference counted like any COM object,
// but owned by its C++ owner: Release never deletes it.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <vector>

#include "HvuiExport.h"

class HVUI_API CIDropTarget : public IDropTarget {
public:
    CIDropTarget();
    virtual ~CIDropTarget();
    CIDropTarget(const CIDropTarget&) = delete;
    CIDropTarget& operator=(const CIDropTarget&) = delete;

    // IUnknown, IDropTarget
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

    virtual bool OnDrop(FORMATETC* format, STGMEDIUM& medium, DWORD* effect) = 0;
    virtual void OnDragOver(POINTL point) = 0;

    void AddSuportedFormat(const FORMATETC& format);
    HVUI_INLINE_API void SetTargetWnd(HWND window) { m_targetWnd = window; }
    HVUI_INLINE_API HWND GetTargetWnd() const { return m_targetWnd; }
    HVUI_INLINE_API int IsAccepting() const { return m_accept; }

private:
    bool FindFormat(IDataObject* data);
    DWORD EffectFor(DWORD keys, DWORD allowed) const;

    LONG m_refCount = 0;
    int m_accept = 0;
    IDropTargetHelper* m_dragImages = nullptr;
    std::vector<FORMATETC> m_formats;
    FORMATETC* m_matched = nullptr;
    HWND m_targetWnd = nullptr;
};
