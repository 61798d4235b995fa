// Reads commands from standard input, one per line, and writes what
// happens as one JSON object per line.
#include <iostream>
#include <string>

#include "sim/sim.h"

int main() {
    std::ios::sync_with_stdio(false);
    start_simulation();
    std::string line, out;
    long long line_number = 0;
    while (read_line(std::cin, line)) {
        ++line_number;
        out.clear();
        LineResult r = run_line(line, line_number, out);
        std::cout << out << std::flush;
        if (r == LineResult::close) break;
    }
    return 0;
}
