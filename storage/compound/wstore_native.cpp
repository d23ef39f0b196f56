// A build without the simple file has no file system for compound files: opening raises a clear
// error; tests install the store system they need.
#include "base/messages/zmsg.h"
#include "storage/compound/wstore.h"

namespace {

[[noreturn]] void RaiseUnavailable(const AnsiString &name)
{
    throw ZError("Файл " + name + " недоступен: в этой сборке нет файловой системы для составных файлов", 0);
}

class NoStoreSystem : public WStoreSystem {
public:
    std::unique_ptr<WStore> Open(const AnsiString &name, int) override { RaiseUnavailable(name); }
    std::unique_ptr<WStore> CreateHeld(const AnsiString &name) override { RaiseUnavailable(name); }
    void Delete(const AnsiString &) override {}
    void Replace(const AnsiString &target, const AnsiString &) override { RaiseUnavailable(target); }
    std::unique_ptr<WWriterLock> OpenWriterLock(const AnsiString &name) override { RaiseUnavailable(name); }
};

}  // namespace

WStoreSystem &PlatformStoreSystem()
{
    static NoStoreSystem none;
    return none;
}
