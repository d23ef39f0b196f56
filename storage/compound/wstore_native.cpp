// A build without the simple file has no file system for compound files: opening raises a clear
// error; tests install the store system they need.
#include "base/messages/zmsg.h"
#include "storage/compound/wstore.h"

namespace {

class NoStoreSystem : public WStoreSystem {
public:
    std::unique_ptr<WStore> Open(const AnsiString &name, int) override
    {
        throw ZError("Файл " + name + " недоступен: в этой сборке нет файловой системы для составных файлов", 0);
    }
    std::unique_ptr<WStore> CreateHeld(const AnsiString &name) override { return Open(name, 3); }
    void Delete(const AnsiString &) override {}
    void Replace(const AnsiString &target, const AnsiString &) override
    {
        throw ZError("Файл " + target + " недоступен: в этой сборке нет файловой системы для составных файлов", 0);
    }
};

}  // namespace

WStoreSystem &PlatformStoreSystem()
{
    static NoStoreSystem none;
    return none;
}
