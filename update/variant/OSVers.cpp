#include "update/variant/OSVers.h"

#include "base/memory/ZLock.h"

namespace {

constexpr std::uint32_t Platform9x = 1;
constexpr std::uint32_t PlatformNt = 2;
constexpr std::uint32_t Platform3 = 3;
constexpr std::uint8_t Workstation = 1;
constexpr std::uint8_t Server = 3;
constexpr std::uint16_t HomeServerSuite = 0x8000;
constexpr unsigned ArchitectureX64 = 9;

// The codes whose systems tell the extended fields and may have a product-information entry.
constexpr int FirstExtendedCode = 103;
constexpr int LastExtendedCode = 198;

struct SharedOSVersion {
    TInterlockedCounter users;
    TZLock lock;
    TOSVersionRecord record;
};

// Never destroyed: users that are themselves static may go after other statics are gone.
SharedOSVersion &Shared()
{
    static SharedOSVersion *shared = new SharedOSVersion;
    return *shared;
}

// The record as a user sees it. While a user lives the count is not 0, so nobody fills or clears
// the record; the user's constructor took the lock after the fill, which makes the fill visible.
const TOSVersionRecord &Record() { return Shared().record; }

std::int16_t Code9x(std::uint32_t minor, std::uint16_t build)
{
    if (minor <= 9) {
        if (build == 950)
            return 1;
        if (build > 950 && build <= 1080)
            return 2;
        if (build > 1080)
            return 3;
        return 0;
    }
    if (minor == 10) {
        if (build == 1998)
            return 4;
        if (build > 1998 && build < 2183)
            return 5;
        if (build >= 2183)
            return 6;
        return 0;
    }
    return minor == 90 ? 7 : 0;
}

std::int16_t CodeNt(const TOSVersionRecord &record)
{
    const TWindowsVersionInfo &v = record.Version;
    const bool workstation = v.ProductType == Workstation;
    switch (v.Major) {
    case 3: return v.Minor == 51 ? 101 : 0;
    case 4: return v.Minor == 0 ? 102 : 0;
    case 5:
        if (v.Minor == 0)
            return v.ProductType == Server ? 104 : 103;
        if (v.Minor == 1)
            return 105;
        if (v.Minor == 2) {
            if (workstation) {
                if ((v.SuiteMask & HomeServerSuite) != 0)
                    return 107;
                return record.ProcessorArchitecture == ArchitectureX64 ? 106 : 105;
            }
            return record.ServerR2 ? 110 : 109;
        }
        return 0;
    case 6:
        if (v.Minor == 0)
            return workstation ? 111 : 112;
        if (v.Minor == 1)
            return workstation ? 120 : 113;
        if (v.Minor == 2 || v.Minor == 3)
            return workstation ? 130 : 131;
        return 0;
    case 10: return v.Minor == 0 ? 10 : 0;
    default: return 0;
    }
}

}  // namespace

void FillOSVersion(IOSVersionQuery &query, TOSVersionRecord &record)
{
    record = TOSVersionRecord();
    TWindowsVersionInfo version;
    if (!query.Version(version, false))
        return;
    record.HasData = true;
    record.Version = version;
    record.ProcessorArchitecture = query.ProcessorArchitecture();
    record.ServerR2 = query.ServerR2();
    const int code = OSVersionCode(record);
    if (code < FirstExtendedCode || code > LastExtendedCode)
        return;
    // When the extended form fails, the plain version stands.
    if (query.Version(version, true))
        record.Version = version;
    std::uint32_t type = 0;
    if (query.ProductInfo(6, 0, 0, 0, type))
        record.ProductInfo = type;
}

std::int16_t OSVersionCode(const TOSVersionRecord &record)
{
    if (!record.HasData)
        return 0;
    const TWindowsVersionInfo &v = record.Version;
    switch (v.PlatformId) {
    case Platform9x: return v.Major == 4 ? Code9x(v.Minor, static_cast<std::uint16_t>(v.Build)) : 0;
    case PlatformNt: return CodeNt(record);
    case Platform3: return 201;
    default: return 0;
    }
}

int OSVersionFamily(int code)
{
    if (code >= 4 && code <= 7)
        return 1;
    if (code == 102)
        return 2;
    if (code == 103 || code == 104)
        return 3;
    if (code >= 105 && code <= 107)
        return 4;
    // 108 and 135 are families no version gives a code of.
    if (code >= 108 && code <= 110)
        return 5;
    if (code == 111)
        return 6;
    if (code == 112 || code == 113)
        return 7;
    if (code == 120)
        return 8;
    if (code == 130 || code == 131)
        return 9;
    if (code == 135)
        return 10;
    return 0;
}

int ServicePackNumberOf(const AnsiString &text)
{
    for (char c : text)
        if (c >= '0' && c <= '9')
            return c - '0';
    return 0;
}

TOSVers::TOSVers(IOSVersionQuery &query)
{
    SharedOSVersion &shared = Shared();
    // The fill and the count go together, so a second first user waits for the fill and then only
    // counts.
    TZLockHold hold(shared.lock);
    if (shared.users.Value() == 0)
        FillOSVersion(query, shared.record);
    shared.users.Increment();
}

TOSVers::~TOSVers()
{
    SharedOSVersion &shared = Shared();
    TZLockHold hold(shared.lock);
    if (shared.users.Decrement() == 0)
        shared.record = TOSVersionRecord();
}

std::int16_t TOSVers::VersionCode() const { return OSVersionCode(Record()); }
int TOSVers::Family() const { return OSVersionFamily(VersionCode()); }
bool TOSVers::IsKnown() const { return Family() != 0; }

std::uint16_t TOSVers::ServicePackMajor() const { return Record().Version.ServicePackMajor; }
std::uint16_t TOSVers::ServicePackMinor() const { return Record().Version.ServicePackMinor; }
std::uint16_t TOSVers::SuiteMask() const { return Record().Version.SuiteMask; }
std::uint8_t TOSVers::ProductType() const { return Record().Version.ProductType; }
std::uint32_t TOSVers::ProductInfo() const { return Record().ProductInfo; }
AnsiString TOSVers::ServicePack() const { return Record().Version.ServicePack; }
int TOSVers::ServicePackNumber() const { return ServicePackNumberOf(ServicePack()); }

int TOSVers::Users() { return Shared().users.Value(); }
