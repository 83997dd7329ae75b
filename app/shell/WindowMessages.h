// The program's own window messages and their fixed parameters.
#pragma once

namespace message {
inline constexpr unsigned kTrayCallback = 0x69A;
inline constexpr unsigned kExitRequest = 0x69B;
inline constexpr long kExitRequestCode = 610;  // lParam of a genuine exit request
inline constexpr unsigned kUpdateResult = 0x69C;
inline constexpr unsigned kDownloadProgress = 0x726;
}  // namespace message
