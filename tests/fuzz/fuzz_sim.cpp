// The libFuzzer target: any bytes are a script for plinkfield-sim, played
// line by line through its interpreter with the rules checked after every
// command (referee.cpp). Built by the `fuzz` preset; the same entry point
// replays kept inputs in the ordinary test suite (replay_main.cpp).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "tests/fuzz/referee.h"

namespace {
void print_counts() {
    std::fprintf(stderr, "plinkfield-fuzz: %lld inputs, %lld lines, %lld commands\n", referee_counts.inputs,
                 referee_counts.lines, referee_counts.commands);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit(print_counts);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    referee_play(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
