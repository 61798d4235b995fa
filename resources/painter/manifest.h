// The manifest of the game's tables, written beside the painted files.
#pragma once

#include <string>

// The best score's plate, which is no bitmap of the catalogue: the builds
// that keep the best games draw it (its file and twin, in the out folder).
inline constexpr const char* BEST_PLATE_FILE = "native/best_plate.bmp";
inline constexpr const char* BEST_PLATE_TWIN_PNG = "native/best_plate@2x.png";
inline constexpr const char* BEST_PLATE_TWIN_WEBP = "native/best_plate@2x.webp";

// False when the file could not be written.
bool write_manifest(const std::string& path);
