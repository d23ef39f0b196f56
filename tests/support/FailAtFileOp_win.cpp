#include "tests/support/FailAtFileOp.h"

#include "framework/runtime/SysUtils.h"

uint32_t RefusedAsOnWindows(TFileOp kind, const AnsiString &name)
{
    if (kind != TFileOp::Create)
        return 0;
    const int attr = FileGetAttr(name);
    return attr != -1 && (attr & (faHidden | faSysFile | faReadOnly)) != 0 ? SysErrorAccessDenied : 0;
}
