#pragma once
// File-operation gates for tests that make the engine's file changes fail as the system would, so the
// engine takes its own failure path: nothing is killed. Each is installed for its lifetime and records
// every operation it is asked about, the failed ones included.
#include <cstdint>
#include <functional>
#include <vector>

#include "update/apply/FileOps.h"

// System error codes the gates fail with.
constexpr uint32_t SysErrorAccessDenied = 5;  // ERROR_ACCESS_DENIED
constexpr uint32_t SysErrorDiskFull = 112;    // ERROR_DISK_FULL

class FailFileOps : public TFileOpGate {
public:
    // Returns the error an operation fails with, 0 to let it be made. The number is 1-based.
    using Rule = std::function<uint32_t(uint64_t number, TFileOp kind, const AnsiString &name)>;

    explicit FailFileOps(Rule rule) : rule_(std::move(rule)), previous_(SetFileOpGate(this)) {}
    ~FailFileOps() override { SetFileOpGate(previous_); }
    FailFileOps(const FailFileOps &) = delete;
    FailFileOps &operator=(const FailFileOps &) = delete;

    uint32_t Before(TFileOp kind, const AnsiString &name) override
    {
        kinds_.push_back(kind);
        names_.push_back(name);
        const uint32_t error = rule_(kinds_.size(), kind, name);
        if (error != 0)
            failed_.push_back(kinds_.size());
        return error;
    }

    const std::vector<TFileOp> &Kinds() const { return kinds_; }
    const std::vector<AnsiString> &Names() const { return names_; }
    // Numbers (1-based) of the operations that were failed.
    const std::vector<uint64_t> &Failed() const { return failed_; }

private:
    Rule rule_;
    std::vector<TFileOp> kinds_;
    std::vector<AnsiString> names_;
    std::vector<uint64_t> failed_;
    TFileOpGate *previous_;
};

// The N-th operation fails with a full disk; every other one is made.
class FailAtFileOp : public FailFileOps {
public:
    explicit FailAtFileOp(uint64_t failAt)
        : FailFileOps([failAt](uint64_t n, TFileOp, const AnsiString &) { return n == failAt ? SysErrorDiskFull : 0; })
    {}
};

// What Windows refuses and Wine allows: a file created over an existing hidden, system or read-only
// file fails with "access denied". Returns that error for such an operation, else 0. (A deletion of
// such a file is made: Windows deletes hidden and system files as they are, and Wine refuses to delete
// a read-only one itself.)
uint32_t RefusedAsOnWindows(TFileOp kind, const AnsiString &name);

class RefuseCreateOverProtectedFiles : public FailFileOps {
public:
    RefuseCreateOverProtectedFiles()
        : FailFileOps([](uint64_t, TFileOp kind, const AnsiString &name) { return RefusedAsOnWindows(kind, name); })
    {}
};
