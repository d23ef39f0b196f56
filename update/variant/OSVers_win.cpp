// The running system's version for TOSVers.
#include "update/variant/OSVers.h"

bool TSystemOSVersionQuery::Version(TWindowsVersionInfo &info, bool extended)
{
    return GetWindowsVersionInfo(info, extended);
}

bool TSystemOSVersionQuery::ProductInfo(std::uint32_t major, std::uint32_t minor, std::uint32_t servicePackMajor,
                                        std::uint32_t servicePackMinor, std::uint32_t &type)
{
    return GetWindowsProductInfo(major, minor, servicePackMajor, servicePackMinor, type);
}

unsigned TSystemOSVersionQuery::ProcessorArchitecture() { return GetProcessorArchitecture(); }

bool TSystemOSVersionQuery::ServerR2() { return IsServerR2System(); }

namespace {

IOSVersionQuery &SystemQuery()
{
    static TSystemOSVersionQuery query;
    return query;
}

}  // namespace

TOSVers::TOSVers() : TOSVers(SystemQuery()) {}
