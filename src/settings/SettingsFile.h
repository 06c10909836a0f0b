#pragma once

#include "settings/TreeClass.h"

#include <string>
#include <string_view>

// The settings file: one "key = value" line per setting that differs from its
// default, written as UTF-8.

// Applies a settings file to the tree: every line whose key (before the first
// "=", trimmed) names a leaf sets that leaf from the value (after the first
// "=", trimmed); later lines win. Lines are read with the shared line reader
// (999 characters, tabs expanded). A file that is not valid UTF-8 is read as
// Windows-1252, so files written on Windows still apply. Returns false, and
// changes nothing, when there is no readable regular file at path.
bool ReadSettings(TreeClass& root, const std::string& path);

// Applies one line of a settings file (already UTF-8) to the tree.
void ApplySettingLine(TreeClass& root, std::string_view line);

// Writes the changed settings of the tree to path with WriteFileSafely
// (model/SafeFile.h): a full disk or a failing write leaves the previous file
// as it was. A missing folder is created. Returns false when the file could
// not be written.
bool WriteSettingsFile(const TreeClass& root, const std::string& path);
