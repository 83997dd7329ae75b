// Text that the sensor library and the snapshot section hand over in the
// system's ANSI code page, widened for the panel.
#pragma once

#include <string>

std::wstring FromAnsi(const std::string& text);
