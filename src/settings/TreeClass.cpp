#include "settings/TreeClass.h"

#include "model/LineReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

TreeClass::TreeClass(std::string name, std::vector<std::unique_ptr<TreeClass>> children)
    : name_(std::move(name)), kind_(SettingKind::Group), children_(std::move(children)) {
    for (auto& child : children_)
        child->parent_ = this;
}

TreeClass::TreeClass(std::string name, double& variable)
    : name_(std::move(name)), kind_(SettingKind::Real), variable_(&variable), default_(variable) {}

TreeClass::TreeClass(std::string name, Colour& variable)
    : name_(std::move(name)), kind_(SettingKind::Colour), variable_(&variable), default_(variable) {
}

TreeClass::TreeClass(std::string name, std::string& variable)
    : name_(std::move(name)), kind_(SettingKind::Text), variable_(&variable), default_(variable) {}

namespace {

template <typename T>
T* VariableOf(const std::variant<std::monostate, double*, Colour*, std::string*>& v) {
    auto* held = std::get_if<T*>(&v);
    return held ? *held : nullptr;
}

} // namespace

double* TreeClass::RealVariable() const {
    return VariableOf<double>(variable_);
}
Colour* TreeClass::ColourVariable() const {
    return VariableOf<Colour>(variable_);
}
std::string* TreeClass::TextVariable() const {
    return VariableOf<std::string>(variable_);
}

std::string TreeClass::Key() const {
    std::string key = parent_ ? parent_->Key() : std::string();
    return key + name_;
}

void TreeClass::FillTreeView(SettingsTreeView& view, int viewNode) {
    view.SetNodeText(viewNode, name_);
    viewIndex_ = viewNode;
    for (auto& child : children_)
        child->FillTreeView(view, view.AddNode(viewNode));
}

TreeClass* TreeClass::FindByIndex(int index) {
    if (index < 0)
        return nullptr;
    if (viewIndex_ == index)
        return this;
    for (auto& child : children_)
        if (TreeClass* found = child->FindByIndex(index))
            return found;
    return nullptr;
}

TreeClass* TreeClass::FindByKey(std::string_view key) {
    const std::string prefix = parent_ ? parent_->Key() : std::string();
    if (!key.starts_with(prefix))
        return nullptr;
    return FindByKeyRest(key.substr(prefix.size()));
}

// A key is the names concatenated without separator, so each level consumes
// its own name from the front of what is left of the key.
TreeClass* TreeClass::FindByKeyRest(std::string_view rest) {
    if (!rest.starts_with(name_))
        return nullptr;
    if (rest.size() == name_.size())
        return this;
    const std::string_view childRest = rest.substr(name_.size());
    for (auto& child : children_)
        if (TreeClass* found = child->FindByKeyRest(childRest))
            return found;
    return nullptr;
}

void TreeClass::ResetAll() {
    switch (kind_) {
    case SettingKind::Group:
        break;
    case SettingKind::Real:
        *RealVariable() = std::get<double>(default_);
        break;
    case SettingKind::Colour:
        *ColourVariable() = std::get<Colour>(default_);
        break;
    case SettingKind::Text:
        *TextVariable() = std::get<std::string>(default_);
        break;
    }
    for (auto& child : children_)
        child->ResetAll();
}

namespace {

constexpr double kLargestColour = 0xFFFFFF;
// Below this, the six decimals of the fixed notation are short enough.
constexpr double kLargestFixedReal = 1e15;

// The leading number of a text, 0 when there is none; unlike ParseReal it
// keeps "inf" and "nan", and a number beyond the range of a double gives
// infinity.
double LeadingReal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    if (i < text.size() && text[i] == '+') {
        ++i;
        if (i < text.size() && text[i] == '-')
            return 0;
    }
    double value = 0;
    const auto result = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return std::numeric_limits<double>::infinity();
    return result.ec == std::errc() ? value : 0;
}

} // namespace

bool TreeClass::Accepts(double value) const {
    const bool colour =
        kind_ == SettingKind::Colour || (kind_ == SettingKind::Real && name_ == "Farbe");
    if (colour)
        return value >= 0 && value <= kLargestColour;
    return kind_ == SettingKind::Real && std::isfinite(value) && value >= 0;
}

void TreeClass::SetFromText(std::string_view text) {
    switch (kind_) {
    case SettingKind::Group:
        break;
    case SettingKind::Real:
        if (const double value = LeadingReal(text); Accepts(value))
            *RealVariable() = value;
        break;
    case SettingKind::Colour:
        if (const Colour colour = ParseColour(text); Accepts(colour))
            *ColourVariable() = colour;
        break;
    case SettingKind::Text:
        *TextVariable() = std::string(text);
        break;
    }
}

bool TreeClass::IsChanged() const {
    switch (kind_) {
    case SettingKind::Group:
        return false;
    case SettingKind::Real:
        return *RealVariable() != std::get<double>(default_);
    case SettingKind::Colour:
        return *ColourVariable() != std::get<Colour>(default_);
    case SettingKind::Text:
        return *TextVariable() != std::get<std::string>(default_);
    }
    return false;
}

std::string TreeClass::SettingLine() const {
    std::string line = Key() + " = ";
    switch (kind_) {
    case SettingKind::Group:
        return std::string();
    case SettingKind::Real:
        return line + SettingRealText(*RealVariable());
    case SettingKind::Colour:
        return line + std::to_string(static_cast<long>(*ColourVariable()));
    case SettingKind::Text:
        return line + *TextVariable();
    }
    return std::string();
}

namespace {

// A line that the reader would split or cut (a line break in a text, more
// than the reader's line length) would come back as a different value, or
// even as a line for another setting; such a setting is not stored.
bool ReadsBackAlike(const std::string& line) {
    return line.size() < static_cast<size_t>(kLineBufferSize) &&
           line.find_first_of("\r\n") == std::string::npos;
}

} // namespace

bool TreeClass::WriteSettings(std::FILE* file) const {
    bool ok = true;
    if (IsChanged()) {
        const std::string line = SettingLine();
        if (ReadsBackAlike(line))
            ok = std::fputs(line.c_str(), file) >= 0 && std::fputc('\n', file) != EOF;
    }
    for (const auto& child : children_)
        ok = child->WriteSettings(file) && ok;
    return ok && !std::ferror(file);
}

Colour ParseColour(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Saturates at the 32-bit limits like a 32-bit strtol.
    constexpr std::int64_t limit = std::numeric_limits<Colour>::max();
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), limit + 1);
    if (negative)
        return static_cast<Colour>(-value);
    return static_cast<Colour>(std::min(value, limit));
}

double ParseReal(std::string_view text) {
    const double value = LeadingReal(text);
    return std::isfinite(value) ? value : 0;
}

std::string FormatReal(double value) {
    char buffer[400];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    if (error != std::errc())
        return "0.000000";
    return std::string(buffer, end);
}

std::string SettingRealText(double value) {
    if (!(std::fabs(value) >= kLargestFixedReal))
        return FormatReal(value);
    char buffer[32];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    return error == std::errc() ? std::string(buffer, end) : FormatReal(value);
}

std::unique_ptr<TreeClass> Setting(std::string name, double& variable) {
    return std::make_unique<TreeClass>(std::move(name), variable);
}

std::unique_ptr<TreeClass> Setting(std::string name, Colour& variable) {
    return std::make_unique<TreeClass>(std::move(name), variable);
}

std::unique_ptr<TreeClass> Setting(std::string name, std::string& variable) {
    return std::make_unique<TreeClass>(std::move(name), variable);
}
