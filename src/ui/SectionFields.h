#pragma once

#include <QString>

class QTableWidget;

// The five values of a cross-section type (E, G, Iy, It and the coefficient
// of thermal expansion) as five columns of a table row, the same in every
// dialog that asks for cross sections.
inline constexpr int kSectionFieldCount = 5;

// The column captions, "Temp.ausd.koeff." last.
const char* SectionFieldCaption(int field);

// Captions of the five columns from column first on. All columns share the
// table's width, the last value column at least as wide as its caption (the
// longest), so that no caption is cut off.
void SetUpSectionColumns(QTableWidget& table, int first);

// Values as the dialogs show them (ten significant digits), and as typed: a
// decimal comma counts as a point.
QString SectionNumber(double value);
bool ParseSectionNumber(QString text, double& value);

void SetSectionRow(QTableWidget& table, int row, int first,
                   const double (&values)[kSectionFieldCount]);
// Reads the five numbers of a row into fields; on a cell that is not a
// number: false, with its field index and text.
bool ReadSectionRow(const QTableWidget& table, int row, int first,
                    double* const (&fields)[kSectionFieldCount], int& badField, QString& badText);
