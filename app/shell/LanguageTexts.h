// Language texts: the per-language files beside the program, the lookup of
// one text by its key, the text keys the program uses, the languages of the
// language selector, and what a language change puts anew on the main
// window.
//
// Nothing is cached: every lookup reads the file of the language current at
// that moment, so a text always follows the latest language change.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace language {

inline constexpr wchar_t kSection[] = L"LAN";

// Text keys of section "LAN".
namespace key {
inline constexpr int kCloseTooltip = 1;
inline constexpr int kMinimiseTooltip = 2;
inline constexpr int kSettingsTooltip = 10;
inline constexpr int kTrayExit = 11;
inline constexpr int kMessageBoxOk = 20;
inline constexpr int kMessageBoxConfirm = 23;
inline constexpr int kMessageBoxDecline = 25;
inline constexpr int kNavigationSystem = 60;
inline constexpr int kNavigationLight = 61;  // also the light mode heading
inline constexpr int kPerformanceMode0 = 63;
inline constexpr int kPerformanceMode1 = 64;
inline constexpr int kPerformanceMode2 = 65;
inline constexpr int kModeCaption = 66;
inline constexpr int kModeLowerLeft = 67;
inline constexpr int kModeLowerRight = 68;
inline constexpr int kLightMode1 = 70;  // light modes 1 to 7: 70 to 76
inline constexpr int kBrightnessBlockHeading = 84;
inline constexpr int kBrightnessLabel = 85;
inline constexpr int kSpeedLabel = 86;
inline constexpr int kColourBlockHeading = 87;
inline constexpr int kColourPreviewLabel = 88;
inline constexpr int kDefaultsReset = 101;
inline constexpr int kUpdateLabel = 102;
inline constexpr int kAutostartLabel = 103;
inline constexpr int kResetQuestion = 104;
inline constexpr int kResetQuestionTitle = 105;
inline constexpr int kSoftwareCheckResult = 285;
inline constexpr int kFirmwareOfferTitle = 286;
inline constexpr int kFirmwareOfferEnd = 294;
inline constexpr int kFirmwareUpdateFailed = 295;
inline constexpr int kUpdateProgressFormat = 328;  // one integer: the percentage
inline constexpr int kUpdateProgressText = 334;
}  // namespace key

// "%slanguage\%d.lan" with the program folder (trailing backslash) and the
// language identifier.
std::wstring FilePath(const std::wstring& programFolder, int language);

// The file of the current language (Manager::GetLanguage) in the program
// folder, built anew on every call.
std::wstring CurrentFilePath();

// The text of `textKey` in `section` of `file`: the key is written "%d", so
// a key stored with a leading zero is not found; at most 511 characters; an
// absent file, section or key gives an empty text.
std::wstring ReadText(const std::wstring& file, int textKey, const wchar_t* section = kSection);

// ReadText from the current language's file.
std::wstring GetText(int textKey, const wchar_t* section = kSection);

// The language selector's items: the names are the languages' own and
// never come from a file.
struct SelectorItem {
    const wchar_t* text;
    int language;
};
inline constexpr std::array<SelectorItem, 10> kSelectorItems = {{
    {L"English", 1033},
    {L"\u7B80\u4F53\u4E2D\u6587", 2052},
    {L"Deutsch", 1031},
    {L"\u65E5\u672C\u8A9E", 1041},
    {L"Fran\u00E7ais", 1036},
    {L"Italiano", 1040},
    {L"Espa\u00F1ol", 1034},
    {L"\u7E41\u4F53\u4E2D\u6587", 1028},
    {L"Nederlands", 1043},
    {L"j\u0119zyk polski", 1045},
}};

// The selector item showing `language`, or -1 when it has none: a first
// start under another UI language leaves the selector empty.
int SelectorIndexOf(int language);

// What a language change sets on the main window, one step per text.
enum class TextOperation {
    Tooltip,   // MControl::SetTooltip (text)
    ItemText,  // SetItemText (item, text) of a tab bar or the light mode list
    Title,     // MControlFont::SetTitle (text)
    Redraw,    // MControl::UpdateControl (1, 0); no text
};

struct TextStep {
    TextOperation operation;
    int controlId;
    int item;     // ItemText only
    int textKey;  // 0 for Redraw
};

// The main window's side of a language change, over its own controls.
class MainWindowTexts {
public:
    virtual ~MainWindowTexts() = default;
    virtual void SetTooltip(int controlId, const std::wstring& text) = 0;
    virtual void SetItemText(int controlId, int item, const std::wstring& text) = 0;
    virtual void SetTitle(int controlId, const std::wstring& text) = 0;
    virtual void Redraw(int controlId) = 0;
};

// The steps in the order they run. Left as they are: the settings button's
// tooltip (set once when the window is built), the fixed labels "CPU", "GPU",
// "R", "G", "B" and the selector's language names.
const std::vector<TextStep>& LanguageChangeSteps();

// Runs every step, each text read by `text` when its step comes.
void ApplyTexts(MainWindowTexts& window, const std::function<std::wstring(int)>& text);

// The same with the texts of the current language.
void ApplyTexts(MainWindowTexts& window);

}  // namespace language
