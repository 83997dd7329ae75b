// CUIMessageBox: the program's own skinned message box. A small topmost
// modal window with a title line, a centred multi-line message and one or
// two buttons; the main window asks and informs the user through it.
#pragma once

#include <windows.h>

#include "CRect.h"
#include "CString.h"
#include "MDialog.h"

class CUIMessageBox : public MDialog {
public:
    // Button layouts.
    static constexpr int kStyleOneButton = 0;
    static constexpr int kStyleTwoButtons = 4;
    // Control identifiers.
    static constexpr unsigned kTitleId = 31;
    static constexpr unsigned kMessageId = 32;
    static constexpr unsigned kFirstButtonId = 33;
    static constexpr unsigned kSecondButtonId = 34;
    // Answers of ShowMessageBox.
    static constexpr unsigned kAnswerFirst = MDialog::kResultOK;
    static constexpr unsigned kAnswerSecond = MDialog::kResultCancel;
    static constexpr unsigned kAnswerClosed = 0;
    static constexpr unsigned kAnswerNoWindow = MWindow::kNoWindowResult;

    static constexpr wchar_t kWindowName[] = L"MessageBox";
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 230;

    // Shows a box owned by parent and waits for it: 1 for the first button,
    // 2 for the second, 0 when the box was closed another way, 0xFFFFFFFF
    // when no window could be made. Null texts count as empty.
    static unsigned ShowMessageBox(HWND parent, const wchar_t* message, const wchar_t* title, int style);

    ~CUIMessageBox() override;

    int OnInitDialog() override;
    void InitUI(CRect client) override;
    void UISize(CRect client) override;
    LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override;
    int OnDestroy() override;

private:
    CUIMessageBox() = default;

    void CreateTexts(CRect client);
    void CreateButton(unsigned id, int textKey, CRect rect);

    CString m_title;
    CString m_message;
    int m_style = kStyleOneButton;
};
