// The main of a fuzz target built for AFL++ (tools/fuzz): runs the one input in the file named, or
// on standard input; a finding aborts as under the CTest driver. With --seeds DIR it writes the
// target's seed inputs there as files, AFL++'s starting queue.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzTarget.h"

using Bytes = std::vector<std::uint8_t>;

[[noreturn]] void FuzzFinding(const char *what)
{
    std::fprintf(stderr, "fuzz: finding: %s\n", what);
    std::abort();
}

int main(int argc, char **argv)
{
    if (argc > 2 && std::strcmp(argv[1], "--seeds") == 0) {
        int i = 0;
        for (const Bytes &seed : FuzzSeedInputs()) {
            std::ofstream out(std::string(argv[2]) + "/seed" + std::to_string(i++), std::ios::binary);
            out.write(reinterpret_cast<const char *>(seed.data()), static_cast<std::streamsize>(seed.size()));
            if (!out) {
                std::fprintf(stderr, "fuzz: cannot write the seeds to %s\n", argv[2]);
                return 2;
            }
        }
        return 0;
    }
    Bytes input;
    if (argc > 1) {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "fuzz: cannot read %s\n", argv[1]);
            return 2;
        }
        input.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else {
        input.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    }
    LLVMFuzzerTestOneInput(input.data(), input.size());
    return 0;
}
