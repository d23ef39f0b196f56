// Security software as the security centre of Windows reports it.
#include "framework/runtime/Wmi.h"
#include "update/variant/uSelKindUpdtList.h"

AnsiString QuerySecurityProducts(bool antivirus, bool firewall, bool ukrainian)
{
    std::vector<TSecurityKind> kinds;
    std::vector<AnsiString> queries;
    if (antivirus) {
        kinds.push_back({TSecurityKind::AntiVirus, {}});
        queries.push_back("SELECT * FROM AntiVirusProduct");
        kinds.push_back({TSecurityKind::AntiSpyware, {}});
        queries.push_back("SELECT * FROM AntiSpywareProduct");
    }
    if (firewall) {
        kinds.push_back({TSecurityKind::Firewall, {}});
        queries.push_back("SELECT * FROM FirewallProduct");
    }
    std::vector<std::vector<TWmiValue>> results;
    if (!WmiQueryProperty({"\\\\.\\root\\SecurityCenter2", "\\\\.\\root\\SecurityCenter"}, queries, "displayName",
                          results))
        return AnsiString();
    for (size_t i = 0; i < kinds.size(); ++i)
        for (const TWmiValue &value : results[i])
            kinds[i].Names.push_back(SecurityValueText(value));
    return SecurityProductsText(kinds, ukrainian);
}
