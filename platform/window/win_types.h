// The platform's handles, messages and constants, under the names the runtime
// was written against.
#pragma once

#include <cstdint>

namespace morlu::platform {

// Handles are small numbers that the platform looks up; a stale or made-up
// handle makes the operation fail instead of touching freed memory.
enum class Hwnd : uint32_t { none = 0 };
enum class Hdc : uint32_t { none = 0 };
enum class Hgdiobj : uint32_t { none = 0 };  // pens, brushes, fonts and bitmaps
enum class Hmenu : uint32_t { none = 0 };
enum class Hinstance : uintptr_t { none = 0 };

using WParam = uintptr_t;
using LParam = intptr_t;
using LResult = intptr_t;
using ColorRef = uint32_t;  // 0x00BBGGRR, as the platform stores colours

using WndProc = LResult (*)(Hwnd, uint32_t message, WParam, LParam);

constexpr ColorRef rgb(uint8_t r, uint8_t g, uint8_t b) {
    return ColorRef{r} | (ColorRef{g} << 8) | (ColorRef{b} << 16);
}
constexpr uint16_t loword(LParam v) {
    return static_cast<uint16_t>(static_cast<uintptr_t>(v) & 0xFFFF);
}
constexpr uint16_t hiword(LParam v) {
    return static_cast<uint16_t>((static_cast<uintptr_t>(v) >> 16) & 0xFFFF);
}
constexpr LParam make_lparam(int32_t lo, int32_t hi) {
    return static_cast<LParam>((static_cast<uint32_t>(hi & 0xFFFF) << 16) |
                               static_cast<uint32_t>(lo & 0xFFFF));
}

// A rectangle in platform form: right and bottom are exclusive.
struct RectL {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct PointL {
    int32_t x = 0;
    int32_t y = 0;
};

struct Msg {
    Hwnd hwnd = Hwnd::none;
    uint32_t message = 0;
    WParam wparam = 0;
    LParam lparam = 0;
};

// Messages.
constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ERASEBKGND = 0x0014;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_SYSCHAR = 0x0106;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_TIMER = 0x0113;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_USER = 0x0400;

constexpr WParam MK_LBUTTON = 0x0001;

// Key-message lparam as this platform fills it: bits 0..15 the repeat count,
// bits 16..23 the code page 1252 character the key yields and bit 24 set when
// it yields one (translate_message reads these, so a key message re-posted to
// another window still yields its character), bit 30 the previous key state,
// bit 31 set for a release.
constexpr LParam KEY_HAS_CHAR = LParam{1} << 24;
constexpr LParam key_lparam(int character, bool release) {
    LParam v = 1;
    if (character >= 0) v |= (LParam{character & 0xFF} << 16) | KEY_HAS_CHAR;
    if (release) v |= (LParam{1} << 30) | (LParam{1} << 31);
    return v;
}

// Virtual keys.
constexpr uint32_t VK_BACK = 0x08;
constexpr uint32_t VK_TAB = 0x09;
constexpr uint32_t VK_RETURN = 0x0D;
constexpr uint32_t VK_SHIFT = 0x10;
constexpr uint32_t VK_CONTROL = 0x11;
constexpr uint32_t VK_MENU = 0x12;
constexpr uint32_t VK_CAPITAL = 0x14;
constexpr uint32_t VK_ESCAPE = 0x1B;
constexpr uint32_t VK_SPACE = 0x20;
constexpr uint32_t VK_LEFT = 0x25;
constexpr uint32_t VK_UP = 0x26;
constexpr uint32_t VK_RIGHT = 0x27;
constexpr uint32_t VK_DOWN = 0x28;
constexpr uint32_t VK_DELETE = 0x2E;
constexpr uint32_t VK_F1 = 0x70;
constexpr uint32_t VK_F10 = 0x79;
constexpr uint32_t VK_F12 = 0x7B;
constexpr uint32_t VK_OEM_PUNCT = 0xBA;  // stands for every key not listed here

// Window and class styles.
constexpr uint32_t CS_VREDRAW = 0x0001;
constexpr uint32_t CS_HREDRAW = 0x0002;
constexpr uint32_t WS_OVERLAPPED = 0x00000000;
constexpr uint32_t WS_CAPTION = 0x00C00000;
constexpr uint32_t WS_SYSMENU = 0x00080000;
constexpr uint32_t WS_THICKFRAME = 0x00040000;
constexpr uint32_t WS_MINIMIZEBOX = 0x00020000;
constexpr uint32_t WS_MAXIMIZEBOX = 0x00010000;
constexpr uint32_t WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// Show commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

// System metrics.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CYMENU = 15;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int ANSI_FIXED_FONT = 11;
constexpr int SYSTEM_FONT = 13;

// Pen styles, background modes, raster operations.
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr uint32_t SRCCOPY = 0x00CC0020;

// Font weights.
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

// Menus.
constexpr uint32_t MF_STRING = 0x0000;
constexpr uint32_t MF_UNCHECKED = 0x0000;
constexpr uint32_t MF_GRAYED = 0x0001;
constexpr uint32_t MF_CHECKED = 0x0008;
constexpr uint32_t MF_POPUP = 0x0010;
constexpr uint32_t MF_SEPARATOR = 0x0800;
constexpr uint32_t MF_BYCOMMAND = 0x0000;

}  // namespace morlu::platform
