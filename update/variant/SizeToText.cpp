#include "update/variant/SizeToText.h"

#include <string>

AnsiString SizeToText(int64_t bytes)
{
    struct Unit {
        int64_t Size;
        const char *Name;
    };
    static const Unit units[] = {
        {int64_t(1) << 40, " Тб"}, {int64_t(1) << 30, " Гб"}, {int64_t(1) << 20, " Мб"}, {int64_t(1) << 10, " Кб"}};
    for (const Unit &u : units) {
        if (bytes > u.Size)
            return std::to_string(bytes / u.Size + (bytes % u.Size != 0 ? 1 : 0)) + u.Name;
    }
    return std::to_string(bytes) + " б";
}
