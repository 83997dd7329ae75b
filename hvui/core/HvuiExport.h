// HVUI_API marks every class and function the framework exports by name.
// The library is built with HVUI_BUILDING defined; its users import.
//
// HVUI_INLINE_API marks each public or protected member defined inside its
// class body. GCC leaves such members out of a dllexport class's export table
// (it expects every user to compile its own copy), so a program built by
// another compiler would find them missing and not load. Marking the member
// itself makes the library emit and export a copy; users see no attribute,
// since a dllimport on a member with a body is an error.
// tests/hvui/exports checks that no public operation goes unexported.
#pragma once

#ifdef HVUI_BUILDING
#define HVUI_API __declspec(dllexport)
#define HVUI_INLINE_API __declspec(dllexport)
#else
#define HVUI_API __declspec(dllimport)
#define HVUI_INLINE_API
#endif
