#pragma once
// The new content of a file, written beside it and put in its place in one step, so that a save that
// fails or is cut short leaves the file as it was.
//
// The bytes go to a temporary file in the target's folder, open to nobody else and marked to be
// deleted when its handle closes: while one save writes, another save of the same file is refused and
// told so, and a save that fails, or a program that ends before it commits (killed included), leaves
// no temporary file behind. Commit writes the content through to the disk and renames it over the
// target through its own handle, so that no other opener can come between the two.
#include <cstddef>
#include <string>

#include "framework/runtime/Classes.h"

class TReplacingFileStream : public TFileStream {
public:
    // The temporary file is `temporary`, by default TemporaryName(target). Throws EFOpenError naming
    // the target when the temporary file cannot be made, saying so when another save holds it.
    explicit TReplacingFileStream(const AnsiString &target, const AnsiString &temporary = AnsiString());

    // Puts what was written in the target's place, the old target's content gone in the same step.
    // Throws EWriteError when the content does not reach the disk whole, EFOpenError when the target
    // cannot be replaced (a folder, read-only, or open in a program that does not share its deletion);
    // the target then stays as it was and the temporary file goes with the stream. Once committed,
    // a second call does nothing.
    void Commit();

    static AnsiString TemporaryName(const AnsiString &target) { return target + "$"; }

private:
    AnsiString target_;
    // The target's full path, fixed as the stream is made: a relative name is not taken from
    // whatever the current folder is at the commit.
    std::wstring fullTarget_;
    bool committed_ = false;
};

// The whole content of `target` saved through a TReplacingFileStream. 0 when saved; otherwise the
// system's code of what failed, the target then as it was.
unsigned long SaveFileReplacing(const AnsiString &target, const void *data, std::size_t size,
                                const AnsiString &temporary = AnsiString());
