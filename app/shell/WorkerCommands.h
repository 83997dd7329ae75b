// The worker's command codes and the one-iteration rule of the main window's
// worker: a queued command runs before the telemetry refresh, one per
// iteration; an unknown code is dropped.
#pragma once

class CommandQueue;

namespace command {
inline constexpr int kAutorunAndInventory = 1;
inline constexpr int kDeviceInitialisation = 2;
inline constexpr int kWritePerformanceMode = 3;
inline constexpr int kApplyLighting = 4;
inline constexpr int kSoftwareCheck = 20;
inline constexpr int kFirmwareCheck = 23;
inline constexpr int kFirmwareUpdate = 25;
}  // namespace command

// The work behind each code; the main window implements it.
class WorkerCommands {
public:
    virtual ~WorkerCommands() = default;
    virtual void RunAutorunAndInventory() = 0;
    virtual void RunDeviceInitialisation() = 0;
    virtual void RunWritePerformanceMode() = 0;
    virtual void RunApplyLighting() = 0;
    virtual void RunSoftwareCheck() = 0;
    virtual void RunFirmwareCheck() = 0;
    virtual void RunFirmwareUpdate() = 0;
    virtual void RunTelemetryRefresh() = 0;
};

// One worker iteration over the queue.
void RunWorkerIteration(CommandQueue& queue, WorkerCommands& work);

// Runs the work of one code; false for an unknown code (nothing ran).
bool RunCommand(int code, WorkerCommands& work);
