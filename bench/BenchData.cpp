#include "bench/BenchData.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "storage/config/rdwr_cfg.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/PatchWriter.h"
#include "tests/support/PayloadBuilder.h"
#include "tests/support/PeImageWriter.h"
#include "update/patch/DbbRekey.h"
#include "update/payload/Checksum.h"
#include "update/payload/Lzma86.h"
#include "update/payload/PartNfo.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

constexpr uint32_t kTimeStamp = 0x5F000000;

// Text-like content: runs copied from a small vocabulary, so that it packs as real files do.
class Content {
public:
    Content() : words_(PatternBytes(1 << 16, 2)) {}
    Bytes Make(size_t size, uint32_t seed) const
    {
        Bytes out(size);
        uint32_t x = seed * 2654435761u + 12345;
        for (size_t i = 0; i < size;) {
            x = x * 1103515245 + 12345;
            const size_t at = (x >> 8) % (words_.size() - 64), n = std::min<size_t>(4 + (x >> 24) % 60, size - i);
            std::copy_n(words_.begin() + long(at), n, out.begin() + long(i));
            i += n;
        }
        return out;
    }

private:
    Bytes words_;
};

void Write(const fs::path &file, const Bytes &bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

fs::path Local(const fs::path &root, const std::string &name)
{
    std::string p = name;
    std::replace(p.begin(), p.end(), '\\', '/');
    return root / p;
}

uint32_t Sum(const Bytes &b) { return AddChecksum(0, b.data(), b.size()); }

void SetSizeSum(std::array<uint32_t, 12> &rec, int at, const Bytes &b)
{
    rec[size_t(at)] = uint32_t(b.size());
    rec[size_t(at) + 1] = Sum(b);
}

// An existing file changed in about 5% of its bytes: short runs overwritten, a few inserted.
Bytes Changed(const Bytes &old, const Content &content, uint32_t seed)
{
    Bytes fresh;
    fresh.reserve(old.size() + old.size() / 20);
    std::mt19937 rng(seed);
    const Bytes noise = content.Make(4096, seed ^ 0x5555);
    size_t i = 0;
    while (i < old.size()) {
        const size_t keep = std::min<size_t>(2000 + rng() % 4000, old.size() - i);
        fresh.insert(fresh.end(), old.begin() + long(i), old.begin() + long(i + keep));
        i += keep;
        const size_t n = 100 + rng() % 200;
        const size_t from = rng() % (noise.size() - n);
        fresh.insert(fresh.end(), noise.begin() + long(from), noise.begin() + long(from + n));
        if (rng() % 2)
            i += std::min(n, old.size() - i);  // overwritten rather than inserted
    }
    return fresh;
}

struct Job {
    TestPayloadItem item;
    Bytes plain;  // what the item's stream unpacks to
};

}  // namespace

TBenchData WriteBenchData(const fs::path &out, uint64_t sizeMB)
{
    const uint64_t total = sizeMB << 20;
    const fs::path inst = out / "inst";
    fs::remove_all(out);
    const Content content;
    std::mt19937_64 rng(2026);

    // The product's executable and configuration, as an installation of 3.1.1.2 has them.
    TestPeImage exe;
    exe.TimeStamp = kTimeStamp;
    Write(inst / "EXE" / "qmt.exe", WritePeImage(exe));
    s_Cfg cfg;
    const std::string version = "5-3.1.1.2";
    for (size_t i = 0; i < version.size(); ++i)
        cfg.SetByte(uint32_t(CfgField::VersionText + i), uint8_t(version[i]));
    Bytes storedCfg = StoreCfg(cfg, "CFG.QMT");
    storedCfg.resize(1375 + 16);
    Write(inst / "Cfg" / "CFG.QMT", storedCfg);

    std::vector<Job> jobs;
    uint64_t written = 0, touched = 0, fileCount = 0;
    uint32_t seed = 1;

    // Databases: a sixth of the installation, 4 MB each; every seventh is patched (records appended to
    // one of its logical files).
    const uint64_t dbBytes = total / 6;
    for (int n = 0; written < dbBytes; ++n) {
        const std::string name = "Bases\\Set" + std::to_string(n / 6) + "\\base" + std::to_string(n % 6 + 1);
        const uint32_t key = uint32_t(DbbKeyForFile(name));
        testdata::CompoundFileBuilder db = testdata::CompoundFileBuilder::Created(3);
        for (uint32_t f = 0; f < 3; ++f) {
            std::vector<testdata::Bytes> records;
            for (int r = 0; r < 70; ++r)
                records.push_back(content.Make(20000, ++seed));
            db.Commit(f, records);
        }
        const Bytes oldScrambled = db.Build(key);
        Write(Local(inst, name), oldScrambled);
        written += oldScrambled.size();
        ++fileCount;
        if (n % 7 != 0)
            continue;
        testdata::CompoundFileBuilder after = db;
        std::vector<testdata::Bytes> added;
        for (int r = 0; r < 10; ++r)
            added.push_back(content.Make(20000, ++seed));
        after.Commit(uint32_t(n % 3), added);
        const Bytes oldPlain = db.Build(0), newPlain = after.Build(0), newScrambled = after.Build(key);
        Job job;
        job.item.Type = DBBDIFF;
        job.item.Name = name;
        job.plain = WritePatch(oldPlain, newPlain, {.minMatch = 16});
        SetSizeSum(job.item.Rec, PN_OldSize, oldScrambled);
        SetSizeSum(job.item.Rec, PN_PlainDbSize, oldPlain);
        SetSizeSum(job.item.Rec, PN_UnpackedSize, job.plain);
        SetSizeSum(job.item.Rec, PN_PatchedDbSize, newPlain);
        SetSizeSum(job.item.Rec, PN_NewSize, newScrambled);
        jobs.push_back(std::move(job));
        touched += oldScrambled.size();
    }

    // Ordinary files, 8 KB to 1.5 MB (evenly on a log scale), in product folders; every 40th is
    // patched, every 40th (another) replaced.
    const char *folders[] = {"Rus\\Help", "Rus\\Forms", "Projects\\Demo", "Norms\\Base",   "Norms\\Extra",
                             "Prices",    "Templates",  "Reports",        "Rus\\Pictures", "Sys"};
    std::uniform_real_distribution<double> logSize(std::log(8192.0), std::log(1.5 * (1 << 20)));
    for (int n = 0; written < total * 29 / 30; ++n) {
        const std::string name = std::string(folders[(n / 7) % 10]) + "\\Part" + std::to_string(n / 100) + "\\file" +
                                 std::to_string(n) + ".dat";
        const Bytes old = content.Make(size_t(std::exp(logSize(rng))), ++seed);
        Write(Local(inst, name), old);
        written += old.size();
        ++fileCount;
        Job job;
        job.item.Name = name;
        if (n % 40 == 7) {
            const Bytes fresh = Changed(old, content, ++seed);
            job.item.Type = BINDIFF;
            job.plain = WritePatch(old, fresh, {.minMatch = 16});
            SetSizeSum(job.item.Rec, PN_OldSize, old);
            SetSizeSum(job.item.Rec, PN_UnpackedSize, job.plain);
            SetSizeSum(job.item.Rec, PN_NewSize, fresh);
        } else if (n % 40 == 27) {
            job.item.Type = ADDREPL;
            job.plain = content.Make(old.size(), ++seed);
            SetSizeSum(job.item.Rec, PN_NewSize, job.plain);
            SetSizeSum(job.item.Rec, PN_OldSize, job.plain);
        } else {
            continue;
        }
        touched += old.size();
        jobs.push_back(std::move(job));
    }

    // New files, some in new folders, until a tenth of the installation is touched.
    for (int n = 0; touched < total / 10; ++n) {
        Job job;
        job.item.Type = ADDREPL;
        job.item.Name = (n % 2 ? "Rus\\Help\\New\\" : "Norms\\Added" + std::to_string(n % 5) + "\\") +
                        std::string("new") + std::to_string(n) + ".dat";
        job.plain = content.Make(size_t(std::exp(logSize(rng))), ++seed);
        SetSizeSum(job.item.Rec, PN_NewSize, job.plain);
        SetSizeSum(job.item.Rec, PN_OldSize, job.plain);
        touched += job.plain.size();
        jobs.push_back(std::move(job));
    }

    // Packing at level 9 is the slow part: the items are packed on several threads.
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::vector<std::thread> threads;
    const unsigned threadCount = std::max(1u, std::min(4u, std::thread::hardware_concurrency() / 2));
    for (unsigned t = 0; t < threadCount; ++t)
        threads.emplace_back([&] {
            for (size_t i; (i = next++) < jobs.size();)
                if (!Lzma86Encode(jobs[i].plain.data(), jobs[i].plain.size(), jobs[i].item.Data, TLzmaProgress{}))
                    failed = true;
        });
    for (std::thread &t : threads)
        t.join();
    if (failed)
        throw std::runtime_error("an item of the update could not be packed");

    TestPayloadBuilder payload;
    payload.BaseVersion = "3.1.1.2";
    payload.NewVersion = "3.1.1.5";
    payload.Builds = {kTimeStamp};
    payload.TempBytes = uint32_t(std::min<uint64_t>(touched * 3, 0xFFFFFFFF));
    payload.Growth = uint32_t(total / 20);
    payload.AddSection();
    uint64_t packed = 0;
    for (const Job &job : jobs) {
        packed += job.item.Data.size();
        payload.AddRaw(job.item);
    }
    Write(inst / "qmtupdt.exe", payload.Build().Bytes);
    return {fileCount, written, jobs.size(), touched, packed};
}
