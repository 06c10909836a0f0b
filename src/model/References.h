#pragma once

#include <functional>

class InputContainer;
struct InputModel;

// The references between the records of one system and load case: a beam's
// nodes and cross-section type, a hinge's beam, the node ranges of the
// springs, the node and beam ranges and the beams and hinges of the loads. Every reference is a
// record number (row + 1); only valid records count.

// True when a valid record refers to a row of table from row on, that is to
// one that inserting or deleting row moves.
bool RefersToRowsFrom(InputModel& model, const InputContainer& table, int row);

// Follows the records of table when a row was inserted at row (shift +1) or
// the row at row was deleted (shift -1). A single reference to the deleted
// record becomes 0 (which the checks report); a range loses it: its start
// then names the next record, its end the previous one. beforeChange is
// told about each record before it changes.
void ShiftReferences(InputModel& model, const InputContainer& table, int row, int shift,
                     const std::function<void(InputContainer&, int)>& beforeChange);
