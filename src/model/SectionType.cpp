#include "model/SectionType.h"

#include "model/Tables.h"

int AppendSectionType(MatClass& mats, const SectionValues& values) {
    const int row = mats.Count();
    mats.EnsureRows(row + 1);
    MatRec* rec = mats.RowRecord(row);
    rec->flag = kFlagUser;
    rec->E = values.E;
    rec->G = values.G;
    rec->Iy = values.Iy;
    rec->It = values.It;
    rec->alphaT = values.alphaT;
    return row + 1;
}
