#include "WorkerCommands.h"

#include "CommandQueue.h"

bool RunCommand(int code, WorkerCommands& work) {
    switch (code) {
    case command::kAutorunAndInventory: work.RunAutorunAndInventory(); return true;
    case command::kDeviceInitialisation: work.RunDeviceInitialisation(); return true;
    case command::kWritePerformanceMode: work.RunWritePerformanceMode(); return true;
    case command::kApplyLighting: work.RunApplyLighting(); return true;
    case command::kSoftwareCheck: work.RunSoftwareCheck(); return true;
    case command::kFirmwareCheck: work.RunFirmwareCheck(); return true;
    case command::kFirmwareUpdate: work.RunFirmwareUpdate(); return true;
    default: return false;
    }
}

void RunWorkerIteration(CommandQueue& queue, WorkerCommands& work) {
    if (auto code = queue.TryTake()) {
        RunCommand(*code, work);
        return;
    }
    work.RunTelemetryRefresh();
}
