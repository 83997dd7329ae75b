#include "CUIMessageBox.h"

#include <memory>

#include "LanguageTexts.h"
#include "MButton.h"
#include "MText.h"

namespace {

constexpr DWORD kBoxStyle = 0x96020000;  // popup, visible, clip siblings/children, minimise box
constexpr DWORD kBoxExStyle = WS_EX_TOOLWINDOW;
constexpr int kShowNormal = SW_SHOWNORMAL;

constexpr wchar_t kBackgroundImage[] = L"msg_box.png";
constexpr wchar_t kButtonImage[] = L"img_button.png";
constexpr int kButtonFrames = 4;
constexpr Gdiplus::ARGB kWhite = 0xFFFFFFFF;
constexpr unsigned kAlignCentre = 1;
constexpr unsigned kVAlignCentre = 4;

// Geometry inside the client rectangle.
constexpr int kTitleInset = 20;
constexpr int kTitleTop = 15;
constexpr int kTitleBottom = 40;
constexpr int kMessageInset = 60;
constexpr int kMessageHalfHeight = 30;
constexpr int kWideButtonInset = 100;
constexpr int kButtonTopFromBottom = 60;
constexpr int kButtonBottomFromBottom = 24;
constexpr int kButtonOuterFromCentre = 180;
constexpr int kButtonInnerFromCentre = 20;

const wchar_t* OrEmpty(const wchar_t* text) { return text ? text : L""; }

}  // namespace

unsigned CUIMessageBox::ShowMessageBox(HWND parent, const wchar_t* message, const wchar_t* title, int style) {
    std::unique_ptr<CUIMessageBox> box(new CUIMessageBox);
    box->m_message = OrEmpty(message);
    box->m_title = OrEmpty(title);
    box->LoadBKImage(CString(kBackgroundImage));
    box->m_style = style;
    if (!box->Create(parent, kWindowName, kBoxStyle, kBoxExStyle, CRect(0, 0, kWidth, kHeight)))
        return kAnswerNoWindow;
    box->CenterWindow(nullptr);
    return box->ShowModal(kShowNormal);
}

CUIMessageBox::~CUIMessageBox() = default;

int CUIMessageBox::OnInitDialog() {
    MDialog::OnInitDialog();
    // The box must not hide behind the (topmost-capable) main window.
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return 1;
}

void CUIMessageBox::InitUI(CRect client) {
    SetLayeredWindow(1);
    CreateTexts(client);

    const int centre = (client.right - client.left) / 2;
    const int top = client.bottom - kButtonTopFromBottom;
    const int bottom = client.bottom - kButtonBottomFromBottom;
    if (m_style == kStyleOneButton) {
        CreateButton(kFirstButtonId, language::key::kMessageBoxOk,
                     CRect(kWideButtonInset, top, client.right - kWideButtonInset, bottom));
    } else if (m_style == kStyleTwoButtons) {
        CreateButton(kFirstButtonId, language::key::kMessageBoxConfirm,
                     CRect(centre - kButtonOuterFromCentre, top, centre - kButtonInnerFromCentre, bottom));
        CreateButton(kSecondButtonId, language::key::kMessageBoxDecline,
                     CRect(centre + kButtonInnerFromCentre, top, centre + kButtonOuterFromCentre, bottom));
    }
    // Any other style has no button: only the system closes the box.
}

void CUIMessageBox::CreateTexts(CRect client) {
    if (auto* title = dynamic_cast<MText*>(CreateArea(L"MText", kTitleId,
            CRect(kTitleInset, kTitleTop, client.right - kTitleInset, kTitleBottom), m_title, 1, 1))) {
        title->SetAlignment(kAlignCentre);
        title->SetTextColor(Gdiplus::Color(kWhite));
    }
    const int middle = (client.bottom - client.top) / 2;
    if (auto* message = dynamic_cast<MText*>(CreateArea(L"MText", kMessageId,
            CRect(kMessageInset, middle - kMessageHalfHeight, client.right - kMessageInset,
                  middle + kMessageHalfHeight),
            m_message, 1, 1))) {
        message->SetAlignment(kAlignCentre);
        message->SetVAlignment(kVAlignCentre);
        message->EnableMultiLine(1);
        message->EnableVCenter(1);
        message->SetTextColor(Gdiplus::Color(kWhite));
    }
}

void CUIMessageBox::CreateButton(unsigned id, int textKey, CRect rect) {
    const CString caption(language::GetText(textKey));
    if (auto* button = dynamic_cast<MButton*>(CreateControl(L"MButton", id, rect, caption, 1, 1))) {
        button->SetImage(kButtonImage, kButtonFrames);
        button->SetTextColor(Gdiplus::Color(kWhite));
    }
}

void CUIMessageBox::UISize(CRect) {}

LRESULT CUIMessageBox::OnMessage(unsigned id, unsigned code, WPARAM, LPARAM) {
    if (code != MButton::kCodeClicked) return 0;
    if (id == kFirstButtonId) {
        DoOK();
        return 1;
    }
    if (id == kSecondButtonId) {
        DoCancel();
        return 1;
    }
    return 0;
}

int CUIMessageBox::OnDestroy() { return 0; }
