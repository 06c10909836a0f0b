#pragma once

#include "project/Project.h"

#include <cstdio>
#include <string>

// The project file (.bpj): a text file in the style of the system and
// load-case files, of four sections, each a keyword line, a count line and
// that many record lines "%5d" with the number (1 … count) and the fields,
// then an empty line; lines end in CR LF; texts stand in double quotes (a
// quote inside doubled) in the Western European 8-bit code page
// (Windows-1252) or, where a text has characters it lacks, the line in UTF-8.
//
//   SYSTEM        1 record:  "FILE.bsy"
//   LOADCASES     a record per load case:   "NAME" "FILE.bld"
//   COMBINATIONS  a record per combination: "NAME" "1.35*1+1.5*2"
//   ENVELOPES     a record per envelope:    "NAME" "1:1.35/1+(2|3):1.5/0"
//
// and, only for a project with traffic (a vehicle), two more:
//
//   TRAFFIC       1 record: "VEHICLE" STEP BOTH(0/1) "GROUP"
//   LANES         a record per lane:        "x1,y1;x2,y2;..."
//
// where an envelope may hold the traffic group as "GROUP:SUP/INF".
// File names are relative to the project file's folder (or absolute).

// Messages of a project file that cannot be read or written.
inline constexpr const char* kProjectFileError = "Fehler beim öffnen der Projektdatei";
inline constexpr const char* kProjectWriteError = "Fehler beim Schreiben der Projektdatei";

// Reads a project file; the file names come back resolved against the
// project file's folder. Unknown sections and lines between the sections
// are skipped, a byte order mark, LF, CR LF or CR line ends are accepted.
// False with a German message naming the line for a file that cannot be
// opened, lacks the system or every load case, or holds a bad record.
bool LoadProjectFile(const std::string& path, ProjectModel& project, std::string& error);
// The same from an open file; path names it in messages and is the base of
// its relative file names.
bool ReadProjectFile(std::FILE* file, const std::string& path, ProjectModel& project,
                     std::string& error);

// The text of the project file at path (file names made relative to its folder).
std::string ProjectFileText(const ProjectModel& project, const std::string& path);

// Writes the project file with the safe write of every file; false when it fails.
bool SaveProjectFile(const ProjectModel& project, const std::string& path);
