// Feeds arbitrary bytes to the reader of project files. Whatever is read
// must stay within bounds and must write a file that reads back to the same
// project and the same text.

#include "project/ProjectFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool Read(const void* data, size_t size, ProjectModel& project) {
    std::FILE* file = fmemopen(const_cast<void*>(data), size, "rb");
    if (!file)
        std::abort();
    std::string error;
    const bool read = ReadProjectFile(file, "/fuzz/p.bpj", project, error);
    std::fclose(file);
    if (!read && error.empty())
        std::abort();
    return read;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    ProjectModel project;
    if (!Read(data, size, project))
        return 0;
    const std::string text = ProjectFileText(project, "/fuzz/p.bpj");
    ProjectModel again;
    if (!Read(text.data(), text.size(), again))
        std::abort();
    if (ProjectFileText(again, "/fuzz/p.bpj") != text)
        std::abort();
    return 0;
}
