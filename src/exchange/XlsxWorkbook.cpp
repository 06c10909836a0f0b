#include "exchange/XlsxWorkbook.h"

#include "exchange/ResultTables.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>
#include <xlsxwriter.h>

namespace {

constexpr double kMinimumWidth = 8.0;

// The characters of a UTF-8 text (continuation bytes do not count).
double TextWidth(std::string_view text) {
    double count = 0;
    for (unsigned char c : text)
        count += (c & 0xC0) != 0x80;
    return count;
}

// A number shows with at most 11 significant digits in a cell of the
// "General" format.
double NumberWidth(double value) {
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 11);
    return static_cast<double>(result.ptr - text);
}

} // namespace

XlsxSheet::XlsxSheet(lxw_worksheet* sheet, lxw_format* header,
                     const std::vector<const char*>& columns)
    : sheet_(sheet), widths_(columns.size(), kMinimumWidth) {
    for (size_t c = 0; c < columns.size(); ++c) {
        worksheet_write_string(sheet_, 0, static_cast<lxw_col_t>(c), columns[c], header);
        // Bold letters are wider.
        Widen(static_cast<int>(c), 1.2 * TextWidth(columns[c]));
    }
    worksheet_freeze_panes(sheet_, 1, 0);
}

void XlsxSheet::Widen(int column, double width) {
    if (column >= 0 && column < static_cast<int>(widths_.size()) && width + 1 > widths_[column])
        widths_[column] = width + 1;
}

void XlsxSheet::Number(long row, int column, double value) {
    worksheet_write_number(sheet_, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                           value, nullptr);
    Widen(column, NumberWidth(value));
}

void XlsxSheet::Text(long row, int column, const char* text) {
    worksheet_write_string(sheet_, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                           text, nullptr);
    Widen(column, TextWidth(text));
}

void XlsxSheet::FitColumns() {
    for (size_t c = 0; c < widths_.size(); ++c)
        worksheet_set_column(sheet_, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             widths_[c], nullptr);
}

XlsxWorkbook::XlsxWorkbook() = default;

XlsxWorkbook::~XlsxWorkbook() {
    if (workbook_) {
        std::string ignored;
        Close(ignored);
    }
    RemoveFolder();
}

bool XlsxWorkbook::Open() {
    std::error_code error;
    std::string pattern =
        (std::filesystem::temp_directory_path(error) / "balkor-xlsx.XXXXXX").string();
    if (error || !::mkdtemp(pattern.data()))
        return false;
    folder_ = pattern;
    const std::string file = folder_ + "/workbook.xlsx";
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = folder_.data();
    workbook_ = workbook_new_opt(file.c_str(), &options);
    if (!workbook_)
        return false;
    header_ = workbook_add_format(workbook_);
    format_set_bold(header_);
    return true;
}

XlsxSheet XlsxWorkbook::AddSheet(const char* name, const std::vector<const char*>& columns) {
    return XlsxSheet(workbook_add_worksheet(workbook_, name), header_, columns);
}

bool XlsxWorkbook::Close(std::string& bytes) {
    const lxw_error result = workbook_close(workbook_);
    workbook_ = nullptr;
    if (result != LXW_NO_ERROR)
        return false;
    std::ifstream in(folder_ + "/workbook.xlsx", std::ios::binary);
    if (!in.is_open())
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

void XlsxWorkbook::RemoveFolder() {
    if (folder_.empty())
        return;
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
    folder_.clear();
}
