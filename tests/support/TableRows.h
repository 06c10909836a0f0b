#pragma once

#include "model/Tables.h"

// Makes row `row` of a table valid, as the grid does at the first keystroke,
// and returns its record for filling in. The reference holds until the table
// grows.
template <class Rec> Rec& ValidRecord(RecordTable<Rec>& table, int row) {
    Rec& record = *table.RowRecord(row);
    record.flag = kFlagUser;
    table.InvalidateIndex();
    return record;
}

// A new valid row at the end of a table.
template <class Rec> Rec& AppendValid(RecordTable<Rec>& table) {
    return ValidRecord(table, table.Count());
}
