#pragma once
// The window messages that controls handle in their own WndProc, with the framework's own control
// messages, so that the layers above need no <windows.h>. Where <windows.h> was included first its
// macros stand (same values); where it comes later, its macros take over the names from there on.
#include <cstdint>

#include "framework/runtime/Types.h"
#include "framework/graphics/WinHandles.h"

#ifndef WM_SIZE
constexpr unsigned WM_SIZE = 0x0005;
#endif
#ifndef WM_SETTEXT
constexpr unsigned WM_SETTEXT = 0x000C;
#endif
#ifndef WM_GETTEXTLENGTH
constexpr unsigned WM_GETTEXTLENGTH = 0x000E;
#endif
#ifndef WM_PAINT
constexpr unsigned WM_PAINT = 0x000F;
#endif
#ifndef WM_DRAWITEM
constexpr unsigned WM_DRAWITEM = 0x002B;
#endif
#ifndef WM_INPUTLANGCHANGE
constexpr unsigned WM_INPUTLANGCHANGE = 0x0051;
#endif
#ifndef WM_NCHITTEST
constexpr unsigned WM_NCHITTEST = 0x0084;
#endif
#ifndef WM_NCPAINT
constexpr unsigned WM_NCPAINT = 0x0085;
#endif
#ifndef WM_NCACTIVATE
constexpr unsigned WM_NCACTIVATE = 0x0086;
#endif
#ifndef WM_GETDLGCODE
constexpr unsigned WM_GETDLGCODE = 0x0087;
#endif
#ifndef WM_NCLBUTTONDOWN
constexpr unsigned WM_NCLBUTTONDOWN = 0x00A1;
#endif
#ifndef WM_NCLBUTTONUP
constexpr unsigned WM_NCLBUTTONUP = 0x00A2;
#endif
#ifndef WM_KEYDOWN
constexpr unsigned WM_KEYDOWN = 0x0100;
#endif
#ifndef WM_CHAR
constexpr unsigned WM_CHAR = 0x0102;
#endif
#ifndef WM_MOUSEMOVE
constexpr unsigned WM_MOUSEMOVE = 0x0200;
#endif
#ifndef WM_LBUTTONDOWN
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
#endif
#ifndef WM_LBUTTONUP
constexpr unsigned WM_LBUTTONUP = 0x0202;
#endif
#ifndef WM_LBUTTONDBLCLK
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
#endif

// Answers to WM_GETDLGCODE: the keys a control takes for itself instead of the dialog's navigation.
#ifndef DLGC_WANTARROWS
constexpr unsigned DLGC_WANTARROWS = 0x0001;
#endif
#ifndef DLGC_WANTTAB
constexpr unsigned DLGC_WANTTAB = 0x0002;
#endif
#ifndef DLGC_WANTALLKEYS
constexpr unsigned DLGC_WANTALLKEYS = 0x0004;
#endif
#ifndef DLGC_WANTMESSAGE
constexpr unsigned DLGC_WANTMESSAGE = 0x0004;
#endif
#ifndef DLGC_HASSETSEL
constexpr unsigned DLGC_HASSETSEL = 0x0008;
#endif
#ifndef DLGC_WANTCHARS
constexpr unsigned DLGC_WANTCHARS = 0x0080;
#endif
#ifndef DLGC_BUTTON
constexpr unsigned DLGC_BUTTON = 0x2000;
#endif

// States of an owner-drawn item (TDrawItemStruct::itemState).
#ifndef ODS_SELECTED
constexpr unsigned ODS_SELECTED = 0x0001;
#endif
#ifndef ODS_GRAYED
constexpr unsigned ODS_GRAYED = 0x0002;
#endif
#ifndef ODS_DISABLED
constexpr unsigned ODS_DISABLED = 0x0004;
#endif
#ifndef ODS_FOCUS
constexpr unsigned ODS_FOCUS = 0x0010;
#endif

// The framework's control messages (numbers of the application range).
constexpr unsigned CM_BASE = 0xB000;
// The mouse came onto the control / left it (sent once each way).
constexpr unsigned CM_MOUSEENTER = CM_BASE + 0x13;
constexpr unsigned CM_MOUSELEAVE = CM_BASE + 0x14;
// A window message the parent received about a child, handed on to the child: CN_BASE + the message.
constexpr unsigned CN_BASE = 0xBC00;
// LParam: the TDrawItemStruct of an owner-drawn control; Result TRUE when drawn.
constexpr unsigned CN_DRAWITEM = CN_BASE + 0x002B;
// WParam and LParam as the parent got them from a child scroll bar or up-down.
constexpr unsigned CN_HSCROLL = CN_BASE + 0x0114;
constexpr unsigned CN_VSCROLL = CN_BASE + 0x0115;

// The window system's draw-item record, field for field.
struct TDrawItemStruct {
    unsigned CtlType;
    unsigned CtlID;
    unsigned itemID;
    unsigned itemAction;
    unsigned itemState;
    HWND hwndItem;
    HDC hDC;
    TRect rcItem;
    uintptr_t itemData;
};
