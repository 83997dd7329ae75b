// UpdateProcessDlg: the small modal dialog that shows the firmware
// download's progress as a percentage line and a bar. It has no button:
// the worker closes it when an update fails; a successful update ends the
// process while it is still open.
#pragma once

#include <string>

#include <windows.h>

#include "CRect.h"
#include "MDialog.h"

class MProgress;
class MText;

class UpdateProcessDlg : public MDialog {
public:
    static constexpr unsigned kTitleId = 31;
    static constexpr unsigned kStatusId = 32;
    static constexpr unsigned kProgressId = 33;
    static constexpr int kProgressMaximum = 100;

    static constexpr wchar_t kWindowName[] = L"UpdateProcessDlg";
    static constexpr int kWidth = 543;
    static constexpr int kHeight = 252;

    // Opens the dialog over parent and runs it modally; answers the modal
    // result once it ends (0xFFFFFFFF when no window could be made).
    unsigned Show(HWND parent);

    // Shows value (0..100) on the bar and in the percentage line.
    void SetProgress(int value);

    // The percentage line: pattern with its first "%d" replaced by value and
    // "%%" by "%". Any other '%' stays as written, so a language file can
    // never make the formatting read arguments that are not there.
    static std::wstring FormatPercentage(const std::wstring& pattern, int value);

    int OnInitDialog() override;
    void InitUI(CRect client) override;
    void UISize(CRect client) override;
    LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    MText* m_title = nullptr;
    MText* m_status = nullptr;
    MProgress* m_progress = nullptr;
};
