#pragma once
// A file-operation gate for tests: counts the engine's file changes and, when told, ends the engine at
// the N-th one as if the program had been killed there. Installed for its lifetime.
#include <cstdint>
#include <vector>

#include "update/apply/FileOps.h"

class KillAtFileOp : public TFileOpGate {
public:
    // 0: never kill, only count.
    explicit KillAtFileOp(uint64_t killAt = 0) : killAt_(killAt), previous_(SetFileOpGate(this)) {}
    ~KillAtFileOp() override { SetFileOpGate(previous_); }
    KillAtFileOp(const KillAtFileOp &) = delete;
    KillAtFileOp &operator=(const KillAtFileOp &) = delete;

    uint32_t Before(TFileOp kind, const AnsiString &name) override
    {
        ++count_;
        if (count_ == killAt_)
            throw TEngineKilled{count_, kind, name};
        passed_.push_back(kind);
        names_.push_back(name);
        return 0;
    }

    // Operations let through so far.
    uint64_t Passed() const { return passed_.size(); }
    const std::vector<TFileOp> &PassedKinds() const { return passed_; }
    // What each of them touched (for a journal line, the line).
    const std::vector<AnsiString> &PassedNames() const { return names_; }
    // Number (1-based) of the last operation of this kind let through; 0 for none.
    uint64_t LastOf(TFileOp kind) const
    {
        for (size_t i = passed_.size(); i > 0; --i)
            if (passed_[i - 1] == kind)
                return i;
        return 0;
    }

private:
    uint64_t killAt_;
    uint64_t count_ = 0;
    std::vector<TFileOp> passed_;
    std::vector<AnsiString> names_;
    TFileOpGate *previous_;
};
