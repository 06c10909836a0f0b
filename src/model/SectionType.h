#pragma once

class MatClass;

// The values of a cross-section type, a row of the MATERIALS table.
struct SectionValues {
    double E = 0.0;
    double G = 0.0;
    double Iy = 0.0;
    double It = 0.0;
    double alphaT = 0.0;
};

// Appends a type the user entered with these values behind the table's last
// row, as the systems made from a description or a drawing get their types.
// Returns its number (from 1).
int AppendSectionType(MatClass& mats, const SectionValues& values);
