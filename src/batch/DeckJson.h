#pragma once

#include "model/DeckGenerator.h"

#include <string>

// The deck description as a JSON file (docs/deck-generator.md). Unknown keys,
// missing required keys, values of the wrong kind and values that make no
// grillage (CheckDeck) are refused with a German message naming the key.
bool ParseDeckJson(const std::string& text, DeckDescription& deck, std::string& error);

// Reads and parses a description file; the message of a file that cannot be
// read names it.
bool LoadDeckJson(const std::string& path, DeckDescription& deck, std::string& error);

inline constexpr const char* kDeckFileError = "Fehler beim öffnen der Trägerrostbeschreibung";
