#pragma once

#include "settings/SettingsVariables.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The tree view a settings tree is shown in (the settings dialog implements
// it). A view node is named by its index: its position in the view's
// depth-first order.
class SettingsTreeView {
public:
    virtual ~SettingsTreeView() = default;
    // Adds a new, unnamed view node as the last child of parent
    // (kViewTopLevel: at the top level) and returns its index.
    virtual int AddNode(int parent) = 0;
    // Shows text on the view node.
    virtual void SetNodeText(int node, const std::string& text) = 0;
};

inline constexpr int kViewTopLevel = -1;

enum class SettingKind { Group, Real, Colour, Text };

// A node's default: nothing for a group, else a double, a colour or a text.
using SettingValue = std::variant<std::monostate, double, Colour, std::string>;

// One node of the settings tree: a named group that owns its children in
// order, or a leaf that refers to one setting variable and keeps the value that
// variable held when the leaf was built as its default.
class TreeClass {
public:
    TreeClass(std::string name, std::vector<std::unique_ptr<TreeClass>> children);
    TreeClass(std::string name, double& variable);
    TreeClass(std::string name, Colour& variable);
    TreeClass(std::string name, std::string& variable);
    TreeClass(const TreeClass&) = delete;
    TreeClass& operator=(const TreeClass&) = delete;

    const std::string& Name() const { return name_; }
    SettingKind Kind() const { return kind_; }
    int ChildCount() const { return static_cast<int>(children_.size()); }
    TreeClass& Child(int i) const { return *children_[static_cast<size_t>(i)]; }
    const TreeClass* Parent() const { return parent_; }

    // The names from the root down to this node, written one after the other.
    std::string Key() const;

    // The leaf's variable; null when the node is of another kind.
    double* RealVariable() const;
    Colour* ColourVariable() const;
    std::string* TextVariable() const;

    const SettingValue& DefaultValue() const { return default_; }

    // Position in the tree view it was last shown in; -1 until then.
    int ViewIndex() const { return viewIndex_; }

    // Names viewNode after this node, records its index, and fills one new
    // view node per child under it, in child order.
    void FillTreeView(SettingsTreeView& view, int viewNode);

    // The first node in depth-first order with that view index or key; null
    // when there is none (also for a negative index: nodes not shown yet are
    // no view node). Keys are compared exactly, byte for byte.
    TreeClass* FindByIndex(int index);
    TreeClass* FindByKey(std::string_view key);

    // Gives every leaf of the subtree its default back.
    void ResetAll();

    // Sets the leaf's variable from a text (see ParseColour, ParseReal); a
    // text without a number sets 0. A number the leaf does not accept (-1,
    // "nan", "inf", 1e400, a colour beyond 0xFFFFFF) changes nothing, so the
    // variable keeps its value. A group ignores it.
    void SetFromText(std::string_view text);

    // Whether a value makes sense for the leaf: a colour 0 ... 0xFFFFFF (so
    // is the real Belastung / Temperaturlasten / Farbe, which holds one), any
    // other real a finite number not below 0; false for groups and texts.
    bool Accepts(double value) const;

    // Whether the leaf's variable differs from its default; false for groups.
    bool IsChanged() const;

    // Writes one "key = value" line for every changed leaf of the subtree,
    // depth first, each node before its children. Returns false when the
    // stream reported an error.
    bool WriteSettings(std::FILE* file) const;

private:
    TreeClass* FindByKeyRest(std::string_view rest);
    std::string SettingLine() const;

    std::string name_;
    SettingKind kind_;
    TreeClass* parent_ = nullptr;
    std::vector<std::unique_ptr<TreeClass>> children_;
    std::variant<std::monostate, double*, Colour*, std::string*> variable_;
    SettingValue default_;
    int viewIndex_ = -1;
};

// The conversions SetFromText uses. Both read the longest leading number and
// give 0 when the text does not start with one; neither depends on the C
// locale. A colour outside the 32-bit range is clamped to it; a real that is
// not finite (inf, nan, overflow) gives 0.
Colour ParseColour(std::string_view text);
double ParseReal(std::string_view text);

// A real in fixed notation with six decimals and a period, whatever the C
// locale is.
std::string FormatReal(double value);

// A real as the settings file stores it: FormatReal, but from 1e15 on in
// exponent notation ("1e+308"), which ParseReal reads back the same, where
// the fixed notation would run to hundreds of digits.
std::string SettingRealText(double value);

// Builders that keep the tree's layout readable.
std::unique_ptr<TreeClass> Setting(std::string name, double& variable);
std::unique_ptr<TreeClass> Setting(std::string name, Colour& variable);
std::unique_ptr<TreeClass> Setting(std::string name, std::string& variable);

template <typename... Nodes>
std::unique_ptr<TreeClass> Group(std::string name, Nodes&&... children) {
    std::vector<std::unique_ptr<TreeClass>> list;
    list.reserve(sizeof...(children));
    (list.push_back(std::forward<Nodes>(children)), ...);
    return std::make_unique<TreeClass>(std::move(name), std::move(list));
}
