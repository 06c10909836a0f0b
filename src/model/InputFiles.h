#pragma once

#include <string>

struct InputModel;

// Whole system files (four tables) and load-case files (six tables).
//
// Loading empties the tables concerned first, then reads every section; it
// returns false when the file cannot be opened or read (the tables are then
// left empty). The caller shows "Fehler beim öffnen der Systemdatei" or
// "Fehler beim öffnen der Lastdatei".
//
// Saving never destroys the previous file: the sections go into a new file
// beside the target, every write, the flush and the close are checked, and
// only then does the new file replace the target (a symbolic link is followed
// and the target's permissions are kept). On any failure the old file stays as
// it was, the partial new file is removed, and false is returned; so it does
// when the target is a file the user may not write.
bool LoadSystemFile(InputModel& model, const std::string& path);
bool SaveSystemFile(InputModel& model, const std::string& path);
bool LoadLoadCaseFile(InputModel& model, const std::string& path);
bool SaveLoadCaseFile(InputModel& model, const std::string& path);

// Messages of the main window and the batch command when a file fails.
inline constexpr const char* kSystemFileError = "Fehler beim öffnen der Systemdatei";
inline constexpr const char* kLoadCaseFileError = "Fehler beim öffnen der Lastdatei";
