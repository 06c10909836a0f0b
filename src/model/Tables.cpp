#include "model/Tables.h"

#include "model/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace {

// One grid column of a table: where its value lies in the record and whether
// it is an int32 (else a double).
struct Field {
    size_t offset;
    bool isInt;
};

template <size_t N> const Field* ColumnField(const Field (&fields)[N], int col) {
    return col >= 0 && col < static_cast<int>(N) ? &fields[col] : nullptr;
}

void* FieldPtr(void* record, const Field* field) {
    return field ? static_cast<char*>(record) + field->offset : nullptr;
}

void CopyField(void* record, const Field* field, const void* value) {
    if (field && value)
        std::memcpy(FieldPtr(record, field), value, field->isInt ? 4 : 8);
}

double ClampUnit(double value) {
    if (value < 0)
        return 0.0;
    if (value > 1)
        return 1.0;
    return value;
}

#define INT_FIELD(Rec, name)                                                                       \
    Field {                                                                                        \
        offsetof(Rec, name), true                                                                  \
    }
#define REAL_FIELD(Rec, name)                                                                      \
    Field {                                                                                        \
        offsetof(Rec, name), false                                                                 \
    }

const Field kNodeFields[] = {REAL_FIELD(NodeRec, x),    REAL_FIELD(NodeRec, y),
                             INT_FIELD(NodeRec, fixZ),  INT_FIELD(NodeRec, fixRx),
                             INT_FIELD(NodeRec, fixRy), REAL_FIELD(NodeRec, skew)};
const Field kBeamFields[] = {INT_FIELD(BeamRec, start), INT_FIELD(BeamRec, end),
                             INT_FIELD(BeamRec, section), INT_FIELD(BeamRec, intervals),
                             REAL_FIELD(BeamRec, thickness)};
// The grid shows Iy before It.
const Field kMatFields[] = {REAL_FIELD(MatRec, E), REAL_FIELD(MatRec, G), REAL_FIELD(MatRec, Iy),
                            REAL_FIELD(MatRec, It), REAL_FIELD(MatRec, alphaT)};
const Field kHingeFields[] = {INT_FIELD(HingeRec, beam), REAL_FIELD(HingeRec, pos),
                              INT_FIELD(HingeRec, type)};
const Field kSpringFields[] = {INT_FIELD(SpringRec, from), INT_FIELD(SpringRec, to),
                               REAL_FIELD(SpringRec, kz), REAL_FIELD(SpringRec, kRx),
                               REAL_FIELD(SpringRec, kRy)};
const Field kNodeLoadFields[] = {INT_FIELD(NodeLoadRec, from), INT_FIELD(NodeLoadRec, to),
                                 REAL_FIELD(NodeLoadRec, Fz), REAL_FIELD(NodeLoadRec, Mx),
                                 REAL_FIELD(NodeLoadRec, My)};
const Field kBeamLoadFields[] = {INT_FIELD(BeamLoadRec, from),     INT_FIELD(BeamLoadRec, to),
                                 REAL_FIELD(BeamLoadRec, qStart),  REAL_FIELD(BeamLoadRec, qEnd),
                                 REAL_FIELD(BeamLoadRec, mtStart), REAL_FIELD(BeamLoadRec, mtEnd)};
const Field kPointLoadFields[] = {INT_FIELD(PointLoadRec, beam), REAL_FIELD(PointLoadRec, pos),
                                  REAL_FIELD(PointLoadRec, Q), REAL_FIELD(PointLoadRec, Mb),
                                  REAL_FIELD(PointLoadRec, Mt)};
const Field kZwvFields[] = {INT_FIELD(ZwvRec, from), INT_FIELD(ZwvRec, to), REAL_FIELD(ZwvRec, w),
                            REAL_FIELD(ZwvRec, rx), REAL_FIELD(ZwvRec, ry)};
const Field kTempLoadFields[] = {INT_FIELD(TempLoadRec, from), INT_FIELD(TempLoadRec, to),
                                 REAL_FIELD(TempLoadRec, dT)};
const Field kHingeLoadFields[] = {INT_FIELD(HingeLoadRec, hinge), INT_FIELD(HingeLoadRec, kind),
                                  REAL_FIELD(HingeLoadRec, value)};

#undef INT_FIELD
#undef REAL_FIELD

// The larger of result and |value|; a value that is not a finite number
// (possible from a file) is passed over, so that it cannot set the scale of
// every other load symbol.
double LargerAbs(double result, double value) {
    return std::isfinite(value) ? std::max(result, std::fabs(value)) : result;
}

// Largest absolute finite value of the given fields over the valid records.
template <class Table, class... Members> double MaxAbs(Table& table, Members... members) {
    double result = 0.0;
    const int n = table.ValidCount();
    for (int k = 0; k < n; ++k) {
        const auto* record = table.ValidRow(k);
        ((result = LargerAbs(result, record->*members)), ...);
    }
    return result;
}

} // namespace

// ---- range rule ------------------------------------------------------------

namespace {

// Stores "von" (col 0) or "bis" (col 1) of a record with a range; storing
// "von" raises a smaller "bis" to it. False for any other column.
template <class Rec> bool StoreRangeField(Rec* record, int col, const void* value) {
    if (col != 0 && col != 1)
        return false;
    std::memcpy(col == 0 ? &record->from : &record->to, value, 4);
    if (col == 0 && record->to < record->from)
        record->to = record->from;
    return true;
}

} // namespace

template <class Rec> bool RangeLoadTable<Rec>::StoreRange(int row, int col, const void* value) {
    return StoreRangeField(this->RowRecord(row), col, value);
}

template class RangeLoadTable<NodeLoadRec>;
template class RangeLoadTable<BeamLoadRec>;
template class RangeLoadTable<ZwvRec>;
template class RangeLoadTable<TempLoadRec>;

// ---- nodes -------------------------------------------------------------------

void* NodeClass::ValuePtr(int row, int col) {
    const Field* field = ColumnField(kNodeFields, col);
    return field ? FieldPtr(RowRecord(row), field) : nullptr;
}

void NodeClass::StoreValue(int row, int col, const void* value) {
    if (const Field* field = ColumnField(kNodeFields, col))
        CopyField(RowRecord(row), field, value);
}

bool NodeClass::NodeUnconnected(int number) {
    const int n = beams->ValidCount();
    for (int k = 0; k < n; ++k) {
        const BeamRec* beam = beams->ValidRow(k);
        if (beam->start == number || beam->end == number)
            return false;
    }
    return true;
}

// ---- beams -------------------------------------------------------------------

void* BeamClass::ValuePtr(int row, int col) {
    if (col == 5) {
        lengthScratch_ = 0.0;
        const BeamRec& beam = *RowRecord(row);
        if (BeamDefined(beam))
            lengthScratch_ = BeamLength(beam);
        return &lengthScratch_;
    }
    const Field* field = ColumnField(kBeamFields, col);
    return field ? FieldPtr(RowRecord(row), field) : nullptr;
}

void BeamClass::StoreValue(int row, int col, const void* value) {
    if (const Field* field = ColumnField(kBeamFields, col))
        CopyField(RowRecord(row), field, value);
}

void BeamClass::InitRow(int row) {
    if (row > 0) {
        const int32_t previous = RowRecord(row - 1)->section;
        RowRecord(row)->section = previous;
    }
    BeamRec* beam = RowRecord(row);
    if (beam->section == 0)
        beam->section = 1;
    if (beam->intervals == 0)
        beam->intervals = 5;
}

bool BeamClass::BeamDefined(const BeamRec& beam) {
    return beam.start != beam.end && nodes->IsRowUsed(RowOfNumber(beam.start)) &&
           nodes->IsRowUsed(RowOfNumber(beam.end));
}

bool BeamClass::BeamDefined(int beam) {
    const int row = RowOfNumber(beam);
    return IsRowUsed(row) ? BeamDefined(*RowRecord(row)) : false;
}

// The end points of a beam; a node that does not exist counts as (0, 0) and
// is never created by the look-up.
void BeamClass::EndPoints(const BeamRec& beam, Point2& a, Point2& b) {
    auto point = [this](int number) {
        if (number < 1 || number > nodes->Count())
            return Point2{0.0, 0.0};
        const NodeRec* node = nodes->RowRecord(number - 1);
        return Point2{node->x, node->y};
    };
    a = point(beam.start);
    b = point(beam.end);
}

double BeamClass::BeamLength(const BeamRec& beam) {
    Point2 a, b;
    EndPoints(beam, a, b);
    return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
}

double BeamClass::BeamLength(int beam) {
    return beam >= 1 && beam <= Count() ? BeamLength(*RowRecord(beam - 1)) : 0.0;
}

double BeamClass::BeamAngle(const BeamRec& beam) {
    Point2 a, b;
    EndPoints(beam, a, b);
    return DirectionAngle(b.x - a.x, b.y - a.y);
}

double BeamClass::BeamAngle(int beam) {
    return beam >= 1 && beam <= Count() ? BeamAngle(*RowRecord(beam - 1)) : 0.0;
}

Point2 BeamClass::PointAt(const BeamRec& beam, double t) {
    Point2 a, b;
    EndPoints(beam, a, b);
    return Point2{(1 - t) * a.x + t * b.x, (1 - t) * a.y + t * b.y};
}

Point2 BeamClass::PointAt(int beam, double t) {
    return beam >= 1 && beam <= Count() ? PointAt(*RowRecord(beam - 1), t) : Point2{0.0, 0.0};
}

// ---- cross-section types -------------------------------------------------------

void* MatClass::ValuePtr(int row, int col) {
    const Field* field = ColumnField(kMatFields, col);
    return field ? FieldPtr(RowRecord(row), field) : nullptr;
}

void MatClass::StoreValue(int row, int col, const void* value) {
    if (const Field* field = ColumnField(kMatFields, col))
        CopyField(RowRecord(row), field, value);
}

void MatClass::InitRow(int row) {
    if (row <= 0)
        return;
    const MatRec previous = *RowRecord(row - 1);
    MatRec* mat = RowRecord(row);
    mat->E = previous.E;
    mat->G = previous.G;
    mat->Iy = previous.Iy;
    mat->It = previous.It;
}

// ---- hinges --------------------------------------------------------------------

void* HingesClass::ValuePtr(int row, int col) {
    const Field* field = ColumnField(kHingeFields, col);
    return field ? FieldPtr(RowRecord(row), field) : nullptr;
}

void HingesClass::StoreValue(int row, int col, const void* value) {
    const Field* field = ColumnField(kHingeFields, col);
    if (!field)
        return;
    HingeRec* hinge = RowRecord(row);
    CopyField(hinge, field, value);
    if (col == 1)
        hinge->pos = ClampUnit(hinge->pos);
}

bool HingesClass::HingeOnValidBeam(const HingeRec& hinge) {
    const int row = RowOfNumber(hinge.beam);
    return beams->IsRowUsed(row) && beams->BeamDefined(*beams->RowRecord(row));
}

bool HingesClass::FindHinge(int beam, double pos, int type) {
    const int n = ValidCount();
    for (int k = 0; k < n; ++k) {
        const HingeRec* hinge = ValidRow(k);
        if (hinge->beam == beam && hinge->pos == pos && hinge->type == type)
            return true;
    }
    return false;
}

// ---- springs -----------------------------------------------------------------------

void* SpringClass::ValuePtr(int row, int col) {
    return FieldPtr(RowRecord(row), ColumnField(kSpringFields, col));
}

void SpringClass::StoreValue(int row, int col, const void* value) {
    if (!StoreRangeField(RowRecord(row), col, value))
        CopyField(RowRecord(row), ColumnField(kSpringFields, col), value);
}

// ---- load tables -----------------------------------------------------------------

void* NodeLoadClass::ValuePtr(int row, int col) {
    return FieldPtr(RowRecord(row), ColumnField(kNodeLoadFields, col));
}

void NodeLoadClass::StoreValue(int row, int col, const void* value) {
    if (!StoreRange(row, col, value))
        CopyField(RowRecord(row), ColumnField(kNodeLoadFields, col), value);
}

double NodeLoadClass::MaxAbsFz() {
    return MaxAbs(*this, &NodeLoadRec::Fz);
}

double NodeLoadClass::MaxAbsNodeMoment() {
    return MaxAbs(*this, &NodeLoadRec::Mx, &NodeLoadRec::My);
}

void* BeamLoadClass::ValuePtr(int row, int col) {
    return FieldPtr(RowRecord(row), ColumnField(kBeamLoadFields, col));
}

void BeamLoadClass::StoreValue(int row, int col, const void* value) {
    if (!StoreRange(row, col, value))
        CopyField(RowRecord(row), ColumnField(kBeamLoadFields, col), value);
}

double BeamLoadClass::MaxAbsLineLoad() {
    return MaxAbs(*this, &BeamLoadRec::qStart, &BeamLoadRec::qEnd, &BeamLoadRec::mtStart,
                  &BeamLoadRec::mtEnd);
}

void* PointLoadClass::ValuePtr(int row, int col) {
    return FieldPtr(RowRecord(row), ColumnField(kPointLoadFields, col));
}

void PointLoadClass::StoreValue(int row, int col, const void* value) {
    const Field* field = ColumnField(kPointLoadFields, col);
    if (!field)
        return;
    PointLoadRec* load = RowRecord(row);
    CopyField(load, field, value);
    if (col == 1)
        load->pos = ClampUnit(load->pos);
}

double PointLoadClass::MaxAbsQ() {
    return MaxAbs(*this, &PointLoadRec::Q);
}

double PointLoadClass::MaxAbsPointMoment() {
    return MaxAbs(*this, &PointLoadRec::Mb, &PointLoadRec::Mt);
}

void* ZwvClass::ValuePtr(int row, int col) {
    return FieldPtr(RowRecord(row), ColumnField(kZwvFields, col));
}

void ZwvClass::StoreValue(int row, int col, const void* value) {
    if (!StoreRange(row, col, value))
        CopyField(RowRecord(row), ColumnField(kZwvFields, col), value);
}

double ZwvClass::MaxAbsW() {
    return MaxAbs(*this, &ZwvRec::w);
}

double ZwvClass::MaxAbsRotation() {
    return MaxAbs(*this, &ZwvRec::rx, &ZwvRec::ry);
}

void* TempLoadClass::ValuePtr(int row, int col) {
    return FieldPtr(RowRecord(row), ColumnField(kTempLoadFields, col));
}

void TempLoadClass::StoreValue(int row, int col, const void* value) {
    if (!StoreRange(row, col, value))
        CopyField(RowRecord(row), ColumnField(kTempLoadFields, col), value);
}

void* HingeLoadClass::ValuePtr(int row, int col) {
    return FieldPtr(RowRecord(row), ColumnField(kHingeLoadFields, col));
}

void HingeLoadClass::StoreValue(int row, int col, const void* value) {
    CopyField(RowRecord(row), ColumnField(kHingeLoadFields, col), value);
}

double HingeLoadClass::MaxAbsHingeLoad(int kind, int hingeType) {
    double result = 0.0;
    const int n = ValidCount();
    for (int k = 0; k < n; ++k) {
        const HingeLoadRec* load = ValidRow(k);
        const int row = RowOfNumber(load->hinge);
        if (load->kind != kind || !hinges->IsRowUsed(row))
            continue;
        if (hinges->RowRecord(row)->type == hingeType)
            result = LargerAbs(result, load->value);
    }
    return result;
}

// ---- the input model ---------------------------------------------------------------

InputModel::InputModel()
    : systemTables{&nodes, &beams, &mats, &hinges}, loadTables{&nodeLoads, &beamLoads, &pointLoads,
                                                               &zwv,       &tempLoads, &hingeLoads},
      systemFileTables{&nodes, &beams, &mats, &hinges, &springs} {
    nodes.beams = &beams;
    beams.nodes = &nodes;
    hinges.beams = &beams;
    hingeLoads.hinges = &hinges;
}

void InputModel::SetObserver(DocumentObserver* observer) {
    for (InputContainer* table : systemFileTables)
        table->SetObserver(observer);
    for (InputContainer* table : loadTables)
        table->SetObserver(observer);
}

void InputModel::ResetSystem() {
    for (InputContainer* table : systemFileTables)
        table->Reset();
}

void InputModel::ResetLoadCase() {
    for (InputContainer* table : loadTables)
        table->Reset();
}

namespace {

template <class Rec> void CopyRecords(RecordTable<Rec>& from, RecordTable<Rec>& to) {
    to.Reset();
    for (int row = 0; row < from.Count(); ++row)
        *to.RowRecord(row) = *from.At(row);
    to.InvalidateIndex();
}

} // namespace

void InputModel::CopyLoadCaseFrom(InputModel& from) {
    CopyRecords(from.nodeLoads, nodeLoads);
    CopyRecords(from.beamLoads, beamLoads);
    CopyRecords(from.pointLoads, pointLoads);
    CopyRecords(from.zwv, zwv);
    CopyRecords(from.tempLoads, tempLoads);
    CopyRecords(from.hingeLoads, hingeLoads);
}

void InputModel::CopySystemFrom(InputModel& from) {
    CopyRecords(from.nodes, nodes);
    CopyRecords(from.beams, beams);
    CopyRecords(from.mats, mats);
    CopyRecords(from.hinges, hinges);
    CopyRecords(from.springs, springs);
}

double DirectionAngle(double dx, double dy) {
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length < 1e-8)
        return 0.0;
    const double angle = std::asin(std::clamp(dy / length, -1.0, 1.0));
    return dx >= 0 ? angle : M_PI - angle;
}

InputModel& Input() {
    static InputModel model;
    return model;
}
