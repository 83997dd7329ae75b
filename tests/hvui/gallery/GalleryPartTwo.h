// The gallery's second window: the light and system controls.
#pragma once

// Runs it when argv asks for "--controls"; answers false otherwise.
bool RunControlsGallery(int argc, char** argv, int& result);
