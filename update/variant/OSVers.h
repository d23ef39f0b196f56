#pragma once
// TOSVers: the Windows version, asked once per process and classified into a version code and a
// coarse family number. Every TOSVers shares one process-wide record: the first user fills it, the
// last one to go clears it, and a later first user asks the system again. Safe across threads: the
// fill, the clear and the count of users change together under the record's lock.
#include <cstdint>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Kernel.h"

// The process-wide record. Without data (the version query failed, or no user yet) every code is 0.
struct TOSVersionRecord {
    bool HasData = false;
    TWindowsVersionInfo Version;
    std::uint32_t ProductInfo = 0;       // the product-information entry's type, 0 when not known
    unsigned ProcessorArchitecture = 0;  // 9 for x64
    bool ServerR2 = false;
};

// What the fill asks of the system; tests hand in made-up systems.
class IOSVersionQuery {
public:
    virtual ~IOSVersionQuery() = default;
    // The version; the service-pack numbers, suite mask and product type only when `extended`.
    // False when the system does not tell it.
    virtual bool Version(TWindowsVersionInfo &info, bool extended) = 0;
    // False when the system has no product-information entry.
    virtual bool ProductInfo(std::uint32_t major, std::uint32_t minor, std::uint32_t servicePackMajor,
                             std::uint32_t servicePackMinor, std::uint32_t &type) = 0;
    virtual unsigned ProcessorArchitecture() = 0;
    virtual bool ServerR2() = 0;
};

// The running system (Windows build only).
class TSystemOSVersionQuery : public IOSVersionQuery {
public:
    bool Version(TWindowsVersionInfo &info, bool extended) override;
    bool ProductInfo(std::uint32_t major, std::uint32_t minor, std::uint32_t servicePackMajor,
                     std::uint32_t servicePackMinor, std::uint32_t &type) override;
    unsigned ProcessorArchitecture() override;
    bool ServerR2() override;
};

// Fills `record` from the system: the plain version first; for the NT versions from 2000 up to the
// last 6.x, the extended fields and the product-information type as well.
void FillOSVersion(IOSVersionQuery &query, TOSVersionRecord &record);

// The version code of a record: 1 to 7 for the 9x line, 101 to 131 for the NT line up to 6.3, 10 for
// 10.0, 201 for platform 3; 0 for anything else and without data.
std::int16_t OSVersionCode(const TOSVersionRecord &record);
// The family of a version code, 0 for codes of no family (among them 10.0's).
int OSVersionFamily(int code);
// The digit first met in a service-pack text ("Service Pack 3" gives 3); 0 without one.
int ServicePackNumberOf(const AnsiString &text);

class TOSVers {
public:
    // A user of the running system's version (Windows build only).
    TOSVers();
    // A user whose first fill, when it is the first user, asks `query`.
    explicit TOSVers(IOSVersionQuery &query);
    ~TOSVers();
    TOSVers(const TOSVers &) = delete;
    TOSVers &operator=(const TOSVers &) = delete;

    std::int16_t VersionCode() const;
    int Family() const;
    bool IsKnown() const;

    std::uint16_t ServicePackMajor() const;
    std::uint16_t ServicePackMinor() const;
    std::uint16_t SuiteMask() const;
    // The version query's product type (1 workstation, 2 domain controller, 3 server).
    std::uint8_t ProductType() const;
    // The product-information entry's type; 0 when not known.
    std::uint32_t ProductInfo() const;
    AnsiString ServicePack() const;
    int ServicePackNumber() const;

    // The number of TOSVers objects alive.
    static int Users();
};
