#include "MObject.h"

#include <cwchar>

MObject::MObject() = default;

MObject::~MObject() = default;

int MObject::IsClass(const wchar_t* name) {
    const wchar_t* own = GetClassNameW();
    if (!own || !name) return 0;
    return wcscmp(own, name) == 0 ? 1 : 0;
}

const wchar_t* MObject::GetClassNameW() const { return nullptr; }
const wchar_t* MObject::GetObjectClass() { return nullptr; }
const wchar_t* MObject::BaseObjectClassName() { return nullptr; }

LRESULT MObject::OnBaseMessage(unsigned, unsigned, WPARAM, LPARAM) { return 0; }
LRESULT MObject::OnControlUpdate(CRect, int, MControl*) { return 0; }
