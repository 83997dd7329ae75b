// The gallery's own pictures for the framework's pictures, texts, buttons,
// combo box and tabs, drawn at run time so that the controls can be judged
// apart from the shipped skin.
#pragma once

#include "CString.h"

namespace gallery {

// Draws every picture into the "gallery" folder of the skin folder; false
// when one could not be written.
bool WriteTestSkin();

// The name to load for a picture: the gallery's own when the test skin is in
// use and the gallery draws that picture, else the shipped one.
CString SkinImage(const wchar_t* name);
void UseTestSkin(bool on);

}  // namespace gallery
