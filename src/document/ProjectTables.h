#pragma once

#include "model/InputContainer.h"
#include "project/Project.h"

#include <functional>
#include <memory>
#include <string>

class Document;

// The tables of the window "Kombinationen": one row per combination (its
// name, then one factor per load case) and one row per envelope member (the
// envelope's name, the member "LF2" or "K1", γsup, γinf and the number of an
// exclusive group, 0 for none). The rows are the user's; the document's
// combinations and envelopes are made from the valid ones after each change.

inline constexpr int kTableTextBytes = 256;

class CombinationTable : public InputContainer {
public:
    explicit CombinationTable(int loadCases);
    int LoadCases() const { return loadCases_; }
    // Column 0 the name, 1 … loadCases the factors.
    void* ValuePtr(int row, int col) override;
    void StoreValue(int row, int col, const void* value) override;
    void NotifyChanged() override;
    bool CopyRow(int, int) override { return false; }
    std::string Name(int row);
    double Factor(int row, int k);

    std::function<void()> changed;

private:
    int loadCases_;
};

class EnvelopeTable : public InputContainer {
public:
    enum Column { kName, kMember, kSup, kInf, kGroup, kColumns };
    struct Rec {
        RecordHead head;
        char name[kTableTextBytes];
        char member[kTableTextBytes];
        double sup;
        double inf;
        int32_t group;
    };
    EnvelopeTable() : InputContainer(sizeof(Rec)) {}
    void* ValuePtr(int row, int col) override;
    void StoreValue(int row, int col, const void* value) override;
    void InitRow(int row) override;
    void NotifyChanged() override;
    bool CopyRow(int, int) override { return false; }
    Rec& Row(int row) { return *static_cast<Rec*>(At(row)); }

    std::function<void()> changed;
};

// The cell a check points at: page 0 the combinations, 1 the envelopes; row
// of the table, column the grid's (1 = the first data column).
struct ProjectCheck {
    bool ok = true;
    int page = 0;
    int row = 0;
    int column = 0;
    std::string message;
};

// "LF2" or "2" load case 2, "K1" (or "C1") combination 1, as a member from 0;
// false for anything else.
bool ParseMemberLabel(const std::string& text, EnvelopeMember& member);

class ProjectTables {
public:
    explicit ProjectTables(Document& document);

    CombinationTable& Combinations() { return *combinations_; }
    EnvelopeTable& Envelopes() { return envelopes_; }

    // The rows become the document's combinations and envelopes when these
    // changed elsewhere (a project opened, a load case added or removed);
    // true when they did: the combinations' table is then a new one (its
    // columns may have changed), which the grid shows from then on.
    bool Follow();
    // The document's combinations and envelopes from the valid rows.
    void Apply();
    // Unknown load cases and combinations, envelopes without members,
    // factors that are no finite numbers, a group of different factors.
    ProjectCheck Check();

private:
    void Load();
    std::string DocumentTexts() const;
    // Whether an envelope row's member names the project's traffic group.
    bool IsTrafficMember(const std::string& text) const;
    // Why label is no load case or combination of the project; empty when it is one.
    std::string MemberFault(const std::string& label, int combinations) const;

    Document& document_;
    std::unique_ptr<CombinationTable> combinations_;
    EnvelopeTable envelopes_;
    std::string applied_; // the texts of what the rows last gave the document
    bool applying_ = false;
};
