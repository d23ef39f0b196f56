// A small stand-in for libFuzzer (gcc has none): runs the target over random stacked mutations of
// its seed inputs and of the inputs that grew from them, for a bounded time.
//
//   fuzz_NAME [seconds] [random seed]   replay the kept corpus, then mutate for that long (default 60 s)
//   fuzz_NAME FILE                      run one saved input again
//
// The kept corpus is tests/fuzz/corpus/NAME/ (below QMT_FUZZ_CORPUS_ROOT, NAME from the program's
// name): inputs that tools/fuzz found to reach new paths, each run once under the sanitizers before
// the mutation starts from them and the seeds.
//
// When a run dies (sanitizer report, abort, crash) the input is saved as fuzz-finding-NAME.bin in
// the working folder so that it can be replayed.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/fuzz/FuzzTarget.h"

using Bytes = std::vector<std::uint8_t>;

extern "C" void __sanitizer_set_death_callback(void (*callback)(void)) __attribute__((weak));

namespace {

const Bytes *current = nullptr;
char findingPath[256] = "fuzz-finding.bin";

void SaveCurrent()
{
    if (current == nullptr)
        return;
    const int fd = open(findingPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        if (!current->empty() && write(fd, current->data(), current->size()) < 0) {}
        close(fd);
    }
    static const char note[] = "fuzz: the failing input is saved as ";
    if (write(2, note, sizeof note - 1) < 0 || write(2, findingPath, std::strlen(findingPath)) < 0 ||
        write(2, "\n", 1) < 0) {}
    current = nullptr;
}

void OnSignal(int signal)
{
    SaveCurrent();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

class Mutator {
public:
    explicit Mutator(unsigned seed) : rng_(seed) {}

    std::size_t Below(std::size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }

    void Mutate(Bytes &b)
    {
        const std::size_t rounds = 1 + Below(6);
        for (std::size_t r = 0; r < rounds; ++r)
            MutateOnce(b);
    }

private:
    std::uint32_t Interesting32(const Bytes &b)
    {
        static const std::uint32_t values[] = {
            0,    1,    2,     3,      4,      7,      8,          12,         16,         17,         18,        0x7F,
            0x80, 0xFF, 0x100, 0x7FFF, 0x8000, 0xFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFF0};
        switch (Below(4)) {
        case 0: return static_cast<std::uint32_t>(b.size() - Below(b.size() + 1));
        case 1: return static_cast<std::uint32_t>(-static_cast<std::int32_t>(Below(64)));
        default: return values[Below(std::size(values))];
        }
    }

    void Put32(Bytes &b, std::size_t at, std::uint32_t v)
    {
        for (std::size_t i = 0; i < 4 && at + i < b.size(); ++i)
            b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }

    std::uint32_t Get32(const Bytes &b, std::size_t at)
    {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < 4 && at + i < b.size(); ++i)
            v |= std::uint32_t(b[at + i]) << (8 * i);
        return v;
    }

    void MutateOnce(Bytes &b)
    {
        const std::size_t at = Below(b.size());
        switch (Below(9)) {
        case 0:
            if (!b.empty())
                b[at] ^= static_cast<std::uint8_t>(1u << Below(8));
            break;
        case 1:
            if (!b.empty())
                b[at] = static_cast<std::uint8_t>(rng_());
            break;
        case 2: Put32(b, at, Interesting32(b)); break;
        case 3: Put32(b, at, Get32(b, at) + static_cast<std::uint32_t>(static_cast<int>(Below(33)) - 16)); break;
        case 4: {  // insert random bytes
            const std::size_t n = 1 + Below(16);
            Bytes add(n);
            for (auto &x : add)
                x = static_cast<std::uint8_t>(rng_());
            b.insert(b.begin() + static_cast<std::ptrdiff_t>(std::min(at, b.size())), add.begin(), add.end());
            break;
        }
        case 5: {  // erase a range
            const std::size_t n = std::min(b.size() - at, 1 + Below(32));
            b.erase(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + n));
            break;
        }
        case 6: b.resize(Below(b.size() + 1)); break;
        case 7: {  // copy a chunk over another place
            const std::size_t from = Below(b.size()), n = std::min(b.size() - std::max(from, at), 1 + Below(64));
            if (n > 0 && n <= b.size())
                std::memmove(b.data() + at, b.data() + from, n);
            break;
        }
        default: {  // duplicate a chunk
            const std::size_t n = std::min(b.size() - at, 1 + Below(64));
            const Bytes chunk(b.begin() + static_cast<std::ptrdiff_t>(at),
                              b.begin() + static_cast<std::ptrdiff_t>(at + n));
            b.insert(b.begin() + static_cast<std::ptrdiff_t>(Below(b.size() + 1)), chunk.begin(), chunk.end());
            break;
        }
        }
        if (b.size() > maxSize_)
            b.resize(maxSize_);
    }

    std::mt19937 rng_;
    const std::size_t maxSize_ = 1 << 16;
};

Bytes ReadFile(const std::filesystem::path &path, bool &ok)
{
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The files of the kept corpus in name order (none when the folder does not exist).
std::vector<std::filesystem::path> CorpusFiles(const std::string &program)
{
    std::vector<std::filesystem::path> files;
#ifdef QMT_FUZZ_CORPUS_ROOT
    const std::string target = program.rfind("fuzz_", 0) == 0 ? program.substr(5) : program;
    std::error_code error;
    for (const auto &entry :
         std::filesystem::directory_iterator(std::filesystem::path(QMT_FUZZ_CORPUS_ROOT) / target, error))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
#endif
    return files;
}

int RunOne(const Bytes &input)
{
    current = &input;
    LLVMFuzzerTestOneInput(input.data(), input.size());
    current = nullptr;
    return 0;
}

}  // namespace

[[noreturn]] void FuzzFinding(const char *what)
{
    std::fprintf(stderr, "fuzz: finding: %s\n", what);
    std::abort();
}

int main(int argc, char **argv)
{
    std::string name = argv[0];
    name = name.substr(name.find_last_of('/') + 1);
    std::snprintf(findingPath, sizeof findingPath, "fuzz-finding-%s.bin", name.c_str());
    for (int s : {SIGABRT, SIGSEGV, SIGBUS, SIGILL, SIGFPE})
        std::signal(s, OnSignal);
    if (__sanitizer_set_death_callback != nullptr)
        __sanitizer_set_death_callback(SaveCurrent);

    if (argc > 1 && std::strspn(argv[1], "0123456789") != std::strlen(argv[1])) {
        bool ok = false;
        Bytes input = ReadFile(argv[1], ok);
        if (!ok) {
            std::fprintf(stderr, "fuzz: cannot read %s\n", argv[1]);
            return 2;
        }
        return RunOne(input);
    }
    const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10))
                                   : static_cast<unsigned>(std::random_device{}());
    std::printf("fuzz: %s for %.0f s, random seed %u\n", name.c_str(), seconds, seed);

    std::vector<Bytes> corpus = FuzzSeedInputs();
    const std::vector<std::filesystem::path> kept = CorpusFiles(name);
    for (const std::filesystem::path &path : kept) {
        bool ok = false;
        corpus.push_back(ReadFile(path, ok));
        if (!ok) {
            std::fprintf(stderr, "fuzz: cannot read %s\n", path.c_str());
            return 2;
        }
    }
    if (!kept.empty())
        std::printf("fuzz: replaying %zu kept inputs\n", kept.size());
    if (corpus.empty())
        corpus.emplace_back();
    const std::size_t seeds = corpus.size();
    for (const Bytes &input : corpus)
        RunOne(input);

    Mutator mutator(seed);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    std::uint64_t runs = 0;
    while (std::chrono::steady_clock::now() < end) {
        for (int batch = 0; batch < 64; ++batch, ++runs) {
            Bytes input = corpus[mutator.Below(corpus.size())];
            mutator.Mutate(input);
            RunOne(input);
            // Keep a few descendants so mutations can stack over generations; seeds stay.
            if (mutator.Below(16) == 0) {
                if (corpus.size() < seeds + 256)
                    corpus.push_back(std::move(input));
                else
                    corpus[seeds + mutator.Below(256)] = std::move(input);
            }
        }
    }
    std::printf("fuzz: %s: %llu runs, no finding\n", name.c_str(), static_cast<unsigned long long>(runs));
    return 0;
}
