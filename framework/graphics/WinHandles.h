#pragma once
// The window system's handle types, declared the way <windows.h> declares them, so that framework
// headers can name them without pulling <windows.h> into every layer above.
struct HWND__;
typedef HWND__ *HWND;
struct HDC__;
typedef HDC__ *HDC;
struct HFONT__;
typedef HFONT__ *HFONT;
struct HBRUSH__;
typedef HBRUSH__ *HBRUSH;
struct HPEN__;
typedef HPEN__ *HPEN;
struct HBITMAP__;
typedef HBITMAP__ *HBITMAP;
struct HICON__;
typedef HICON__ *HICON;
struct HMENU__;
typedef HMENU__ *HMENU;
struct HINSTANCE__;
typedef HINSTANCE__ *HINSTANCE;
