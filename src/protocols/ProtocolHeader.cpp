#include "model/Format.h"
#include "protocols/ProtocolText.h"
#include "protocols/Protocols.h"

#include <clocale>
#include <filesystem>
#include <locale.h>

std::string RuleLine(char c, int count) {
    return std::string(count, c) + "\n";
}

char SupportLetter(int code) {
    static const char letters[] = {'N', 'J'};
    return code >= 0 && code < 2 ? letters[code] : '?';
}

char HingeTypeLetter(int type) {
    static const char letters[] = {'N', 'Q', 'M'};
    return type >= 0 && type < 3 ? letters[type] : '?';
}

std::string FileNamePart(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

namespace {

std::tm LocalNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

// Formats with strftime in the named locale ("" = the user's), without
// touching the program's global locale. An unknown locale falls back to "C".
std::string FormatTime(const char* format, const std::tm& time, const std::string& localeName) {
    locale_t loc = newlocale(LC_TIME_MASK, localeName.c_str(), static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0))
        loc = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
    char buffer[128];
    size_t length = strftime_l(buffer, sizeof buffer, format, &time, loc);
    freelocale(loc);
    return std::string(buffer, length);
}

} // namespace

void WriteHeader(std::FILE* file, const ProtocolContext& context) {
    std::tm now = context.clock ? context.clock() : LocalNow();
    // %X and %x are the locale's default time and short date formats.
    Put(file, Format("%s  %s\n", FormatTime("%X", now, context.timeLocale).c_str(),
                     FormatTime("%x", now, context.timeLocale).c_str()));
    Put(file, RuleLine('=', 82));
    // The whole path: the same file name in two folders must not look alike.
    Put(file, Format("System  : %s\n", context.systemFile.c_str()));
    Put(file, Format("Lastfall: %s\n", context.loadCaseFile.c_str()));
    Put(file, RuleLine('=', 82));
    Put(file, "\n");
}
