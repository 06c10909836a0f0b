#pragma once

#include <memory>
#include <string>
#include <vector>

// A small interface of ours over libxlsxwriter: a workbook made in a private
// temporary folder (the library writes files only), sheets filled row by row
// in order with constant memory, handed over as bytes so that the caller can
// write them safely.

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

class XlsxSheet {
public:
    XlsxSheet(lxw_worksheet* sheet, lxw_format* header, const std::vector<const char*>& columns);

    // Rows count from 1 below the header row 0; a row's cells are written
    // left to right, rows in ascending order.
    void Number(long row, int column, double value);
    void Text(long row, int column, const char* text);
    // Sets every column to the width of its widest entry.
    void FitColumns();

private:
    void Widen(int column, double width);

    lxw_worksheet* sheet_;
    std::vector<double> widths_;
};

class XlsxWorkbook {
public:
    XlsxWorkbook();
    ~XlsxWorkbook();
    XlsxWorkbook(const XlsxWorkbook&) = delete;
    XlsxWorkbook& operator=(const XlsxWorkbook&) = delete;

    // False when the temporary folder or the workbook cannot be made.
    bool Open();
    // A sheet with its header row, bold and frozen.
    XlsxSheet AddSheet(const char* name, const std::vector<const char*>& columns);
    // Finishes the workbook; false when the library reports an error.
    bool Close(std::string& bytes);

private:
    void RemoveFolder();

    std::string folder_;
    lxw_workbook* workbook_ = nullptr;
    lxw_format* header_ = nullptr;
};
