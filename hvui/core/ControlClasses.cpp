// The control classes the factories can build. Registering a class is one
// entry below (and its header above); a name of the factory tables without
// an entry behaves as an unknown name.
#include "ControlFactory.h"

#include "CScrollVertical.h"

extern const ControlFactory::ClassEntry kControlClasses[] = {
    HVUI_CONTROL_CLASS(CScrollVertical),
};
extern const size_t kControlClassCount = sizeof(kControlClasses) / sizeof(kControlClasses[0]);
