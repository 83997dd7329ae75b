// The gallery's specimen sheet: every picture, text, area, button, tab and
// combo box look side by side, and an open menu.
#pragma once

namespace gallery {

// Runs it when argv holds "--specimens"; answers false otherwise.
bool RunSpecimenSheet(int argc, char** argv, int& result);

}  // namespace gallery
