// Push buttons and the switch: input through the control routing, looks on
// pixels, notifications and redraw requests heard by a recording parent.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "CImageButton.h"
#include "CSwitchButton.h"
#include "CTextButton.h"
#include "ControlsTestSupport.h"
#include "MButton.h"
#include "PaintManager.h"

using namespace controls_test;
using hvui_test::RecordingParent;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new hvui_test::GdiplusEnvironment);

constexpr unsigned kId = 41;
const CRect kButtonRect(10, 10, 50, 30);  // 40 × 20
const CPoint kInside(30, 20);
const CPoint kOutside(80, 20);

// Four 40 × 20 frames: red normal, green hover, blue pressed, grey disabled.
const wchar_t* StateStrip() { return StripFile(L"states4.png", 160, 20, {kRed, kGreen, kBlue, kGrey}); }
// Two 20 × 10 frames: red off, green on.
const wchar_t* SwitchStrip() { return StripFile(L"switch2.png", 40, 10, {kRed, kGreen}); }

enum class Event { Down, Up, MoveIn, MoveOut, UpOut };

void Apply(MControl& control, Event event) {
    switch (event) {
    case Event::Down: control.OnLButtonDown(MK_LBUTTON, kInside); break;
    case Event::Up: control.OnLButtonUp(0, kInside); break;
    case Event::MoveIn: control.OnMouseMove(0, kInside); break;
    case Event::MoveOut: control.OnMouseMove(0, kOutside); break;
    case Event::UpOut: control.OnLButtonUp(0, kOutside); break;
    }
}

std::vector<unsigned> Codes(const RecordingParent& parent) {
    std::vector<unsigned> codes;
    for (const auto& n : parent.notifications) codes.push_back(n.code);
    return codes;
}

using Make = std::function<std::unique_ptr<MControlFont>(MObject*)>;
struct Kind {
    const char* name;
    Make make;
};
const Kind kPushButtons[] = {
    {"MButton", [](MObject* p) { return std::make_unique<MButton>(p, kId, kButtonRect, L"OK", 1, 1); }},
    {"CImageButton", [](MObject* p) { return std::make_unique<CImageButton>(p, kId, kButtonRect, L"OK", 1, 1); }},
    {"CTextButton", [](MObject* p) { return std::make_unique<CTextButton>(p, kId, kButtonRect, L"OK", 1, 1); }},
};

// A button with its strip and a title, painted once so that its slots exist;
// looked at beside the title, where only the frame shows.
struct StripButton {
    PaintManager manager;
    RecordingParent parent;
    MButton button{&parent, kId, kButtonRect, L"OK", 1, 1};
    PixelSurface surface{60, 40};

    StripButton() {
        button.SetManager(&manager);
        button.SetImage(StateStrip(), 4);
    }
    ~StripButton() { button.SetManager(nullptr); }
    uint32_t Centre() {
        Render(button, surface);
        return surface.Rgb(12, 20);
    }
};

}  // namespace

TEST(PushButtons, ClickNeedsPressAndReleaseInside) {
    struct Case {
        const char* what;
        std::vector<Event> events;
        std::vector<unsigned> codes;
        int finalState;
    };
    const Case cases[] = {
        {"press and release inside", {Event::MoveIn, Event::Down, Event::Up}, {1, 2}, 1},
        {"release outside", {Event::Down, Event::MoveOut, Event::UpOut}, {1}, 0},
        {"out and back in while held", {Event::Down, Event::MoveOut, Event::MoveIn, Event::Up}, {1, 2}, 1},
        {"release without a press", {Event::MoveIn, Event::Up}, {}, 1},
        {"hover and leave", {Event::MoveIn, Event::MoveOut}, {}, 0},
    };
    for (const Kind& kind : kPushButtons) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << kind.name << ": " << c.what);
            RecordingParent parent;
            auto button = kind.make(&parent);
            for (Event e : c.events) Apply(*button, e);
            EXPECT_EQ(Codes(parent), c.codes);
            for (const auto& n : parent.notifications) {
                EXPECT_EQ(n.id, kId);
                EXPECT_EQ(n.wParam, 0u);
                EXPECT_EQ(n.lParam, 0);
            }
            const int state = dynamic_cast<MButton*>(button.get()) ? dynamic_cast<MButton*>(button.get())->GetState()
                                                                   : dynamic_cast<CTextButton*>(button.get())->GetState();
            EXPECT_EQ(state, c.finalState);
        }
    }
}

TEST(PushButtons, DisabledButtonsIgnoreInput) {
    for (const Kind& kind : kPushButtons) {
        SCOPED_TRACE(kind.name);
        RecordingParent parent;
        auto button = kind.make(&parent);
        button->SetEnabled(0);
        for (Event e : {Event::MoveIn, Event::Down, Event::Up}) Apply(*button, e);
        EXPECT_TRUE(parent.notifications.empty());
    }
}

TEST(MButton, StatesCompositeTheirPrepaintedFrames) {
    StripButton b;
    EXPECT_PRED3(Near, b.Centre(), Rgb(kRed), 2);

    b.parent.updates.clear();
    Apply(b.button, Event::MoveIn);
    ASSERT_EQ(b.parent.updates.size(), 1u);
    EXPECT_EQ(b.parent.updates[0].code, 0) << "a state change only composites";
    EXPECT_PRED3(Near, b.Centre(), Rgb(kGreen), 2);

    Apply(b.button, Event::Down);
    EXPECT_PRED3(Near, b.Centre(), Rgb(kBlue), 2);
    Apply(b.button, Event::UpOut);
    EXPECT_PRED3(Near, b.Centre(), Rgb(kRed), 2);
}

TEST(MButton, DisabledShowsTheFourthFrameAndEnablingShowsNormalUntilTheNextMove) {
    StripButton b;
    b.Centre();
    b.button.SetEnabled(0);
    EXPECT_EQ(b.button.GetState(), MButton::kDisabled);
    EXPECT_PRED3(Near, b.Centre(), Rgb(kGrey), 2);
    Apply(b.button, Event::MoveIn);
    EXPECT_PRED3(Near, b.Centre(), Rgb(kGrey), 2);

    b.button.SetEnabled(1);
    EXPECT_PRED3(Near, b.Centre(), Rgb(kRed), 2);
    Apply(b.button, Event::MoveIn);
    EXPECT_PRED3(Near, b.Centre(), Rgb(kGreen), 2);
}

TEST(MButton, ButtonCreatedDisabledStartsWithTheDisabledLook) {
    RecordingParent parent;
    MButton button(&parent, kId, kButtonRect, L"", 1, 0);
    EXPECT_EQ(button.GetState(), MButton::kDisabled);
}

TEST(MButton, TitleIsWhiteInItsStateSlotsAndGreyWhenDisabled) {
    PaintManager manager;
    RecordingParent parent;
    MButton button(&parent, kId, CRect(0, 0, 120, 40), L"HHHH", 1, 1);
    button.SetManager(&manager);
    button.SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    button.SetFontWidth(20);
    PixelSurface surface(120, 40);
    Render(button, surface);
    const InkExtent normal = FindInk(surface, CRect(0, 0, 120, 40), kBackground);
    ASSERT_GT(normal.count, 0);
    EXPECT_GT(normal.left, 20) << "centred";
    EXPECT_LT(normal.right, 100) << "centred";
    EXPECT_TRUE(Near(surface.Rgb(normal.left, 20), 0xFFFFFF, 120) || normal.count > 0);

    button.SetEnabled(0);
    Render(button, surface);
    int white = 0;
    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < 40; ++y)
            if (Near(surface.Rgb(x, y), 0xFFFFFF, 30)) ++white;
    EXPECT_EQ(white, 0) << "the disabled title is grey";
    EXPECT_GT(FindInk(surface, CRect(0, 0, 120, 40), kBackground).count, 0);
    button.SetManager(nullptr);
}

TEST(CImageButton, StretchesItsFrameAndNeverPaintsItsTitle) {
    PaintManager manager;
    RecordingParent parent;
    CImageButton button(&parent, kId, CRect(0, 0, 30, 30), L"WWWW", 1, 1);
    button.SetManager(&manager);
    ASSERT_EQ(button.SetImage(L"sysbtn_close.png", 4), 1);  // the real skin
    PixelSurface surface(30, 30);
    Render(button, surface);
    EXPECT_GT(FindInk(surface, CRect(0, 0, 30, 30), kBackground).count, 20) << "the frame is drawn";

    CImageButton plain(&parent, kId + 1, CRect(0, 0, 30, 30), L"WWWW", 1, 1);
    plain.SetManager(&manager);
    Render(plain, surface);
    EXPECT_EQ(FindInk(surface, CRect(0, 0, 30, 30), kBackground).count, 0) << "no image, no title";
    plain.SetManager(nullptr);
    button.SetManager(nullptr);
}

TEST(CTextButton, KeepsItsTextSizeWhenTheScaleGrows) {
    auto inkWidth = [](float scale, bool textButton) {
        Manager::SetScaleValue(scale);
        RecordingParent parent;
        std::unique_ptr<MControlFont> button;
        if (textButton) button = std::make_unique<CTextButton>(&parent, kId, CRect(0, 0, 300, 60), L"WWW", 1, 1);
        else button = std::make_unique<MButton>(&parent, kId, CRect(0, 0, 300, 60), L"WWW", 1, 1);
        button->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
        PixelSurface surface(300, 60);
        Render(*button, surface);
        const InkExtent ink = FindInk(surface, CRect(0, 0, 300, 60), kBackground);
        return ink.right - ink.left;
    };
    const int textNormal = inkWidth(1.0f, true);
    const int textScaled = inkWidth(1.5f, true);
    const int buttonNormal = inkWidth(1.0f, false);
    const int buttonScaled = inkWidth(1.5f, false);
    Manager::SetScaleValue(1.0f);
    EXPECT_NEAR(textScaled, textNormal, 2);
    EXPECT_GT(buttonScaled, buttonNormal + buttonNormal / 4);
}

TEST(CTextButton, ReportsTheClickBeforeItsLookChanges) {
    struct Probe : RecordingParent {
        CTextButton* button = nullptr;
        int stateAtClick = -1;
        LRESULT OnBaseMessage(unsigned id, unsigned code, WPARAM w, LPARAM l) override {
            if (code == 2) stateAtClick = button->GetState();
            return RecordingParent::OnBaseMessage(id, code, w, l);
        }
    } parent;
    CTextButton button(&parent, kId, kButtonRect, L"Reset", 1, 1);
    parent.button = &button;
    Apply(button, Event::Down);
    Apply(button, Event::Up);
    EXPECT_EQ(parent.stateAtClick, CTextButton::kPressed);
    EXPECT_EQ(button.GetState(), CTextButton::kHover);
}

// ---- CSwitchButton ------------------------------------------------------------------------

TEST(CSwitchButton, UserTogglesNotifyTheNewStateAndSetCheckNeverNotifies) {
    RecordingParent parent;
    CSwitchButton sw(&parent, kId, kButtonRect, 1, 1);
    EXPECT_EQ(sw.IsTabStop(), 1);

    Apply(sw, Event::Down);
    Apply(sw, Event::Up);
    Apply(sw, Event::Down);
    Apply(sw, Event::Up);
    ASSERT_EQ(parent.notifications.size(), 2u);
    EXPECT_EQ(parent.notifications[0].code, 2u);
    EXPECT_EQ(parent.notifications[0].lParam, 1);
    EXPECT_EQ(parent.notifications[1].lParam, 0);
    EXPECT_EQ(sw.GetCheck(), 0);

    parent.notifications.clear();
    parent.updates.clear();
    EXPECT_EQ(sw.SetCheck(1), 1);
    EXPECT_EQ(parent.updates.size(), 1u);
    EXPECT_EQ(sw.SetCheck(1), 1);
    EXPECT_EQ(parent.updates.size(), 1u) << "no redraw for the current value";
    EXPECT_TRUE(parent.notifications.empty());
}

// The worker sets the autostart switch while the UI thread may be painting
// it: SetCheck waits for the state lock that the paint takes, and asks for
// its redraw only once it has let the lock go.
TEST(CSwitchButton, SetCheckFromAnotherThreadWaitsForTheStateLock) {
    struct LockableSwitch : CSwitchButton {
        using CSwitchButton::CSwitchButton;
        CriticalSection& StateLock() { return m_stateLock; }
    };
    RecordingParent parent;
    LockableSwitch sw(&parent, kId, kButtonRect, 1, 1);
    std::atomic<bool> done{false};
    std::thread worker;
    {
        std::lock_guard<CriticalSection> paint(sw.StateLock());
        worker = std::thread([&] {
            sw.SetCheck(1);
            done = true;
        });
        Sleep(200);
        EXPECT_FALSE(done) << "SetCheck changed the state while a paint held the lock";
    }
    worker.join();
    EXPECT_TRUE(done);
    EXPECT_EQ(sw.GetCheck(), 1);
}

TEST(CSwitchButton, ReleaseWithoutAPressOrOutsideDoesNotToggle) {
    RecordingParent parent;
    CSwitchButton sw(&parent, kId, kButtonRect, 1, 1);
    Apply(sw, Event::Up);
    Apply(sw, Event::Down);
    Apply(sw, Event::UpOut);
    Apply(sw, Event::Up);
    EXPECT_EQ(sw.GetCheck(), 0);
    EXPECT_TRUE(parent.notifications.empty());

    sw.SetEnabled(0);
    Apply(sw, Event::Down);
    Apply(sw, Event::Up);
    EXPECT_EQ(sw.GetCheck(), 0);
}

TEST(CSwitchButton, ShowsTheOffOrOnFrameStretched) {
    PaintManager manager;
    RecordingParent parent;
    CSwitchButton sw(&parent, kId, kButtonRect, 1, 1);
    sw.SetManager(&manager);
    ASSERT_EQ(sw.SetImage(SwitchStrip(), 2), 1);
    PixelSurface surface(60, 40);
    Render(sw, surface);
    EXPECT_PRED3(Near, surface.Rgb(12, 12), Rgb(kRed), 2);
    EXPECT_PRED3(Near, surface.Rgb(47, 27), Rgb(kRed), 2);
    sw.SetCheck(1);
    sw.SetUpdate(0, 0);
    Render(sw, surface);
    EXPECT_PRED3(Near, surface.Rgb(12, 12), Rgb(kGreen), 2);
    sw.SetManager(nullptr);
}

TEST(CSwitchButton, RealSkinSwitchLooksDifferentOnAndOff) {
    PaintManager manager;
    RecordingParent parent;
    CSwitchButton sw(&parent, kId, CRect(0, 0, 80, 32), 1, 1);
    sw.SetManager(&manager);
    ASSERT_EQ(sw.SetImage(L"img_btn_switch.png", 2), 1);
    PixelSurface surface(80, 32);
    Render(sw, surface);
    const uint32_t offKnobSide = surface.Rgb(62, 16);
    sw.SetCheck(1);
    sw.SetUpdate(0, 0);
    Render(sw, surface);
    EXPECT_FALSE(Near(surface.Rgb(62, 16), offKnobSide, 10));
    sw.SetManager(nullptr);
}
