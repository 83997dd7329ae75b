// The window PaintBench measures, created, centred and shown, with the
// process prepared the way the program's start-up prepares it.
#pragma once

#include <memory>

#include "MDialog.h"

namespace paint_bench {
std::unique_ptr<MDialog> CreateMainWindow();
}
