#pragma once

#include "model/InputContainer.h"
#include "model/Records.h"

#include <cstdio>

struct Point2 {
    double x;
    double y;
};

class NodeClass;
class BeamClass;
class HingesClass;

// A table of the system: a change marks the system modified.
template <class Rec> class SystemTable : public RecordTable<Rec> {
public:
    void NotifyChanged() override {
        if (this->Observer())
            this->Observer()->SystemChanged();
    }
};

// A table of the load case: a change marks the load case modified.
template <class Rec> class LoadTable : public RecordTable<Rec> {
public:
    void NotifyChanged() override {
        if (this->Observer())
            this->Observer()->LoadCaseChanged();
    }
};

// Tables with a "von"/"bis" range in columns 0 and 1: storing "von" raises a
// smaller "bis" to it; storing "bis" stores it as it is.
template <class Rec> class RangeLoadTable : public LoadTable<Rec> {
protected:
    // Stores columns 0 and 1 by the range rule; true when col was one of them.
    bool StoreRange(int row, int col, const void* value);
};

class NodeClass : public SystemTable<NodeRec> {
public:
    void* ValuePtr(int row, int col) override;
    void StoreValue(int row, int col, const void* value) override;
    const char* SectionKeyword() const override { return "NODES"; }
    void WriteRecord(std::FILE* file, int row) override;
    void ReadRecord(const char* line, int row) override;

    // True when no valid beam starts or ends at node number (1-based).
    bool NodeUnconnected(int number);

    BeamClass* beams = nullptr;
};

class BeamClass : public SystemTable<BeamRec> {
public:
    void* ValuePtr(int row, int col) override;
    void StoreValue(int row, int col, const void* value) override;
    void InitRow(int row) override;
    const char* SectionKeyword() const override { return "BEAMS"; }
    void WriteRecord(std::FILE* file, int row) override;
    void ReadRecord(const char* line, int row) override;

    // Beam numbers are 1-based; the record overloads serve callers that walk
    // the valid rows.
    bool BeamDefined(int beam);
    bool BeamDefined(const BeamRec& beam);
    double BeamLength(int beam);
    double BeamLength(const BeamRec& beam);
    double BeamAngle(int beam);
    double BeamAngle(const BeamRec& beam);
    Point2 PointAt(int beam, double t);
    Point2 PointAt(const BeamRec& beam, double t);

    NodeClass* nodes = nullptr;

private:
    void EndPoints(const BeamRec& beam, Point2& a, Point2& b);
    double lengthScratch_ = 0.0; // the computed, read-only "Stablänge" column
};

class MatClass : public SystemTable<MatRec> {
public:
    void* ValuePtr(int row, int col) override;
    void StoreValue(int row, int col, const void* value) override;
    void InitRow(int row) override;
    const char* SectionKeyword() const override { return "MATERIALS"; }
    void WriteRecord(std::FILE* file, int row) override;
    void ReadRecord(const char* line, int row) override;
};

class HingesClass : public SystemTable<HingeRec> {
public:
    void* ValuePtr(int row, int col) override;
    void StoreValue(int row, int col, const void* value) override;
    const char* SectionKeyword() const override { return "HINGES"; }
    void WriteRecord(std::FILE* file, int row) override;
    void ReadRecord(const char* line, int row) override;

    bool HingeOnValidBeam(const HingeRec& hinge);
    // True when a valid hinge has exactly this beam, position and type.
    bool FindHinge(int beam, double pos, int type);

    BeamClass* beams = nullptr;
};

// The springs of the system: elastic supports of a node range. An optional
// section of the system file: it is written only when it holds valid rows,
// so that a system without springs gives the file it always gave.
class SpringClass : public SystemTable<SpringRec> {
public:
    void* ValuePtr(int row, int col) override;
    // "von" and "bis" follow the range rule of the load tables.
    void StoreValue(int row, int col, const void* value) override;
    const char* SectionKeyword() const override { return "SPRINGS"; }
    void WriteSection(std::FILE* file) override;
    void WriteRecord(std::FILE* file, int row) override;
    void ReadRecord(const char* line, int row) override;
};

class NodeLoadClass : public RangeLoadTable<NodeLoadRec> {
public:
    void* ValuePtr(int row, int col) override;
    void StoreValue(int row, int col, const void* value) override;
    const char* SectionKeyword() const override { return "NODELOAD"; }
    void WriteRecord(std::FILE* file, int row) override;
    void ReadRecord(const char* line, int row) override;

    double MaxAbsFz();
    double MaxAbsNodeMoment();
};

class BeamLoadClass : public RangeLoadTable<BeamLoadRec> {
public:
    void* ValuePtr(int row, int col) override;
    void StoreValue(int row, int col, const void* value) override;
    const char* SectionKeyword() const override { return "BEAMLOAD"; }
    void WriteRecord(std::FILE* file, int row) override;
    void ReadRecord(const char* line, int row) override;

    double MaxAbsLineLoad();
};

class PointLoadClass : public LoadTable<PointLoadRec> {
public:
    void* ValuePtr(int row, int col) override;
    void StoreValue(int row, int col, const void* value) override;
    const char* SectionKeyword() const override { return "POINTLOAD"; }
    void WriteRecord(std::FILE* file, int row) override;
    void ReadRecord(const char* line, int row) override;

    double MaxAbsQ();
    double MaxAbsPointMoment();
};

class ZwvClass : public RangeLoadTable<ZwvRec> {
public:
    void* ValuePtr(int row, int col) override;
    void StoreValue(int row, int col, const void* value) override;
    const char* SectionKeyword() const override { return "CONSTRAINTLOAD"; }
    void WriteRecord(std::FILE* file, int row) override;
    void ReadRecord(const char* line, int row) override;

    double MaxAbsW();
    double MaxAbsRotation();
};

class TempLoadClass : public RangeLoadTable<TempLoadRec> {
public:
    void* ValuePtr(int row, int col) override;
    void StoreValue(int row, int col, const void* value) override;
    const char* SectionKeyword() const override { return "TEMPERATURELOAD"; }
    void WriteRecord(std::FILE* file, int row) override;
    void ReadRecord(const char* line, int row) override;
};

class HingeLoadClass : public LoadTable<HingeLoadRec> {
public:
    void* ValuePtr(int row, int col) override;
    void StoreValue(int row, int col, const void* value) override;
    const char* SectionKeyword() const override { return "HINGELOAD"; }
    void WriteRecord(std::FILE* file, int row) override;
    void ReadRecord(const char* line, int row) override;

    // Largest |value| of the hinge loads of this kind on valid hinges of this type.
    double MaxAbsHingeLoad(int kind, int hingeType);

    HingesClass* hinges = nullptr;
};

// The ten tables of one system and one load case, linked to each other.
// The program has one (Input()); tests build their own.
struct InputModel {
    InputModel();
    InputModel(const InputModel&) = delete;
    InputModel& operator=(const InputModel&) = delete;

    NodeClass nodes;
    BeamClass beams;
    MatClass mats;
    HingesClass hinges;
    SpringClass springs;
    NodeLoadClass nodeLoads;
    BeamLoadClass beamLoads;
    PointLoadClass pointLoads;
    ZwvClass zwv;
    TempLoadClass tempLoads;
    HingeLoadClass hingeLoads;

    // The four system tables every system file holds, in file order, and
    // the six load tables.
    InputContainer* systemTables[4];
    InputContainer* loadTables[6];
    // All tables of the system in file order: the four and the springs,
    // whose section is optional. Reading, writing, emptying and the change
    // notification cover these.
    InputContainer* systemFileTables[5];

    void SetObserver(DocumentObserver* observer);
    void ResetSystem();
    void ResetLoadCase();
    // The six load tables become copies of those of from, row by row (no
    // change notification: the tables of a project's load cases are put in
    // place for an analysis or a protocol).
    void CopyLoadCaseFrom(InputModel& from);
    // The five system tables likewise: a project's analysis runs on its own
    // copy of the system while the windows edit the program's.
    void CopySystemFrom(InputModel& from);
};

// The program's input model.
InputModel& Input();
