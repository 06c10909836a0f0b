#include "document/ProjectTables.h"

#include "document/Document.h"
#include "model/Format.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <map>

namespace {

void CopyText(char* to, const std::string& text) {
    size_t n = std::min(text.size(), static_cast<size_t>(kTableTextBytes - 1));
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    std::memcpy(to, text.data(), n);
    to[n] = '\0';
}

std::string Trimmed(const char* text) {
    std::string s(text, strnlen(text, kTableTextBytes));
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

constexpr size_t kCombinationHead = sizeof(RecordHead) + kTableTextBytes;

} // namespace

// ---- combinations ------------------------------------------------------------------

CombinationTable::CombinationTable(int loadCases)
    : InputContainer(static_cast<int>(kCombinationHead + sizeof(double) * loadCases)),
      loadCases_(loadCases) {}

void* CombinationTable::ValuePtr(int row, int col) {
    if (row < 0 || row >= Count() || col < 0 || col > loadCases_)
        return nullptr;
    char* record = static_cast<char*>(At(row));
    if (col == 0)
        return record + sizeof(RecordHead);
    return record + kCombinationHead + sizeof(double) * static_cast<size_t>(col - 1);
}

void CombinationTable::StoreValue(int row, int col, const void* value) {
    void* to = ValuePtr(row, col);
    if (!to || !value)
        return;
    if (col == 0)
        CopyText(static_cast<char*>(to), static_cast<const char*>(value));
    else
        std::memcpy(to, value, sizeof(double));
}

void CombinationTable::NotifyChanged() {
    if (changed)
        changed();
}

std::string CombinationTable::Name(int row) {
    return Trimmed(static_cast<const char*>(ValuePtr(row, 0)));
}

double CombinationTable::Factor(int row, int k) {
    double value;
    std::memcpy(&value, ValuePtr(row, k + 1), sizeof value);
    return value;
}

// ---- envelopes ---------------------------------------------------------------------

void* EnvelopeTable::ValuePtr(int row, int col) {
    if (row < 0 || row >= Count())
        return nullptr;
    Rec& rec = Row(row);
    switch (col) {
    case kName:
        return rec.name;
    case kMember:
        return rec.member;
    case kSup:
        return &rec.sup;
    case kInf:
        return &rec.inf;
    case kGroup:
        return &rec.group;
    default:
        return nullptr;
    }
}

void EnvelopeTable::StoreValue(int row, int col, const void* value) {
    void* to = ValuePtr(row, col);
    if (!to || !value)
        return;
    if (col == kName || col == kMember)
        CopyText(static_cast<char*>(to), static_cast<const char*>(value));
    else if (col == kGroup)
        std::memcpy(to, value, sizeof(int32_t));
    else
        std::memcpy(to, value, sizeof(double));
}

// A new member counts fully when unfavourable and not at all when favourable.
void EnvelopeTable::InitRow(int row) {
    Row(row).sup = 1.0;
    Row(row).inf = 0.0;
}

void EnvelopeTable::NotifyChanged() {
    if (changed)
        changed();
}

// ---- both --------------------------------------------------------------------------

bool ParseMemberLabel(const std::string& text, EnvelopeMember& member) {
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t')
            s += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    bool combination = false;
    if (s.rfind("LF", 0) == 0) {
        s.erase(0, 2);
    } else if (!s.empty() && (s[0] == 'K' || s[0] == 'C')) {
        combination = true;
        s.erase(0, 1);
    }
    if (s.empty() || s.size() > 9 || !std::all_of(s.begin(), s.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        }))
        return false;
    const int number = std::stoi(s);
    if (number < 1)
        return false;
    member = {combination, number - 1};
    return true;
}

ProjectTables::ProjectTables(Document& document) : document_(document) {
    Load();
}

std::string ProjectTables::DocumentTexts() const {
    std::string text = std::to_string(document_.LoadCaseCount());
    for (const Combination& combination : document_.Project().combinations)
        text += "\n" + CombinationText(combination);
    for (const Envelope& envelope : document_.Envelopes())
        text += "\n" + EnvelopeText(envelope, document_.Traffic().groupName);
    return text;
}

void ProjectTables::Load() {
    auto onChange = [this] {
        if (!applying_)
            Apply();
    };
    const int n = document_.LoadCaseCount();
    combinations_ = std::make_unique<CombinationTable>(n);
    combinations_->changed = onChange;
    const std::vector<Combination>& combinations = document_.Combinations();
    for (size_t j = 0; j < combinations.size(); ++j) {
        const int row = static_cast<int>(j);
        static_cast<RecordHead*>(combinations_->RowRecord(row))->flag = kFlagFile;
        combinations_->StoreValue(row, 0, combinations[j].name.c_str());
        for (int k = 0; k < n; ++k) {
            const double factor = static_cast<size_t>(k) < combinations[j].factors.size()
                                      ? combinations[j].factors[k]
                                      : 0.0;
            combinations_->StoreValue(row, k + 1, &factor);
        }
    }
    combinations_->InvalidateIndex();

    envelopes_.Reset();
    envelopes_.changed = onChange;
    int row = 0;
    int group = 0;
    for (const Envelope& envelope : document_.Envelopes())
        for (const EnvelopeTerm& term : envelope.terms) {
            if (term.group)
                ++group;
            for (const EnvelopeMember& member : term.members) {
                EnvelopeTable::Rec& rec =
                    *static_cast<EnvelopeTable::Rec*>(envelopes_.RowRecord(row));
                rec.head.flag = kFlagFile;
                CopyText(rec.name, envelope.name);
                CopyText(rec.member, MemberLabel(member));
                rec.sup = term.sup;
                rec.inf = term.inf;
                rec.group = term.group ? group : 0;
                ++row;
            }
        }
    // The traffic group is one more member, named by the group's name.
    for (const Envelope& envelope : document_.Envelopes())
        if (envelope.traffic.found) {
            EnvelopeTable::Rec& rec = *static_cast<EnvelopeTable::Rec*>(envelopes_.RowRecord(row));
            rec.head.flag = kFlagFile;
            CopyText(rec.name, envelope.name);
            CopyText(rec.member, document_.Traffic().groupName);
            rec.sup = envelope.traffic.sup;
            rec.inf = envelope.traffic.inf;
            rec.group = 0;
            ++row;
        }
    envelopes_.InvalidateIndex();
    if (TableGrid* grid = envelopes_.Grid()) {
        grid->SetRowCount(std::max(envelopes_.UsedRowCount(), 40) + grid->FixedRows());
        grid->Repaint();
    }
    applied_ = DocumentTexts();
}

bool ProjectTables::Follow() {
    if (applying_ || DocumentTexts() == applied_)
        return false;
    Load();
    return true;
}

void ProjectTables::Apply() {
    std::vector<Combination> combinations;
    for (int row = 0; row < combinations_->Count(); ++row) {
        if (!combinations_->IsRowValid(row, 0))
            continue;
        Combination combination;
        combination.name = combinations_->Name(row);
        if (combination.name.empty())
            combination.name = "K" + std::to_string(combinations.size() + 1);
        for (int k = 0; k < combinations_->LoadCases(); ++k)
            combination.factors.push_back(combinations_->Factor(row, k));
        combinations.push_back(std::move(combination));
    }
    std::vector<Envelope> envelopes;
    std::map<std::pair<size_t, int>, size_t> groups; // (envelope, group) → term
    for (int row = 0; row < envelopes_.Count(); ++row) {
        if (!envelopes_.IsRowValid(row, 0))
            continue;
        const EnvelopeTable::Rec& rec = envelopes_.Row(row);
        const std::string name = Trimmed(rec.name);
        EnvelopeMember member;
        const bool traffic = IsTrafficMember(rec.member);
        if (name.empty() || (!traffic && !ParseMemberLabel(rec.member, member)))
            continue;
        auto at = std::find_if(envelopes.begin(), envelopes.end(),
                               [&](const Envelope& e) { return e.name == name; });
        if (at == envelopes.end())
            at = envelopes.insert(envelopes.end(), Envelope{name, {}, {}});
        if (traffic) {
            at->traffic = {true, rec.sup, rec.inf};
            continue;
        }
        const size_t e = static_cast<size_t>(at - envelopes.begin());
        if (rec.group > 0) {
            const auto key = std::make_pair(e, static_cast<int>(rec.group));
            if (auto found = groups.find(key); found != groups.end()) {
                at->terms[found->second].members.push_back(member);
                continue;
            }
            groups[key] = at->terms.size();
        }
        at->terms.push_back({{member}, rec.group > 0, rec.sup, rec.inf});
    }
    applying_ = true;
    document_.SetCombinations(std::move(combinations), std::move(envelopes));
    applied_ = DocumentTexts();
    applying_ = false;
}

bool ProjectTables::IsTrafficMember(const std::string& text) const {
    const TrafficModel& traffic = document_.Traffic();
    return traffic.Active() && Trimmed(text.c_str()) == traffic.groupName;
}

std::string ProjectTables::MemberFault(const std::string& label, int combinations) const {
    EnvelopeMember member;
    const TrafficModel& traffic = document_.Traffic();
    if (!ParseMemberLabel(label, member))
        return traffic.Active()
                   ? "Ein Glied ist ein Lastfall (LF1), eine Kombination (K1) oder der Verkehr (" +
                         traffic.groupName + "): " + label
                   : "Ein Glied ist ein Lastfall (LF1) oder eine Kombination (K1): " + label;
    if (!member.combination && member.index >= document_.LoadCaseCount())
        return Format("Unbekannter Lastfall %s: das Projekt hat %d Lastfälle", label.c_str(),
                      document_.LoadCaseCount());
    if (member.combination && member.index >= combinations)
        return Format("Unbekannte Kombination %s: das Projekt hat %d Kombinationen", label.c_str(),
                      combinations);
    return {};
}

ProjectCheck ProjectTables::Check() {
    auto fail = [](int page, int row, int column, std::string message) {
        return ProjectCheck{false, page, row, column + 1, std::move(message)};
    };
    int combinations = 0;
    for (int row = 0; row < combinations_->Count(); ++row) {
        if (!combinations_->IsRowValid(row, 0))
            continue;
        ++combinations;
        for (int k = 0; k < combinations_->LoadCases(); ++k)
            if (!std::isfinite(combinations_->Factor(row, k)))
                return fail(0, row, k + 1, "Der Faktor ist keine endliche Zahl");
    }
    std::map<std::pair<std::string, int>, std::pair<double, double>> groupFactors;
    for (int row = 0; row < envelopes_.Count(); ++row) {
        if (!envelopes_.IsRowValid(row, 0))
            continue;
        const EnvelopeTable::Rec& rec = envelopes_.Row(row);
        const std::string name = Trimmed(rec.name);
        if (name.empty())
            return fail(1, row, EnvelopeTable::kName, "Der Name der Umhüllenden fehlt");
        const std::string label = Trimmed(rec.member);
        if (label.empty())
            return fail(1, row, EnvelopeTable::kMember,
                        Format("Die Umhüllende %s hat hier kein Glied (LF1 … LF%d oder K1 …)",
                               name.c_str(), document_.LoadCaseCount()));
        if (IsTrafficMember(label)) {
            if (rec.group > 0)
                return fail(1, row, EnvelopeTable::kGroup,
                            "Der Verkehr ist selbst eine Gruppe (eine Stellung zur Zeit): "
                            "hier Gruppe 0");
        } else if (const std::string fault = MemberFault(label, combinations); !fault.empty()) {
            return fail(1, row, EnvelopeTable::kMember, fault);
        }
        if (!std::isfinite(rec.sup))
            return fail(1, row, EnvelopeTable::kSup, "Der Faktor ist keine endliche Zahl");
        if (!std::isfinite(rec.inf))
            return fail(1, row, EnvelopeTable::kInf, "Der Faktor ist keine endliche Zahl");
        if (rec.group < 0)
            return fail(1, row, EnvelopeTable::kGroup, "Die Gruppe ist 0 (keine) oder größer");
        if (rec.group > 0) {
            const auto key = std::make_pair(name, static_cast<int>(rec.group));
            const auto [at, first] = groupFactors.emplace(key, std::make_pair(rec.sup, rec.inf));
            if (!first && at->second != std::make_pair(rec.sup, rec.inf))
                return fail(1, row, EnvelopeTable::kSup,
                            Format("Die Glieder der Gruppe %d haben verschiedene Faktoren",
                                   static_cast<int>(rec.group)));
        }
    }
    return {};
}
