// The two factories: their name tables, the constructor patterns and where
// the new control goes.
#include <gtest/gtest.h>

#include "DialogTestSupport.h"

#include "CArea.h"
#include "CComboBoxList.h"
#include "CHardwareInfo.h"
#include "CHardwareInfo2.h"
#include "CImageButton.h"
#include "CScrollVertical.h"
#include "CSwitchButton.h"
#include "CTabCtrl5.h"
#include "CTextButton.h"
#include "CirclePalette.h"
#include "LightCtrl.h"
#include "MComboBox.h"
#include "MPicture.h"
#include "MProgress.h"
#include "MSlider.h"
#include "MTabLayout.h"
#include "MenuItem.h"
#include "TabCtrlEx.h"
#include "ControlFactory.h"
#include "MPanel.h"

using namespace hvui_test;
using Level = ControlFactory::Level;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

// Stands in for a class that a name of the tables will construct: it keeps
// what its constructor was given. Both constructor shapes exist, as in the
// framework's control classes.
class ProbeClass : public ProbeControl {
public:
    ProbeClass(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible, int enabled)
        : ProbeControl(parent, id, rect, RGB(1, 2, 3), visible) {
        SetControlEnabled(enabled);
        SetTitle(title);
    }
    ProbeClass(MObject* parent, unsigned id, CRect rect, int visible, int enabled)
        : ProbeClass(parent, id, rect, L"", visible, enabled) {}
    void InitControl(PaintManager* manager) override { initManager = manager; }
    PaintManager* initManager = nullptr;
};

// A panel-derived class: the visible flag alone.
class ProbePanel : public MPanel {
public:
    ProbePanel(MObject* parent, unsigned id, CRect rect, int visible) : MPanel(parent, id, rect, visible) {}
};

class ControlFactoryTest : public DialogSuite {
public:
    static void SetUpTestSuite() {
        DialogSuite::SetUpTestSuite();
        for (const wchar_t* name : {L"MButton", L"MText", L"MButton3", L"CHardwareInfo", L"CArea"})
            ASSERT_EQ(ControlFactory::Register(name, &ControlFactory::Make<ProbeClass>), 1);
        ASSERT_EQ(ControlFactory::Register(L"LightCtrl", &ControlFactory::Make<ProbePanel>), 1);
    }
};

TEST_F(ControlFactoryTest, NamesAreExactAndEachLevelKnowsItsOwn) {
    struct Case {
        const wchar_t* name;
        int dialog;
        int panel;
    };
    const Case cases[] = {{L"CArea", 1, 1},          {L"MText", 1, 1},          {L"CRoundArea", 1, 1},
                          {L"CComboBoxList", 1, 0},  {L"CGifPicture2", 1, 0},   {L"CHardwareInfo", 0, 1},
                          {L"CHardwareInfo2", 0, 1}, {L"LightCtrl", 0, 1},      {L"CScrollVertical", 0, 1},
                          {L"MButton3", 0, 1},       {L"marea", 0, 0},          {L"carea", 0, 0},
                          {L"MPanel", 0, 0},         {L"CScrollHorizontal", 0, 0}, {L"", 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(ControlFactory::IsKnown(Level::Dialog, c.name), c.dialog) << c.name;
        EXPECT_EQ(ControlFactory::IsKnown(Level::Panel, c.name), c.panel) << c.name;
    }
    EXPECT_EQ(ControlFactory::Register(L"Unlisted", &ControlFactory::Make<ProbeClass>), 0);
}

TEST_F(ControlFactoryTest, UnknownEmptyAndUnregisteredNamesCreateNothing) {
    for (const wchar_t* name : {L"", L"MBUTTON", L"mbutton", L"Nothing", L"MLevelCtrl"}) {
        EXPECT_EQ(dialog->CreateControl(name, 40, CRect(0, 0, 10, 10), L"", 1, 1), nullptr) << name;
    }
    EXPECT_EQ(dialog->CreateControl(nullptr, 40, CRect(0, 0, 10, 10), L"", 1, 1), nullptr);
    EXPECT_TRUE(manager()->GetControls().empty());
    EXPECT_TRUE(manager()->GetAreas().empty());
}

TEST_F(ControlFactoryTest, TheGaugeNameIsOnlyKnownInsideAPanel) {
    EXPECT_EQ(dialog->CreateControl(L"CHardwareInfo", 40, CRect(0, 0, 10, 10), L"", 1, 1), nullptr);
    auto* panel = dialog->Add(new MPanel(dialog, 50, CRect(0, 0, 200, 200), 1));
    MControl* gauge = panel->CreateControl(L"CHardwareInfo", 41, CRect(0, 0, 10, 10), L"", 1, 1);
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->GetParantObject(), panel);
    EXPECT_EQ(gauge->GetManager(), manager());
    EXPECT_EQ(panel->GetControl(41), gauge);
    MControl* area = panel->CreateArea(L"CHardwareInfo", 42, CRect(0, 0, 10, 10), L"", 1, 1);
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(panel->GetAreas().size(), 1u);
}

TEST_F(ControlFactoryTest, PatternsDecideWhatTheConstructorGets) {
    struct Case {
        const wchar_t* name;
        int visible;
        int enabled;
        int expectVisible;
        int expectEnabled;
        bool panel;
    };
    const Case cases[] = {
        {L"MButton", 1, 0, 1, 0, false},   // B: title, visible, enabled
        {L"MText", 1, 1, 1, 0, false},     // F: texts are never enabled
        {L"CArea", 0, 0, 0, 1, false},     // D: visible, 1
        {L"MButton3", 0, 0, 1, 1, true},   // G: both flags ignored
    };
    auto* panel = dialog->Add(new MPanel(dialog, 50, CRect(0, 0, 200, 200), 1));
    for (const Case& c : cases) {
        MControl* made = c.panel ? panel->CreateControl(c.name, 60, CRect(1, 2, 3, 4), L"Title", c.visible, c.enabled)
                                 : dialog->CreateControl(c.name, 60, CRect(1, 2, 3, 4), L"Title", c.visible, c.enabled);
        ASSERT_NE(made, nullptr) << c.name;
        EXPECT_EQ(made->IsVisible(), c.expectVisible) << c.name;
        EXPECT_EQ(made->IsEnabled(), c.expectEnabled) << c.name;
        EXPECT_EQ(made->GetRresponse(), 1) << c.name;
        EXPECT_EQ(made->GetRect(), CRect(1, 2, 3, 4));
        EXPECT_EQ(static_cast<ProbeClass*>(made)->GetTitle(), CString(wcscmp(c.name, L"CArea") == 0 ? L"" : L"Title"));
        EXPECT_EQ(static_cast<ProbeClass*>(made)->initManager, manager()) << c.name;
    }
    MControl* light = panel->CreateControl(L"LightCtrl", 61, CRect(0, 0, 50, 50), nullptr, 1, 0);
    ASSERT_NE(light, nullptr);
    EXPECT_TRUE(light->IsEnabled());
}

TEST_F(ControlFactoryTest, KindDecidesTheListAndAnAreaNeverGetsTheMouse) {
    MControl* area = dialog->CreateArea(L"MButton", 70, CRect(10, 10, 100, 100), L"", 1, 1);
    MControl* control = dialog->CreateControl(L"MButton", 71, CRect(200, 10, 300, 100), L"", 1, 1);
    MControl* loose = manager()->CreateControl(2, dialog, L"MButton", 72, CRect(0, 0, 5, 5), L"", 1, 1);
    ASSERT_NE(loose, nullptr);
    EXPECT_EQ(manager()->GetAreas(), std::vector<MControl*>{area});
    EXPECT_EQ(manager()->GetControls(), std::vector<MControl*>{control});
    EXPECT_EQ(dialog->GetControl(70), area);
    EXPECT_EQ(dialog->GetControl(72), nullptr);
    delete loose;  // nobody else owns it

    Post(WM_MOUSEMOVE, 0, 50, 50);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 50, 50);
    Post(WM_LBUTTONUP, 0, 50, 50);
    EXPECT_EQ(static_cast<ProbeClass*>(area)->leftDowns, 0);
    EXPECT_EQ(static_cast<ProbeClass*>(area)->moves, 0);
    Post(WM_MOUSEMOVE, 0, 250, 50);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 250, 50);
    EXPECT_EQ(static_cast<ProbeClass*>(control)->leftDowns, 1);
    Post(WM_LBUTTONUP, 0, 250, 50);
}

TEST_F(ControlFactoryTest, TheScrollBarClassIsRegisteredForPanels) {
    auto* panel = dialog->Add(new MPanel(dialog, 50, CRect(0, 0, 200, 200), 1));
    MControl* bar = panel->CreateControl(L"CScrollVertical", 80, CRect(190, 0, 200, 200), nullptr, 1, 1);
    ASSERT_NE(bar, nullptr);
    EXPECT_NE(dynamic_cast<CScrollVertical*>(bar), nullptr);
    EXPECT_EQ(dialog->CreateControl(L"CScrollVertical", 81, CRect(0, 0, 5, 5), nullptr, 1, 1), nullptr);
}

template <class T>
bool IsA(MControl* control) { return dynamic_cast<T*>(control) != nullptr; }

// Every control class of the library answers to its name, at the levels whose
// table lists it. (The probes above stand in for the names they registered.)
TEST_F(ControlFactoryTest, EveryBuiltClassIsMadeByItsName) {
    struct Case { const wchar_t* name; bool panelOnly; bool (*isA)(MControl*); };
    const Case cases[] = {
        {L"MPicture", false, &IsA<MPicture>},       {L"CImageButton", false, &IsA<CImageButton>},
        {L"CTextButton", false, &IsA<CTextButton>}, {L"CSwitchButton", false, &IsA<CSwitchButton>},
        {L"MComboBox", false, &IsA<MComboBox>},     {L"TabCtrlEx", false, &IsA<TabCtrlEx>},
        {L"CTabCtrl5", false, &IsA<CTabCtrl5>},     {L"MTabLayout", false, &IsA<MTabLayout>},
        {L"MSlider", false, &IsA<MSlider>},         {L"MProgress", false, &IsA<MProgress>},
        {L"CirclePalette", false, &IsA<CirclePalette>}, {L"MenuItem", false, &IsA<MenuItem>},
        {L"CHardwareInfo2", true, &IsA<CHardwareInfo2>},
    };
    auto* panel = dialog->Add(new MPanel(dialog, 90, CRect(0, 0, 400, 400), 1));
    unsigned id = 100;
    for (const Case& c : cases) {
        MControl* inPanel = panel->CreateControl(c.name, id++, CRect(0, 0, 40, 40), L"T", 1, 1);
        EXPECT_TRUE(inPanel && c.isA(inPanel)) << "panel level";
        MControl* inDialog = dialog->CreateControl(c.name, id++, CRect(0, 0, 40, 40), L"T", 1, 1);
        EXPECT_EQ(inDialog != nullptr && c.isA(inDialog), !c.panelOnly) << "dialog level";
    }
}

}  // namespace
