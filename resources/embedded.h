// The files built into the native programs and the page: the very files the
// Windows programs carry in their resource sections, and beside them what a
// platform without those resources needs (the window's icon, the refusal
// beep, the labels' font, the pictures' twins for screens with more pixels),
// found by kind and identifier. The painter writes
// the one table (embedded_game.cpp, embedded_ambient.cpp); the programs get
// it from plinkfield_game_assets and plinkfield_ambient_assets.
#pragma once

#include <cstddef>
#include <span>

// A twin is a bitmap painted again at twice its size, as lossless WebP.
enum class ResourceKind { bitmap, wave, icon, font, twin };

struct EmbeddedResource {
    ResourceKind kind;
    int id;
    const unsigned char* data;  // the whole file: BMP, RIFF WAVE, ICO, TrueType or WebP
    std::size_t size;
};

// Ambient's icon group is named "A" in its Windows script; here it has id 0.
inline constexpr int AMBIENT_ICON_ID = 0;

// The resource, or nullptr when the program carries none of that kind and
// identifier. Bitmaps by catalogue identifier, sounds by WAVE identifier,
// the game's cursor as icon 32; the rest by the identifiers of
// game/model/layout.h.
const EmbeddedResource* find_game_resource(ResourceKind kind, int id);
const EmbeddedResource* find_ambient_resource(ResourceKind kind, int id);

// Every resource of the program, in a fixed order.
std::span<const EmbeddedResource> game_resources();
std::span<const EmbeddedResource> ambient_resources();
