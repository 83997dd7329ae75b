#include "AutostartTask.h"

#include <windows.h>
#include <taskschd.h>

#include <iostream>

#include "AppFolders.h"
#include "ComBstr.h"
#include "ComPtr.h"
#include "ComVariant.h"
#include "SettingsStore.h"

namespace autostart {
namespace {

const CLSID kTaskSchedulerClass = {0x0F87369F, 0xA4E5, 0x4CFC, {0xBD, 0x3E, 0x73, 0xE6, 0x15, 0x45, 0x72, 0xDD}};
const IID kTaskServiceInterface = {0x2FABA4C7, 0x4DA9, 0x4013, {0x96, 0x97, 0x20, 0xCC, 0x3F, 0xD4, 0x0F, 0x85}};
const IID kExecActionInterface = {0x4C3D624D, 0xFD6B, 0x49A3, {0xB9, 0xB7, 0x09, 0xCB, 0x3C, 0xD3, 0xF0, 0x47}};

constexpr wchar_t kRootFolder[] = L"\\";
// Any user's logon fires the task; the ID only names the trigger.
constexpr wchar_t kTriggerId[] = L"Administrator";
constexpr wchar_t kNoTimeLimit[] = L"PT0S";
constexpr wchar_t kEmptySecurityDescriptor[] = L"";

// Create writes narrow lines; delete and query write the same texts wide.
enum class ErrorStream { Narrow, Wide };

void WriteFailure(ErrorStream stream, const char* message, HRESULT result) {
    const unsigned long code = static_cast<unsigned long>(result);
    if (stream == ErrorStream::Narrow) {
        std::cerr << message << std::hex << code << std::dec << '\n' << std::flush;
    } else {
        std::wcerr << message << std::hex << code << std::dec << L'\n' << std::flush;
    }
}

// True (and the line written) when the step failed.
bool Failed(HRESULT result, ErrorStream stream, const char* message) {
    if (SUCCEEDED(result)) return false;
    WriteFailure(stream, message, result);
    return true;
}

// COM for the duration of one operation on this thread.
class ComApartment {
public:
    ComApartment() : m_result(CoInitialize(nullptr)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_result)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    HRESULT Result() const { return m_result; }

private:
    HRESULT m_result;
};

bool ConnectService(ComPtr<ITaskService>& service, ErrorStream stream) {
    HRESULT result = CoCreateInstance(kTaskSchedulerClass, nullptr, CLSCTX_INPROC_SERVER, kTaskServiceInterface,
                                      service.PutVoid());
    if (Failed(result, stream, "Failed to create Task Scheduler instance with HRESULT: 0x")) return false;
    // Empty values: this machine, the current user.
    const ComVariant none;
    result = service->Connect(none.Get(), none.Get(), none.Get(), none.Get());
    return !Failed(result, stream, "Failed to connect to Task Scheduler service with HRESULT: 0x");
}

bool AddLogonTrigger(ITaskDefinition* task) {
    ComPtr<ITriggerCollection> triggers;
    if (Failed(task->get_Triggers(triggers.Put()), ErrorStream::Narrow,
               "Failed to get trigger collection with HRESULT: 0x"))
        return false;
    ComPtr<ITrigger> trigger;
    if (Failed(triggers->Create(TASK_TRIGGER_LOGON, trigger.Put()), ErrorStream::Narrow,
               "Failed to create trigger with HRESULT: 0x"))
        return false;
    const ComBstr id(kTriggerId);
    return !Failed(trigger->put_Id(id.Get()), ErrorStream::Narrow, "Failed to set trigger ID with HRESULT: 0x");
}

bool RunWithHighestPrivileges(ITaskDefinition* task) {
    ComPtr<IPrincipal> principal;
    if (Failed(task->get_Principal(principal.Put()), ErrorStream::Narrow, "Failed to get principal with HRESULT: 0x"))
        return false;
    return !Failed(principal->put_RunLevel(TASK_RUNLEVEL_HIGHEST), ErrorStream::Narrow,
                   "Failed to set run level with HRESULT: 0x");
}

// Results deliberately unchecked: the defaults of a new task are usable too.
void ApplySettings(ITaskDefinition* task) {
    ComPtr<ITaskSettings> settings;
    if (FAILED(task->get_Settings(settings.Put())) || !settings) return;
    settings->put_StopIfGoingOnBatteries(VARIANT_FALSE);
    settings->put_DisallowStartIfOnBatteries(VARIANT_FALSE);
    settings->put_AllowDemandStart(VARIANT_TRUE);
    settings->put_StartWhenAvailable(VARIANT_FALSE);
    settings->put_MultipleInstances(TASK_INSTANCES_PARALLEL);
    const ComBstr noLimit(kNoTimeLimit);
    settings->put_ExecutionTimeLimit(noLimit.Get());
}

bool AddHiddenStartAction(ITaskDefinition* task) {
    ComPtr<IActionCollection> actions;
    if (Failed(task->get_Actions(actions.Put()), ErrorStream::Narrow, "Failed to get action collection with HRESULT: 0x"))
        return false;
    ComPtr<IAction> action;
    if (Failed(actions->Create(TASK_ACTION_EXEC, action.Put()), ErrorStream::Narrow,
               "Failed to create action with HRESULT: 0x"))
        return false;
    ComPtr<IExecAction> exec;
    if (Failed(action->QueryInterface(kExecActionInterface, exec.PutVoid()), ErrorStream::Narrow,
               "Failed to query exec action interface with HRESULT: 0x"))
        return false;
    const ComBstr path(TaskActionPath().c_str());
    if (Failed(exec->put_Path(path.Get()), ErrorStream::Narrow, "Failed to set executable path with HRESULT: 0x"))
        return false;
    const ComBstr arguments(kTaskArguments);
    return !Failed(exec->put_Arguments(arguments.Get()), ErrorStream::Narrow,
                   "Failed to set command line arguments with HRESULT: 0x");
}

void RegisterTask(ITaskFolder* folder, ITaskDefinition* task) {
    const ComBstr name(kTaskName);
    const ComVariant noUser, noPassword;
    const ComVariant securityDescriptor(kEmptySecurityDescriptor);
    ComPtr<IRegisteredTask> registered;
    const HRESULT result =
        folder->RegisterTaskDefinition(name.Get(), task, TASK_CREATE_OR_UPDATE, noUser.Get(), noPassword.Get(),
                                       TASK_LOGON_INTERACTIVE_TOKEN, securityDescriptor.Get(), registered.Put());
    Failed(result, ErrorStream::Narrow, "Failed to register task definition with HRESULT: 0x");
}

void BuildAndRegister(ITaskService* service, ITaskFolder* folder) {
    ComPtr<ITaskDefinition> task;
    if (Failed(service->NewTask(0, task.Put()), ErrorStream::Narrow, "Failed to create new task with HRESULT: 0x"))
        return;
    if (!AddLogonTrigger(task.Get()) || !RunWithHighestPrivileges(task.Get())) return;
    ApplySettings(task.Get());
    if (!AddHiddenStartAction(task.Get())) return;
    RegisterTask(folder, task.Get());
}

bool OpenRootFolder(ITaskService* service, ComPtr<ITaskFolder>& folder) {
    const ComBstr root(kRootFolder);
    return SUCCEEDED(service->GetFolder(root.Get(), folder.Put())) && folder;
}

}  // namespace

std::wstring TaskActionPath() { return folders::ProgramFolder() + kProgramFile; }

int CreateTask() {
    const ComApartment com;
    if (Failed(com.Result(), ErrorStream::Narrow, "CoInitialize failed with HRESULT: 0x")) return 1;
    ComPtr<ITaskService> service;
    if (!ConnectService(service, ErrorStream::Narrow)) return 1;
    ComPtr<ITaskFolder> folder;
    const ComBstr root(kRootFolder);
    if (Failed(service->GetFolder(root.Get(), folder.Put()), ErrorStream::Narrow,
               "Failed to get root folder with HRESULT: 0x"))
        return 1;
    BuildAndRegister(service.Get(), folder.Get());
    return 1;
}

void DeleteTask() {
    const ComApartment com;
    if (FAILED(com.Result())) return;
    ComPtr<ITaskService> service;
    if (!ConnectService(service, ErrorStream::Wide)) return;
    ComPtr<ITaskFolder> folder;
    if (!OpenRootFolder(service.Get(), folder)) return;
    const ComBstr name(kTaskName);
    folder->DeleteTask(name.Get(), 0);
}

bool QueryTask() {
    const ComApartment com;
    if (Failed(com.Result(), ErrorStream::Wide, "CoInitialize failed with HRESULT: 0x")) return false;
    ComPtr<ITaskService> service;
    if (!ConnectService(service, ErrorStream::Wide)) return false;
    ComPtr<ITaskFolder> folder;
    if (!OpenRootFolder(service.Get(), folder)) return false;
    const ComBstr name(kTaskName);
    ComPtr<IRegisteredTask> task;
    return SUCCEEDED(folder->GetTask(name.Get(), task.Put()));
}

void RunAutostartStep(const std::function<void(bool present)>& showPresence) {
    if (settings::ReadInteger(settings::kAutoRunTask) == 0) {
        CreateTask();
        settings::WriteText(settings::kAutoRunTask, L"1");
    }
    const bool present = QueryTask();
    if (showPresence) showPresence(present);
}

}  // namespace autostart
