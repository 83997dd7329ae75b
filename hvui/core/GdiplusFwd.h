// The GDI+ C++ interface as the framework includes it everywhere. GDI+ wants
// the COM declarations first and min/max as functions, not macros.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <algorithm>

#include <gdiplus.h>
