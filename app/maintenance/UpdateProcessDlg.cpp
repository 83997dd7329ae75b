#include "UpdateProcessDlg.h"

#include "LanguageTexts.h"
#include "MProgress.h"
#include "MText.h"

namespace {

constexpr DWORD kDialogStyle = 0x96020000;  // popup, visible, clip siblings/children, minimise box
constexpr DWORD kDialogExStyle = WS_EX_TOOLWINDOW;
constexpr int kShowCommand = SW_SHOW;
constexpr UINT kShowInPlace = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;  // 0x43

constexpr wchar_t kBackgroundImage[] = L"msg_box.png";  // the message box's background
// Nine-sliced with 16-pixel corners, so the rounded corners and the one-pixel
// border keep their shape at 543 x 252 from a 500 x 230 picture.
constexpr enumBackMode kBackgroundMode = BackModeNineSlice;
constexpr int kBackgroundModeParameter = 16;
constexpr Gdiplus::ARGB kWhite = 0xFFFFFFFF;
constexpr unsigned kNotificationCommitted = 2;

const CRect kTitleRect(30, 30, 230, 50);
constexpr int kRowInset = 50;
constexpr int kStatusTop = 100;
constexpr int kStatusBottom = 120;
constexpr int kBarTop = 130;
constexpr int kBarBottom = 150;

}  // namespace

unsigned UpdateProcessDlg::Show(HWND parent) {
    if (!Create(parent, kWindowName, kDialogStyle, kDialogExStyle, CRect(0, 0, kWidth, kHeight)))
        return MWindow::kNoWindowResult;
    CenterWindow(nullptr);
    return ShowModal(kShowCommand);
}

void UpdateProcessDlg::SetProgress(int value) {
    if (m_progress) m_progress->SetProgress(value);
    if (m_status) {
        const std::wstring line = FormatPercentage(language::GetText(language::key::kUpdateProgressFormat), value);
        m_status->SetTitle(line.c_str());
    }
}

std::wstring UpdateProcessDlg::FormatPercentage(const std::wstring& pattern, int value) {
    std::wstring line;
    bool valueWritten = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t next = i + 1 < pattern.size() ? pattern[i + 1] : L'\0';
        if (pattern[i] == L'%' && next == L'%') {
            line += L'%';
            ++i;
        } else if (pattern[i] == L'%' && next == L'd' && !valueWritten) {
            line += std::to_wstring(value);
            valueWritten = true;
            ++i;
        } else {
            line += pattern[i];
        }
    }
    return line;
}

int UpdateProcessDlg::OnInitDialog() {
    MDialog::OnInitDialog();
    SetWindowPos(nullptr, 0, 0, 0, 0, kShowInPlace);
    return 1;
}

void UpdateProcessDlg::InitUI(CRect client) {
    SetLayeredWindow(1);
    SetBackMode(kBackgroundMode, kBackgroundModeParameter);
    LoadBKImage(CString(kBackgroundImage));

    const CString titleText(language::GetText(language::key::kUpdateProgressText));
    m_title = dynamic_cast<MText*>(CreateArea(L"MText", kTitleId, kTitleRect, titleText, 1, 1));
    if (m_title) m_title->SetTextColor(Gdiplus::Color(kWhite));

    m_status = dynamic_cast<MText*>(CreateArea(L"MText", kStatusId,
        CRect(kRowInset, kStatusTop, client.right - kRowInset, kStatusBottom), L"", 1, 1));
    if (m_status) m_status->SetTextColor(Gdiplus::Color(kWhite));

    m_progress = dynamic_cast<MProgress*>(CreateControl(L"MProgress", kProgressId,
        CRect(kRowInset, kBarTop, client.right - kRowInset, kBarBottom), L"", 1, 1));
    if (m_progress) m_progress->SetMaxProgress(kProgressMaximum);
}

void UpdateProcessDlg::UISize(CRect) {}

LRESULT UpdateProcessDlg::OnMessage(unsigned, unsigned code, WPARAM, LPARAM) {
    return code == kNotificationCommitted ? 1 : 0;
}

void UpdateProcessDlg::PostNcDestroy() {
    // The controls went with the window: a late progress message must not
    // reach them.
    m_progress = nullptr;
    m_status = nullptr;
    m_title = nullptr;
    DestroyWindow();
}
