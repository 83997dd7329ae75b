#include "LanguageTexts.h"

#include <cwchar>

#include "AppFolders.h"
#include "LightPage.h"
#include "MainWindowIds.h"
#include "Manager.h"

namespace language {
namespace {

std::wstring Decimal(int value) {
    wchar_t text[16];
    std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%d", value);
    return text;
}

std::vector<TextStep> BuildLanguageChangeSteps() {
    using namespace control_id;
    using Op = TextOperation;
    std::vector<TextStep> steps = {
        {Op::Tooltip, kCloseButton, 0, key::kCloseTooltip},
        {Op::Tooltip, kMinimiseButton, 0, key::kMinimiseTooltip},
        {Op::ItemText, kNavigation, 0, key::kNavigationSystem},
        {Op::ItemText, kNavigation, 1, key::kNavigationLight},
        // The navigation column does not redraw for a caption change.
        {Op::Redraw, kNavigation, 0, 0},
        {Op::ItemText, kPerformanceSelector, 0, key::kPerformanceMode0},
        {Op::ItemText, kPerformanceSelector, 1, key::kPerformanceMode1},
        {Op::ItemText, kPerformanceSelector, 2, key::kPerformanceMode2},
        {Op::Title, kModeCaption, 0, key::kModeCaption},
        {Op::Title, kModeLowerLeftLabel, 0, key::kModeLowerLeft},
        {Op::Title, kModeLowerRightLabel, 0, key::kModeLowerRight},
    };
    for (int item = 0; item < LightPage::kLightModeCount; ++item) {
        steps.push_back({Op::ItemText, kLightModeList, item, key::kLightMode1 + item});
    }
    const std::vector<TextStep> tail = {
        {Op::Title, kLightHeading, 0, key::kNavigationLight},
        {Op::Title, kBrightnessBlockHeading, 0, key::kBrightnessBlockHeading},
        {Op::Title, kBrightnessLabel, 0, key::kBrightnessLabel},
        {Op::Title, kSpeedLabel, 0, key::kSpeedLabel},
        {Op::Title, kColourBlockHeading, 0, key::kColourBlockHeading},
        {Op::Title, kColourPreviewLabel, 0, key::kColourPreviewLabel},
        // The translucent cover over the colour block is repainted so that the
        // block's new labels show through it.
        {Op::Redraw, kColourCover, 0, 0},
        {Op::Title, kDefaultsResetButton, 0, key::kDefaultsReset},
        {Op::Title, kUpdateLabel, 0, key::kUpdateLabel},
        {Op::Title, kAutostartLabel, 0, key::kAutostartLabel},
    };
    steps.insert(steps.end(), tail.begin(), tail.end());
    return steps;
}

void RunStep(MainWindowTexts& window, const TextStep& step, const std::function<std::wstring(int)>& text) {
    switch (step.operation) {
    case TextOperation::Tooltip:
        window.SetTooltip(step.controlId, text(step.textKey));
        break;
    case TextOperation::ItemText:
        window.SetItemText(step.controlId, step.item, text(step.textKey));
        break;
    case TextOperation::Title:
        window.SetTitle(step.controlId, text(step.textKey));
        break;
    case TextOperation::Redraw:
        window.Redraw(step.controlId);
        break;
    }
}

}  // namespace

std::wstring FilePath(const std::wstring& programFolder, int language) {
    return programFolder + L"language\\" + Decimal(language) + L".lan";
}

std::wstring CurrentFilePath() { return FilePath(folders::ProgramFolder(), Manager::GetLanguage()); }

std::wstring ReadText(const std::wstring& file, int textKey, const wchar_t* section) {
    return folders::ReadIniText(section, Decimal(textKey).c_str(), file);
}

std::wstring GetText(int textKey, const wchar_t* section) { return ReadText(CurrentFilePath(), textKey, section); }

int SelectorIndexOf(int language) {
    for (size_t i = 0; i < kSelectorItems.size(); ++i) {
        if (kSelectorItems[i].language == language) return static_cast<int>(i);
    }
    return -1;
}

const std::vector<TextStep>& LanguageChangeSteps() {
    static const std::vector<TextStep> steps = BuildLanguageChangeSteps();
    return steps;
}

void ApplyTexts(MainWindowTexts& window, const std::function<std::wstring(int)>& text) {
    for (const TextStep& step : LanguageChangeSteps()) RunStep(window, step, text);
}

void ApplyTexts(MainWindowTexts& window) {
    ApplyTexts(window, [](int textKey) { return GetText(textKey); });
}

}  // namespace language
