// The control classes the factories can build. Registering a class is one
// entry below (and its header above); a name of the factory tables without
// an entry behaves as an unknown name.
#include "ControlFactory.h"

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
#include "MButton.h"
#include "MComboBox.h"
#include "MPicture.h"
#include "MProgress.h"
#include "MSlider.h"
#include "MTabLayout.h"
#include "MText.h"
#include "MenuItem.h"
#include "TabCtrlEx.h"

extern const ControlFactory::ClassEntry kControlClasses[] = {
    HVUI_CONTROL_CLASS(CArea),
    HVUI_CONTROL_CLASS(CComboBoxList),
    HVUI_CONTROL_CLASS(CHardwareInfo),
    HVUI_CONTROL_CLASS(CHardwareInfo2),
    HVUI_CONTROL_CLASS(CImageButton),
    HVUI_CONTROL_CLASS(CScrollVertical),
    HVUI_CONTROL_CLASS(CSwitchButton),
    HVUI_CONTROL_CLASS(CTabCtrl5),
    HVUI_CONTROL_CLASS(CTextButton),
    HVUI_CONTROL_CLASS(CirclePalette),
    HVUI_CONTROL_CLASS(LightCtrl),
    HVUI_CONTROL_CLASS(MButton),
    HVUI_CONTROL_CLASS(MComboBox),
    HVUI_CONTROL_CLASS(MPicture),
    HVUI_CONTROL_CLASS(MProgress),
    HVUI_CONTROL_CLASS(MSlider),
    HVUI_CONTROL_CLASS(MTabLayout),
    HVUI_CONTROL_CLASS(MText),
    HVUI_CONTROL_CLASS(MenuItem),
    HVUI_CONTROL_CLASS(TabCtrlEx),
};
extern const size_t kControlClassCount = sizeof(kControlClasses) / sizeof(kControlClasses[0]);
