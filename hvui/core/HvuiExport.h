// HVUI_API marks every class and function the framework exports by name.
// The library is built with HVUI_BUILDING defined; its users import.
#pragma once

#ifdef HVUI_BUILDING
#define HVUI_API __declspec(dllexport)
#else
#define HVUI_API __declspec(dllimport)
#endif
