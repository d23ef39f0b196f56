#include "controls/buttons/UZSelBox.h"

TSelBoxLook SelBoxLook(bool enabled, bool pressed, bool hot, bool focused)
{
    if (!enabled)
        return {tsDisabled, tfsDisabled};
    if (pressed)
        return {tsPressed, tfsFocused};
    if (hot)
        return {tsHot, tfsHot};
    if (focused)
        return {tsNormal, tfsFocused};
    return {tsNormal, tfsNormal};
}

bool IsSelBoxKey(uint16_t key)
{
    switch (key) {
    case 13:  // Enter
    case 32:  // Space
    case 34:  // Page Down
    case 41:  // Select
    case 43:  // Execute
    case 98:  // keypad 2
        return true;
    default: return false;
    }
}
