// Feeds arbitrary bytes to the section reader as a system file and as a
// load-case file. Whatever is read must stay within bounds, must pass through
// the plausibility checks without growing a table, and must write a file that
// reads back to the same text.

#include "model/Checks.h"
#include "model/LineReader.h"
#include "model/SectionFile.h"
#include "model/Tables.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void ReadAll(InputModel& model, const void* data, size_t size) {
    std::FILE* file = fmemopen(const_cast<void*>(data), size, "rb");
    if (!file)
        std::abort();
    for (InputContainer* table : model.systemTables)
        table->ReadSection(file);
    for (InputContainer* table : model.loadTables)
        table->ReadSection(file);
    std::fclose(file);
}

std::string WriteAll(InputModel& model) {
    char* text = nullptr;
    size_t size = 0;
    std::FILE* file = open_memstream(&text, &size);
    if (!file)
        std::abort();
    for (InputContainer* table : model.systemTables)
        table->WriteSection(file);
    for (InputContainer* table : model.loadTables)
        table->WriteSection(file);
    std::fclose(file);
    std::string result(text, size);
    std::free(text);
    return result;
}

// Rows read are marked as read, and no table is larger than the highest
// record number the reader accepts.
void ExpectSane(InputContainer& table) {
    if (table.Count() > kMaxRecordNumber)
        std::abort();
    for (int row = 0; row < table.Count(); ++row) {
        const int32_t flag = static_cast<RecordHead*>(table.At(row))->flag;
        if (flag != 0 && flag != kFlagFile)
            std::abort();
    }
}

void CheckWithoutGrowing(InputModel& model) {
    int counts[10];
    InputContainer* tables[10];
    for (int i = 0; i < 4; ++i)
        tables[i] = model.systemTables[i];
    for (int i = 0; i < 6; ++i)
        tables[4 + i] = model.loadTables[i];
    for (int i = 0; i < 10; ++i)
        counts[i] = tables[i]->Count();
    CheckSystem(model);
    CheckLoads(model);
    for (int i = 0; i < 10; ++i)
        if (tables[i]->Count() != counts[i])
            std::abort();
}

// Under the address sanitizer every realloc copies, so a table grown record by
// record to a million rows takes minutes here (a tenth of a second in a normal
// build). Inputs with such record numbers are left out; the limit itself is
// covered by the unit tests.
constexpr long kLargestFuzzedNumber = 2000;

bool HasLargeRecordNumber(const uint8_t* data, size_t size) {
    std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file)
        std::abort();
    char line[kLineBufferSize];
    bool large = false;
    while (!large && ReadLine(file, line)) {
        const long number = std::strtol(line, nullptr, 10);
        large = number > kLargestFuzzedNumber && number <= kMaxRecordNumber;
    }
    std::fclose(file);
    return large;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || HasLargeRecordNumber(data, size))
        return 0;
    InputModel model;
    ReadAll(model, data, size);
    for (InputContainer* table : model.systemTables)
        ExpectSane(*table);
    for (InputContainer* table : model.loadTables)
        ExpectSane(*table);
    CheckWithoutGrowing(model);

    const std::string written = WriteAll(model);
    InputModel again;
    ReadAll(again, written.data(), written.size());
    if (WriteAll(again) != written)
        std::abort();
    return 0;
}
