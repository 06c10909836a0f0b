#include "model/References.h"

#include "model/Tables.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

enum class Role { Single, RangeStart, RangeEnd };

// One field that holds a record number: in the records of owner, at offset,
// naming a record of target.
struct ReferenceField {
    InputContainer* owner;
    std::size_t offset;
    const InputContainer* target;
    Role role;
};

std::vector<ReferenceField> Fields(InputModel& m) {
    return {
        {&m.beams, offsetof(BeamRec, start), &m.nodes, Role::Single},
        {&m.beams, offsetof(BeamRec, end), &m.nodes, Role::Single},
        {&m.beams, offsetof(BeamRec, section), &m.mats, Role::Single},
        {&m.hinges, offsetof(HingeRec, beam), &m.beams, Role::Single},
        {&m.springs, offsetof(SpringRec, from), &m.nodes, Role::RangeStart},
        {&m.springs, offsetof(SpringRec, to), &m.nodes, Role::RangeEnd},
        {&m.nodeLoads, offsetof(NodeLoadRec, from), &m.nodes, Role::RangeStart},
        {&m.nodeLoads, offsetof(NodeLoadRec, to), &m.nodes, Role::RangeEnd},
        {&m.zwv, offsetof(ZwvRec, from), &m.nodes, Role::RangeStart},
        {&m.zwv, offsetof(ZwvRec, to), &m.nodes, Role::RangeEnd},
        {&m.beamLoads, offsetof(BeamLoadRec, from), &m.beams, Role::RangeStart},
        {&m.beamLoads, offsetof(BeamLoadRec, to), &m.beams, Role::RangeEnd},
        {&m.tempLoads, offsetof(TempLoadRec, from), &m.beams, Role::RangeStart},
        {&m.tempLoads, offsetof(TempLoadRec, to), &m.beams, Role::RangeEnd},
        {&m.pointLoads, offsetof(PointLoadRec, beam), &m.beams, Role::Single},
        {&m.hingeLoads, offsetof(HingeLoadRec, hinge), &m.hinges, Role::Single},
    };
}

int32_t Read(const InputContainer& table, int row, std::size_t offset) {
    int32_t number;
    std::memcpy(&number, static_cast<const char*>(table.At(row)) + offset, sizeof number);
    return number;
}

void Write(InputContainer& table, int row, std::size_t offset, int32_t number) {
    std::memcpy(static_cast<char*>(table.At(row)) + offset, &number, sizeof number);
}

// The number a reference holds after the shift; deleted is the number of
// the deleted record (shift -1). A range that named only the deleted record
// names none.
int32_t Shifted(int32_t number, int32_t deleted, int shift, Role role, int32_t otherEnd) {
    if (shift > 0) // the largest number names no record and stays
        return number >= deleted && number < INT32_MAX ? number + 1 : number;
    if (number > deleted)
        return number - 1;
    if (number < deleted)
        return number;
    switch (role) {
    case Role::Single:
        return 0;
    case Role::RangeStart:
        return otherEnd == deleted ? 0 : number;
    case Role::RangeEnd:
        return otherEnd == deleted ? 0 : number - 1;
    }
    return number;
}

} // namespace

bool RefersToRowsFrom(InputModel& model, const InputContainer& table, int row) {
    const int32_t first = row + 1;
    for (const ReferenceField& field : Fields(model)) {
        if (field.target != &table)
            continue;
        for (int r = 0; r < field.owner->Count(); ++r)
            if (field.owner->IsRowUsed(r) && Read(*field.owner, r, field.offset) >= first)
                return true;
    }
    return false;
}

void ShiftReferences(InputModel& model, const InputContainer& table, int row, int shift,
                     const std::function<void(InputContainer&, int)>& beforeChange) {
    const int32_t number = row + 1;
    const std::vector<ReferenceField> fields = Fields(model);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const ReferenceField& field = fields[i];
        if (field.target != &table || field.role == Role::RangeEnd)
            continue;
        // A range's two ends are shifted together: each needs the other's
        // old value.
        const ReferenceField* end = field.role == Role::RangeStart ? &fields[i + 1] : nullptr;
        InputContainer& owner = *field.owner;
        for (int r = 0; r < owner.Count(); ++r) {
            if (!owner.IsRowUsed(r))
                continue;
            const int32_t start = Read(owner, r, field.offset);
            const int32_t stop = end ? Read(owner, r, end->offset) : start;
            const int32_t newStart = Shifted(start, number, shift, field.role, stop);
            const int32_t newStop =
                end ? Shifted(stop, number, shift, Role::RangeEnd, start) : stop;
            if (newStart == start && newStop == stop)
                continue;
            if (beforeChange)
                beforeChange(owner, r);
            Write(owner, r, field.offset, newStart);
            if (end)
                Write(owner, r, end->offset, newStop);
        }
        owner.InvalidateIndex();
    }
}
