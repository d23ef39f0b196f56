// Writes the whole-run benchmark's data (bench/BenchData.h) for tools/bench and prints what it wrote.
//   qmt_benchgen OUT [SIZE_MB]
#include <cstdio>
#include <exception>
#include <string>

#include "bench/BenchData.h"

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    try {
        const TBenchData data = WriteBenchData(argv[1], argc > 2 ? std::stoul(argv[2]) : 1024);
        std::printf("files=%llu\ninstallation_MB=%.0f\nitems=%llu\ntouched_MB=%.0f\npacked_MB=%.1f\n",
                    (unsigned long long)data.files, double(data.installationBytes) / (1 << 20),
                    (unsigned long long)data.items, double(data.touchedBytes) / (1 << 20),
                    double(data.packedBytes) / (1 << 20));
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "qmt_benchgen: %s\n", e.what());
        return 1;
    }
}
