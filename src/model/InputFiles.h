#pragma once

#include <span>
#include <string>

class InputContainer;
struct InputModel;

// Whole system files (four tables) and load-case files (six tables).
//
// Loading empties the tables concerned first, then reads every section; it
// returns false when the file cannot be opened or read (the tables are then
// left empty). Only regular files are read: a folder, a device or a named
// pipe "cannot be opened". The caller shows "Fehler beim öffnen der
// Systemdatei" or "Fehler beim öffnen der Lastdatei". With sectionsFound, a
// successful load also tells how many of the file's section keywords it found
// (0 for a load-case file opened as a system file, or for a binary file).
//
// Saving never destroys the previous file: the sections are written with
// WriteFileSafely (model/SafeFile.h), which also says what happens to
// symbolic and hard links, permissions and files the user may not write.
bool LoadSystemFile(InputModel& model, const std::string& path, int* sectionsFound = nullptr);
bool SaveSystemFile(InputModel& model, const std::string& path);
bool LoadLoadCaseFile(InputModel& model, const std::string& path, int* sectionsFound = nullptr);
bool SaveLoadCaseFile(InputModel& model, const std::string& path);

// Messages of the main window and the batch command when a file fails.
inline constexpr const char* kSystemFileError = "Fehler beim öffnen der Systemdatei";
inline constexpr const char* kLoadCaseFileError = "Fehler beim öffnen der Lastdatei";

// The warning about a file that holds none of the section keywords of its
// tables (fileKind "Die Systemdatei" or "Die Lastdatei"): it reads as an
// empty system or load case, but a swapped or wrong file should not pass
// unnoticed.
std::string MissingSectionsWarning(const char* fileKind, std::span<InputContainer* const> tables,
                                   const std::string& path);
