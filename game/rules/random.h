// The rodent generator: the classic MSVC linear congruential generator, our
// own copy so that one seed gives the same burrows on every platform.
#pragma once

#include <cstdint>

void seed_random(std::uint32_t seed);
// 0..32767
int draw_random();
