#include "model/SectionFile.h"

#include "model/LineReader.h"
#include "model/Tables.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

void WriteLineEnd(std::FILE* file) {
    std::fputs("\r\n", file);
}

namespace {

// Editors on Windows like to put a byte order mark before UTF-8 text; in
// front of the first keyword it is no part of the line.
constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

const char* WithoutByteOrderMark(const char* line) {
    const size_t length = sizeof kUtf8ByteOrderMark - 1;
    return std::strncmp(line, kUtf8ByteOrderMark, length) == 0 ? line + length : line;
}

} // namespace

bool FindSection(std::FILE* file, const char* keyword, char* buffer) {
    const size_t length = std::strlen(keyword);
    for (int pass = 0; pass < 2; ++pass) {
        while (ReadLine(file, buffer, kLineBufferSize))
            if (std::strncmp(WithoutByteOrderMark(buffer), keyword, length) == 0)
                return true;
        if (pass == 0)
            std::rewind(file);
    }
    return false;
}

namespace {

// The leading integer of a line (leading blanks, optional sign, digits);
// false when the line does not start with one.
bool LeadingInteger(const char* line, long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtol(line, &end, 10);
    return end != line && errno == 0;
}

// The record number at the start of a line; a number beyond the range of
// long gives its limit. False when the line does not start with a number.
bool RecordNumber(const char* line, long& value) {
    char* end = nullptr;
    value = std::strtol(line, &end, 10);
    return end != line;
}

// The fields of a record line, read one after the other as the scanf formats
// "%d" and "%le" of the file format read them (leading blanks skipped), with
// two differences that keep a damaged file from reading as something else:
// an integer outside the range of its 32-bit field reads as 0 instead of
// wrapping around (so 4294967298 does not become 2), and a real out of range
// reads as infinity, which the checks then report. Reading stops at the first
// field that does not match; the fields behind it keep their values.
class RecordLine {
public:
    explicit RecordLine(const char* line) : rest_(line) {}

    RecordLine& Int(int32_t& field) {
        if (stopped_)
            return *this;
        char* end = nullptr;
        errno = 0;
        const long long value = std::strtoll(rest_, &end, 10);
        if (end == rest_) {
            stopped_ = true;
            return *this;
        }
        const bool inRange = errno == 0 && value >= INT32_MIN && value <= INT32_MAX;
        field = inRange ? static_cast<int32_t>(value) : 0;
        rest_ = end;
        return *this;
    }

    RecordLine& Real(double& field) {
        if (stopped_)
            return *this;
        char* end = nullptr;
        const double value = std::strtod(rest_, &end);
        if (end == rest_) {
            stopped_ = true;
            return *this;
        }
        field = value;
        rest_ = end;
        return *this;
    }

private:
    const char* rest_;
    bool stopped_ = false;
};

} // namespace

void InputContainer::WriteSection(std::FILE* file) {
    // A pending edit in the grid belongs to the table before it is counted.
    CommitGridEdit();
    std::fprintf(file, "%s", SectionKeyword());
    WriteLineEnd(file);
    const int n = ValidCount();
    std::fprintf(file, "%d", n);
    WriteLineEnd(file);
    for (int k = 0; k < n; ++k) {
        std::fprintf(file, "%5d", IndexOf(ValidRow(k)) + 1);
        WriteRecord(file, IndexOf(ValidRow(k)));
        WriteLineEnd(file);
    }
    WriteLineEnd(file);
}

bool InputContainer::ReadSection(std::FILE* file) {
    char line[kLineBufferSize];
    Reset();
    const bool found = FindSection(file, SectionKeyword(), line);
    if (found) {
        long n = 0;
        if (ReadLine(file, line, kLineBufferSize) && !LeadingInteger(line, n))
            n = 0;
        // The count is trusted, but the end of the file ends the section.
        for (long i = 0; i < n && ReadLine(file, line, kLineBufferSize); ++i) {
            // A line without a number is skipped (a swallowed keyword line); a
            // number out of range is skipped too, but remembered for the checks.
            long number = 0;
            if (!RecordNumber(line, number))
                continue;
            if (number < 1 || number > kMaxRecordNumber) {
                if (!rejectedNumber_)
                    rejectedNumber_ = number;
                continue;
            }
            const int row = static_cast<int>(number) - 1;
            EnsureRows(row + 1);
            ReadRecord(line, row);
            static_cast<RecordHead*>(RowRecord(row))->flag = kFlagFile;
        }
    }
    InvalidateIndex();
    Refresh();
    return found;
}

// ---- record lines ------------------------------------------------------------

void NodeClass::WriteRecord(std::FILE* file, int row) {
    const NodeRec* r = RowRecord(row);
    std::fprintf(file, " %.14le %.14le %d %d %d %.14le", r->x, r->y, r->fixZ, r->fixRx, r->fixRy,
                 r->skew);
}

void NodeClass::ReadRecord(const char* line, int row) {
    NodeRec* r = RowRecord(row);
    int32_t number;
    RecordLine(line)
        .Int(number)
        .Real(r->x)
        .Real(r->y)
        .Int(r->fixZ)
        .Int(r->fixRx)
        .Int(r->fixRy)
        .Real(r->skew);
}

void BeamClass::WriteRecord(std::FILE* file, int row) {
    const BeamRec* r = RowRecord(row);
    std::fprintf(file, " %d %d %d %le %d", r->start, r->end, r->section, r->thickness,
                 r->intervals);
}

void BeamClass::ReadRecord(const char* line, int row) {
    BeamRec* r = RowRecord(row);
    int32_t number;
    RecordLine(line)
        .Int(number)
        .Int(r->start)
        .Int(r->end)
        .Int(r->section)
        .Real(r->thickness)
        .Int(r->intervals);
}

void MatClass::WriteRecord(std::FILE* file, int row) {
    const MatRec* r = RowRecord(row);
    std::fprintf(file, " %.14le %.14le %.14le %.14le %.14le", r->E, r->G, r->Iy, r->It, r->alphaT);
}

void MatClass::ReadRecord(const char* line, int row) {
    MatRec* r = RowRecord(row);
    int32_t number;
    RecordLine(line).Int(number).Real(r->E).Real(r->G).Real(r->Iy).Real(r->It).Real(r->alphaT);
}

void HingesClass::WriteRecord(std::FILE* file, int row) {
    const HingeRec* r = RowRecord(row);
    std::fprintf(file, " %d %.14le %d", r->beam, r->pos, r->type);
}

void HingesClass::ReadRecord(const char* line, int row) {
    HingeRec* r = RowRecord(row);
    int32_t number;
    RecordLine(line).Int(number).Int(r->beam).Real(r->pos).Int(r->type);
}

// Nothing at all without springs: the file is the one a system without
// springs always gave, and older programs read it.
void SpringClass::WriteSection(std::FILE* file) {
    CommitGridEdit();
    if (ValidCount() > 0)
        InputContainer::WriteSection(file);
}

void SpringClass::WriteRecord(std::FILE* file, int row) {
    const SpringRec* r = RowRecord(row);
    std::fprintf(file, " %d %d %.14le %.14le %.14le", r->from, r->to, r->kz, r->kRx, r->kRy);
}

void SpringClass::ReadRecord(const char* line, int row) {
    SpringRec* r = RowRecord(row);
    int32_t number;
    RecordLine(line).Int(number).Int(r->from).Int(r->to).Real(r->kz).Real(r->kRx).Real(r->kRy);
}

void NodeLoadClass::WriteRecord(std::FILE* file, int row) {
    const NodeLoadRec* r = RowRecord(row);
    std::fprintf(file, " %5d %5d %.14le %.14le %.14le", r->from, r->to, r->Fz, r->Mx, r->My);
}

void NodeLoadClass::ReadRecord(const char* line, int row) {
    NodeLoadRec* r = RowRecord(row);
    int32_t number;
    RecordLine(line).Int(number).Int(r->from).Int(r->to).Real(r->Fz).Real(r->Mx).Real(r->My);
}

void BeamLoadClass::WriteRecord(std::FILE* file, int row) {
    const BeamLoadRec* r = RowRecord(row);
    std::fprintf(file, " %d %d %.14le %.14le %.14le %.14le", r->from, r->to, r->qStart, r->qEnd,
                 r->mtStart, r->mtEnd);
}

void BeamLoadClass::ReadRecord(const char* line, int row) {
    BeamLoadRec* r = RowRecord(row);
    int32_t number;
    RecordLine(line)
        .Int(number)
        .Int(r->from)
        .Int(r->to)
        .Real(r->qStart)
        .Real(r->qEnd)
        .Real(r->mtStart)
        .Real(r->mtEnd);
}

void PointLoadClass::WriteRecord(std::FILE* file, int row) {
    const PointLoadRec* r = RowRecord(row);
    std::fprintf(file, " %d %.14le %.14le %.14le %.14le", r->beam, r->pos, r->Q, r->Mb, r->Mt);
}

void PointLoadClass::ReadRecord(const char* line, int row) {
    PointLoadRec* r = RowRecord(row);
    int32_t number;
    RecordLine(line).Int(number).Int(r->beam).Real(r->pos).Real(r->Q).Real(r->Mb).Real(r->Mt);
}

void ZwvClass::WriteRecord(std::FILE* file, int row) {
    const ZwvRec* r = RowRecord(row);
    std::fprintf(file, " %d %d %.14le %.14le %.14le", r->from, r->to, r->w, r->rx, r->ry);
}

void ZwvClass::ReadRecord(const char* line, int row) {
    ZwvRec* r = RowRecord(row);
    int32_t number;
    RecordLine(line).Int(number).Int(r->from).Int(r->to).Real(r->w).Real(r->rx).Real(r->ry);
}

void TempLoadClass::WriteRecord(std::FILE* file, int row) {
    const TempLoadRec* r = RowRecord(row);
    std::fprintf(file, " %d %d %.14le", r->from, r->to, r->dT);
}

void TempLoadClass::ReadRecord(const char* line, int row) {
    TempLoadRec* r = RowRecord(row);
    int32_t number;
    RecordLine(line).Int(number).Int(r->from).Int(r->to).Real(r->dT);
}

void HingeLoadClass::WriteRecord(std::FILE* file, int row) {
    const HingeLoadRec* r = RowRecord(row);
    std::fprintf(file, " %5d %5d %.14le", r->hinge, r->kind, r->value);
}

void HingeLoadClass::ReadRecord(const char* line, int row) {
    HingeLoadRec* r = RowRecord(row);
    int32_t number;
    RecordLine(line).Int(number).Int(r->hinge).Int(r->kind).Real(r->value);
}
