// A dialog for tests that drive the framework through its native window:
// it records the notifications it hears and the system move requests it
// gets, and a pump that runs messages the way the modal loop does
// (PreTranslateMessage first). One visible dialog serves a whole test
// suite: Wine without a window manager takes seconds to destroy a visible
// window, and hover tracking needs the window under the pointer.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "HvuiTestSupport.h"
#include "MDialog.h"
#include "PaintManager.h"

namespace hvui_test {

class TestDialog : public MDialog {
public:
    struct Notification {
        unsigned id;
        unsigned code;
        WPARAM wParam;
        LPARAM lParam;
    };

    LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override {
        notifications.push_back({id, code, wParam, lParam});
        return 0;
    }
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        // The system move loop would wait for a real button release.
        if (msg == WM_NCLBUTTONDOWN && wParam == HTCAPTION) {
            ++moveRequests;
            return 0;
        }
        return MDialog::OnWindowMessage(msg, wParam, lParam);
    }
    void InitUI(CRect client) override { initClient = client; }

    // Adds control to the top-level control list; the dialog owns it then.
    template <class T>
    T* Add(T* control) {
        control->SetManager(GetPaintManager());
        GetPaintManager()->AppendChild(1, control);
        return control;
    }

    std::vector<Notification> notifications;
    int moveRequests = 0;
    CRect initClient;
};

// Runs what is queued like MWindow::ShowModal does, for at least ms.
inline void PumpDialog(MDialog& dialog, DWORD milliseconds = 0) {
    const DWORD start = GetTickCount();
    MSG message;
    do {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (dialog.PreTranslateMessage(&message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (milliseconds) Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

// Sets which modifier keys this thread believes are held.
inline void HoldKeys(std::initializer_list<int> keys) {
    BYTE state[256] = {};
    for (int key : keys) state[key] = 0x80;
    SetKeyboardState(state);
}

// The shared visible dialog at the screen's top-left corner, w × h.
class DialogSuite : public ::testing::Test {
public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 300;

    static void SetUpTestSuite() {
        Manager::SetInstance(GetModuleHandleW(nullptr));
        dialog = new TestDialog;
        dialog->Create(nullptr, L"test dialog", WS_POPUP, WS_EX_TOPMOST, CRect(0, 0, kWidth, kHeight));
        dialog->ShowWindow(SW_SHOWNOACTIVATE);
        dialog->GetPaintManager()->SetPaintPause(0);
        PumpDialog(*dialog, 50);
    }
    static void TearDownTestSuite() {
        dialog->DestroyWindow();
        delete dialog;
        dialog = nullptr;
    }

protected:
    void SetUp() override {
        ASSERT_NE(dialog->GetSafeHwnd(), nullptr);
        manager()->ClearAllControls();
        manager()->SetHoverControl(nullptr);
        manager()->SetFocusControl(nullptr);
        manager()->EnableWndDrag(1);
        dialog->notifications.clear();
        dialog->moveRequests = 0;
        HoldKeys({});
        SetCursorPos(kWidth + 50, kHeight + 50);
        PumpDialog(*dialog, 20);
    }
    void TearDown() override {
        HoldKeys({});
        PumpDialog(*dialog);
    }

    static PaintManager* manager() { return dialog->GetPaintManager(); }
    static HWND window() { return dialog->GetSafeHwnd(); }

    // The pointer really goes there (hover tracking asks the system where it
    // is), except while a button is meant to be held: the system's own move
    // would come without it.
    static void Post(UINT msg, WPARAM wParam, int x, int y) {
        if (msg == WM_MOUSEMOVE && !(wParam & MK_LBUTTON)) SetCursorPos(x, y);
        PostMessageW(window(), msg, wParam, MAKELPARAM(x, y));
        PumpDialog(*dialog);
    }
    static void PostKey(UINT key) {
        PostMessageW(window(), WM_KEYDOWN, key, 1);
        PumpDialog(*dialog);
    }

    static TestDialog* dialog;
};

inline TestDialog* DialogSuite::dialog = nullptr;

}  // namespace hvui_test
