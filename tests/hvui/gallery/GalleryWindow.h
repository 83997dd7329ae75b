// The gallery's main window: the frame and the pages with the framework's
// controls at the program's places.
#pragma once

namespace gallery {

// Runs it when argv holds "--window"; answers false otherwise.
bool RunWindowGallery(int argc, char** argv, int& result);

}  // namespace gallery
