// The manifest of the game's tables, written beside the painted files.
#pragma once

#include <string>

// False when the file could not be written.
bool write_manifest(const std::string& path);
