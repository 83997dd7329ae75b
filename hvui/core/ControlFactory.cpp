#include "ControlFactory.h"

#include <cwchar>
#include <map>
#include <mutex>
#include <string>

#include "CriticalSection.h"
#include "MControl.h"

namespace {

using Pattern = ControlFactory::Pattern;
using Level = ControlFactory::Level;

// Which factories know a name.
enum class Scope { Both, DialogOnly, PanelOnly };

struct NameEntry {
    const wchar_t* name;
    Scope scope;
    Pattern pattern;
};

constexpr Pattern A = Pattern::A, B = Pattern::B, C = Pattern::C, D = Pattern::D, E = Pattern::E, F = Pattern::F,
                  G = Pattern::G;
constexpr Scope kBoth = Scope::Both, kDialog = Scope::DialogOnly, kPanel = Scope::PanelOnly;

const NameEntry kNames[] = {
    // Both factories.
    {L"CArea", kBoth, D}, {L"MText", kBoth, F}, {L"MPicture", kBoth, A}, {L"CPhotoFrame", kBoth, A},
    {L"CSliderPicture", kBoth, A}, {L"CGifPicture", kBoth, A}, {L"MProgress", kBoth, A}, {L"MSlider", kBoth, A},
    {L"MLevelCtrl", kBoth, A}, {L"MButton", kBoth, B}, {L"CImageButton", kBoth, B}, {L"CTextButton", kBoth, B},
    {L"CCheckButton", kBoth, B}, {L"CRadioButton", kBoth, B}, {L"CColorButton", kBoth, A},
    {L"MSpinButton", kBoth, A}, {L"CSpinButton", kBoth, A}, {L"CSwitchButton", kBoth, A},
    {L"CIconButton", kBoth, B}, {L"CTimerButton", kBoth, B}, {L"CHelpButton", kBoth, B}, {L"MEdit", kBoth, B},
    {L"MRichEdit", kBoth, B}, {L"MEditEx", kBoth, B}, {L"MComboBox", kBoth, A}, {L"MTabCtrl", kBoth, A},
    {L"MTabLayout", kBoth, C}, {L"MTabLayout2", kBoth, C}, {L"MListBox", kBoth, C}, {L"MPalette", kBoth, C},
    {L"CColorPalette", kBoth, C}, {L"CColorSelect", kBoth, C}, {L"CirclePalette", kBoth, D},
    {L"MenuItem", kBoth, E}, {L"KeyboardCtrl", kBoth, C}, {L"CDeviceCtrl", kBoth, D}, {L"CFanDevCtrl", kBoth, D},
    {L"MButton2", kBoth, E}, {L"CImageButton2", kBoth, E}, {L"CTabCtrl2", kBoth, D}, {L"TabCtrlEx", kBoth, D},
    {L"CTabCtrl5", kBoth, D}, {L"CHomeFuncCtrl", kBoth, D}, {L"TabCtrl6", kBoth, D}, {L"CRoundArea", kBoth, D},
    // Dialog-level factory only.
    {L"CComboBoxList", kDialog, D}, {L"CGifPicture2", kDialog, D},
    // Panel-level factory only.
    {L"KeyFuncControl", kPanel, C}, {L"DListBox", kPanel, C}, {L"CRecordList", kPanel, C},
    {L"UpgradeButton", kPanel, E}, {L"DownloadButton", kPanel, E}, {L"DPIControl", kPanel, C},
    {L"MouseKeyCtrl", kPanel, C}, {L"MouseCtrl", kPanel, C}, {L"MouseLight", kPanel, C},
    {L"ArchivedCtrl", kPanel, D}, {L"LightCtrl", kPanel, D}, {L"DevChannelCtrl", kPanel, D},
    {L"ThemeColor", kPanel, D}, {L"MButton3", kPanel, G}, {L"CColorButton2", kPanel, D},
    {L"MPaletteBar", kPanel, C}, {L"RGBColorEdit", kPanel, E}, {L"HexColorEdit", kPanel, E},
    {L"CColorButton3", kPanel, D}, {L"LightLayer", kPanel, D}, {L"DevSelectCtrl", kPanel, D},
    {L"FanCountCtrl", kPanel, D}, {L"LEDModeList", kPanel, D}, {L"ClockCtrl", kPanel, D},
    {L"UsageRateCtrl", kPanel, D}, {L"MSlider2", kPanel, D}, {L"CaptureCtrl", kPanel, D},
    {L"ClockTypeCtrl", kPanel, D}, {L"CHardwareInfoBkg", kPanel, D}, {L"CHardwareInfo", kPanel, D},
    {L"SysInfoCtrl", kPanel, D}, {L"LEDModeCtrl", kPanel, D}, {L"LEDImageCtrl", kPanel, D},
    {L"CRadioButton2", kPanel, E}, {L"SysInfo2Ctrl", kPanel, D}, {L"LEDImageCtrl2", kPanel, D},
    {L"LEDTypeCtrl", kPanel, D}, {L"CHardwareInfo2", kPanel, D}, {L"ImageViewList", kPanel, C},
    {L"CScrollVertical", kPanel, C},
};

const NameEntry* FindName(Level level, const wchar_t* className) {
    if (!className || !*className) return nullptr;
    const Scope excluded = level == Level::Dialog ? Scope::PanelOnly : Scope::DialogOnly;
    for (const NameEntry& entry : kNames) {
        if (entry.scope != excluded && wcscmp(entry.name, className) == 0) return &entry;
    }
    return nullptr;
}

bool InAnyTable(const wchar_t* className) {
    return FindName(Level::Dialog, className) || FindName(Level::Panel, className);
}

}  // namespace

// The registered classes, listed in ControlClasses.cpp.
extern const ControlFactory::ClassEntry kControlClasses[];
extern const size_t kControlClassCount;

namespace {

struct Registry {
    CriticalSection lock;
    std::map<std::wstring, ControlFactory::Creator> creators;
    Registry() {
        for (size_t i = 0; i < kControlClassCount; ++i) {
            if (InAnyTable(kControlClasses[i].name)) creators[kControlClasses[i].name] = kControlClasses[i].creator;
        }
    }
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

ControlFactory::Creator CreatorOf(const wchar_t* className) {
    Registry& registry = TheRegistry();
    std::lock_guard<CriticalSection> lock(registry.lock);
    auto found = registry.creators.find(className);
    return found == registry.creators.end() ? nullptr : found->second;
}

}  // namespace

MControl* ControlFactory::Construct(Level level, const wchar_t* className, const Args& args) {
    const NameEntry* entry = FindName(level, className);
    if (!entry) return nullptr;
    Creator creator = CreatorOf(className);
    return creator ? creator(entry->pattern, args) : nullptr;
}

int ControlFactory::IsKnown(Level level, const wchar_t* className) { return FindName(level, className) ? 1 : 0; }

int ControlFactory::IsRegistered(const wchar_t* className) {
    return className && CreatorOf(className) ? 1 : 0;
}

int ControlFactory::Register(const wchar_t* className, Creator creator) {
    if (!creator || !InAnyTable(className)) return 0;
    Registry& registry = TheRegistry();
    std::lock_guard<CriticalSection> lock(registry.lock);
    registry.creators[className] = creator;
    return 1;
}
