#pragma once

#include "settings/TreeClass.h"

#include <memory>

// Builds the settings tree over the setting variables. Every leaf takes the
// current value of its variable as its default, so this is built while the
// variables still hold their built-in values, before any settings file is read.
std::unique_ptr<TreeClass> BuildSettingsTree();

// The program's settings tree, built on the first call; the program calls it
// once at start-up.
TreeClass& SettingsTree();
