// ControlFactory: turns a class name into a control object, for the
// dialog-level factory (PaintManager::CreateControl) and the panel-level one
// (MPanel::CreateControl).
//
// Each level has its own table of names (exact, case-sensitive); a name
// outside the level's table, or a name whose class is not registered, yields
// null. The name tables are complete; the classes are registered in
// ControlClasses.cpp, one line each. The table also fixes each class's
// constructor pattern, i.e. which of title, visible and enabled its
// constructor receives.
#pragma once

#include "CRect.h"
#include "HvuiExport.h"

#include <type_traits>

class MControl;
class MObject;

class HVUI_API ControlFactory {
public:
    enum class Level { Dialog, Panel };
    // The arguments after parent, id and rect:
    //   A visible, enabled   B title, visible, enabled   C visible
    //   D visible, 1         E title, visible, 1         F title, visible
    //   G title, 1, 1
    enum class Pattern { A, B, C, D, E, F, G };

    struct Args {
        MObject* parent;
        unsigned id;
        CRect rect;
        const wchar_t* title;
        int visible;
        int enabled;
    };
    using Creator = MControl* (*)(Pattern pattern, const Args& args);
    // One registered class (ControlClasses.cpp).
    struct ClassEntry {
        const wchar_t* name;
        Creator creator;
    };

    ControlFactory() = delete;

    // A new control of the named class, not yet inserted anywhere; null for
    // an empty or unknown name or a class that is not registered.
    static MControl* Construct(Level level, const wchar_t* className, const Args& args);
    // 1 when the name stands in the level's table.
    static int IsKnown(Level level, const wchar_t* className);
    static int IsRegistered(const wchar_t* className);
    // Registers creator for a name of the tables; 0 for any other name.
    static int Register(const wchar_t* className, Creator creator);

    // The creator of class T: calls the constructor the pattern names.
    template <class T>
    static MControl* Make(Pattern pattern, const Args& a);
};

template <class T>
MControl* ControlFactory::Make(Pattern pattern, const Args& a) {
    using Title = const wchar_t*;
    constexpr bool flags2 = std::is_constructible_v<T, MObject*, unsigned, CRect, int, int>;
    constexpr bool flags1 = std::is_constructible_v<T, MObject*, unsigned, CRect, int>;
    constexpr bool titled3 = std::is_constructible_v<T, MObject*, unsigned, CRect, Title, int, int>;
    constexpr bool titled2 = std::is_constructible_v<T, MObject*, unsigned, CRect, Title, int>;
    static_assert(flags2 || flags1 || titled3 || titled2,
                  "a control class needs a constructor (parent, id, rect, [title,] visible[, enabled])");
    switch (pattern) {
    case Pattern::A:
        if constexpr (flags2) return new T(a.parent, a.id, a.rect, a.visible, a.enabled);
        break;
    case Pattern::B:
        if constexpr (titled3) return new T(a.parent, a.id, a.rect, a.title, a.visible, a.enabled);
        break;
    case Pattern::C:
        if constexpr (flags1) return new T(a.parent, a.id, a.rect, a.visible);
        else if constexpr (flags2) return new T(a.parent, a.id, a.rect, a.visible, 1);
        break;
    case Pattern::D:
        // Panel-derived classes take the visible flag alone.
        if constexpr (flags2) return new T(a.parent, a.id, a.rect, a.visible, 1);
        else if constexpr (flags1) return new T(a.parent, a.id, a.rect, a.visible);
        break;
    case Pattern::E:
        if constexpr (titled3) return new T(a.parent, a.id, a.rect, a.title, a.visible, 1);
        break;
    case Pattern::F:
        // Texts ignore the mouse: never enabled.
        if constexpr (titled2) return new T(a.parent, a.id, a.rect, a.title, a.visible);
        else if constexpr (titled3) return new T(a.parent, a.id, a.rect, a.title, a.visible, 0);
        break;
    case Pattern::G:
        if constexpr (titled3) return new T(a.parent, a.id, a.rect, a.title, 1, 1);
        break;
    }
    return nullptr;
}

// One entry of the registered classes (ControlClasses.cpp).
#define HVUI_CONTROL_CLASS(T) {L## #T, &ControlFactory::Make<T>}
