// The data-entry supervisor's tables, flags and messages: everything that needs no window.
#include "controls/supervisor/SpyEdit.h"

#include <cstring>

#include "base/text/TextPrims.h"

SpyFieldDescriptor ReadDescriptorRow(const uint8_t *row)
{
    SpyFieldDescriptor d;
    std::memcpy(&d.id, row, 4);
    std::memcpy(&d.type, row + 4, 4);
    std::memcpy(&d.value, row + 8, 4);
    d.spare = row[12];
    d.flags = row[13];
    return d;
}

void WriteDescriptorRow(uint8_t *row, const SpyFieldDescriptor &d)
{
    std::memcpy(row, &d.id, 4);
    std::memcpy(row + 4, &d.type, 4);
    std::memcpy(row + 8, &d.value, 4);
    row[12] = d.spare;
    row[13] = d.flags;
}

std::vector<uint8_t> PackDescriptorTable(std::initializer_list<SpyFieldDescriptor> rows)
{
    std::vector<uint8_t> table((rows.size() + 1) * SpyDescriptorRowSize, 0);
    uint8_t *at = table.data();
    for (const SpyFieldDescriptor &d : rows) {
        WriteDescriptorRow(at, d);
        at += SpyDescriptorRowSize;
    }
    return table;
}

namespace {
uint32_t RowId(const uint8_t *row)
{
    uint32_t id;
    std::memcpy(&id, row, 4);
    return id;
}
}  // namespace

uint8_t *FindDescriptorRow(uint8_t *table, uint32_t id)
{
    if (!table || id == 0)
        return nullptr;
    for (uint8_t *row = table; RowId(row) != 0; row += SpyDescriptorRowSize)
        if (RowId(row) == id)
            return row;
    return nullptr;
}

uint32_t GetDescriptorValue(uint8_t *table, uint32_t id)
{
    const uint8_t *row = FindDescriptorRow(table, id);
    return row ? ReadDescriptorRow(row).value : 0;
}

bool SetDescriptorValue(uint8_t *table, uint32_t id, uint32_t value)
{
    uint8_t *row = FindDescriptorRow(table, id);
    if (!row)
        return false;
    std::memcpy(row + 8, &value, 4);
    return true;
}

int32_t DecimalsOfText(const char *text, int length)
{
    if (!text || length <= 0)
        return 2;
    const char *end = text + length;
    const char *comma = static_cast<const char *>(std::memchr(text, ',', static_cast<size_t>(length)));
    if (!comma)
        return 2;
    const char *fraction = comma + 1;
    int count = static_cast<int>(end - fraction);
    if (count > 9)
        count = 9;
    while (count > 2 && fraction[count - 1] == '0')
        --count;
    return count < 2 ? 2 : count;
}

// ---- the supervisor's table searches ----------------------------------------------------------------

bool TSpyEdit_Bs::FindControlId(uint32_t id)
{
    currentId_ = nullptr;
    if (!ids_ || id == 0)
        return false;
    for (const SpyControlIdRow *row = ids_; row->id != 0; ++row)
        if (row->id == id) {
            currentId_ = row;
            return true;
        }
    return false;
}

const SpyControlIdRow *TSpyEdit_Bs::IdRowOfName(const char *name) const
{
    if (!ids_)
        return nullptr;
    std::string_view wanted = name ? name : "";
    for (const SpyControlIdRow *row = ids_; row->id != 0; ++row)
        if (CompareCounted(row->name ? row->name : "", wanted) == 0)
            return row;
    return nullptr;
}

bool TSpyEdit_Bs::FindControlIdByName(const char *name)
{
    currentId_ = IdRowOfName(name);
    return currentId_ != nullptr;
}

bool TSpyEdit_Bs::FindDescriptor(uint32_t id)
{
    currentDescriptor_ = nullptr;
    if (!descriptors_)
        return false;
    previousDecimals_ = decimals_;
    decimals_ = 0;
    uint8_t *row = FindDescriptorRow(descriptors_, id);
    if (!row)
        return false;
    currentDescriptor_ = row;
    decimals_ = static_cast<int32_t>(ReadDescriptorRow(row).value);
    return true;
}

// ---- flags and messages ---------------------------------------------------------------------------------

void TSpyEdit_Bs::SetErrorCode(int32_t code)
{
    errorCode_ = code;
    Put(SpyFlag::Error, code != 0);
}

void TSpyEdit_Bs::SetStateFlags(uint32_t mask)
{
    flags_ |= mask;
    SetErrorCode(0);
}

void TSpyEdit_Bs::SetCloseConfirmed(bool on)
{
    if (on)
        flags_ |= SpyFlag::CloseConfirmed | SpyFlag::Escaped;
    else
        flags_ &= ~SpyFlag::CloseConfirmed;
}

bool TSpyEdit_Bs::HasChanges() const
{
    if (Has(SpyFlag::Accepted))
        return true;
    if (Has(SpyFlag::Error))
        return false;
    return Has(SpyFlag::Modified | SpyFlag::Changed | SpyFlag::AskAtClose | SpyFlag::ChangePending);
}

int32_t TSpyEdit_Bs::ShowMessageCode(int32_t code)
{
    if (code >= 1000) {
        if (SecondMessageFunction)
            SecondMessageFunction(AnsiString(), code - 1000);
    } else if (MessageFunction) {
        MessageFunction(AnsiString(), code);
    }
    ClearStateFlags(SpyFlag::Modified | SpyFlag::Escaped | SpyFlag::CloseConfirmed | SpyFlag::AskAtClose);
    return 0;
}
