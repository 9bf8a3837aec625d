#include "win32_window.h"

#include <algorithm>
#include <cstring>

namespace morlu::platform::win32 {
namespace {

constexpr wchar_t CLASS_NAME[] = L"MorluNativeWindow";
// What a client area shows before the program first presents into it.
constexpr uint32_t BLANK = 0x00FFFFFF;
// A fixed window has a title bar and a system menu only: no sizing border and no
// minimise or maximise box.
constexpr DWORD FIXED_STYLE = WS_CAPTION | WS_SYSMENU;
constexpr DWORD RESIZABLE_STYLE = WS_OVERLAPPEDWINDOW;

NativeWindow* window_of(HWND hwnd) {
    return reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Draw the whole of our pixels at the client area's top-left corner.
void draw_pixels(const NativeWindow& w, HDC dc) {
    const std::lock_guard hold(w.shown->lock);
    const Surface& pixels = w.shown->pixels;
    const Size size = pixels.size();
    if (size.w <= 0 || size.h <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.w;
    info.bmiHeader.biHeight = -size.h;  // negative: the first row is the top one
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;  // 0x00RRGGBB in memory is blue, green, red, unused
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(size.w), static_cast<DWORD>(size.h), 0, 0, 0,
                      static_cast<UINT>(size.h), pixels.pixels(), &info, DIB_RGB_COLORS);
}

void paint(NativeWindow& w) {
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(w.hwnd, &ps);
    if (dc) draw_pixels(w, dc);
    EndPaint(w.hwnd, &ps);
}

// The client area got a size: keep our copy that size, no larger than the
// screen, and tell the program when the user resized the window.
void take_size(NativeWindow& w, WPARAM kind, LPARAM lparam) {
    if (kind == SIZE_MINIMIZED) return;
    const Size size{std::min<int32_t>(LOWORD(lparam), GetSystemMetrics(SM_CXVIRTUALSCREEN)),
                    std::min<int32_t>(HIWORD(lparam), GetSystemMetrics(SM_CYVIRTUALSCREEN))};
    if (!w.resizable) return;
    {
        const std::lock_guard hold(w.shown->lock);
        if (size == w.shown->pixels.size()) return;
        w.shown->pixels.resize(size, BLANK);
    }
    NativeEvent e;
    e.kind = NativeEvent::Kind::resized;
    e.window = w.id;
    e.size = size;
    w.events->report(e);
}

void report(NativeWindow& w, NativeEvent::Kind kind, uint32_t command = 0) {
    NativeEvent e;
    e.kind = kind;
    e.window = w.id;
    e.command = command;
    w.events->report(e);
}

// Messages the program decides about are reported; the system's own handling
// (moving, the system menu, opening the menu bar with Alt) stays the system's.
LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    NativeWindow* w = window_of(hwnd);
    if (!w) return DefWindowProcW(hwnd, message, wparam, lparam);
    switch (message) {
        case WM_PAINT:
            paint(*w);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // every pixel is ours: no flash of the class background
        case WM_SIZE:
            take_size(*w, wparam, lparam);
            return 0;
        case WM_CLOSE:
            // The title bar's close button asks; the program destroys the window itself.
            report(*w, NativeEvent::Kind::close);
            return 0;
        case WM_COMMAND:
            // A menu item was chosen; its check mark stays as the program last set it.
            if (HIWORD(wparam) == 0 && lparam == 0)
                report(*w, NativeEvent::Kind::menu_command, LOWORD(wparam));
            return 0;
        case WM_EXITMENULOOP:
        case WM_SETFOCUS:
            resync_modifiers(*w);
            break;
        default:
            if (handle_input(*w, message, wparam, lparam)) return 0;
            break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

bool register_window_class() {
    static const bool registered = [] {
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = window_proc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
        cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        cls.lpszClassName = CLASS_NAME;
        return RegisterClassExW(&cls) != 0;
    }();
    return registered;
}

DWORD style_of(const NativeWindow& w) {
    return w.resizable ? RESIZABLE_STYLE : FIXED_STYLE;
}

// The outer size the system gives a window of this style around the client
// area, with the menu bar when there is one.
SIZE outer_size(const NativeWindow& w) {
    RECT r{0, 0, w.client.w, w.client.h};
    AdjustWindowRectEx(&r, style_of(w), w.menu_bar != nullptr, 0);
    return {r.right - r.left, r.bottom - r.top};
}

// The frame moved into the screen's work area (the screen less the task bar),
// and made no larger than it: a console window planned as wide as the screen
// gets its frame inside, its client area a little narrower than planned.
RECT inside_work_area(RECT frame) {
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) || work.right <= work.left ||
        work.bottom <= work.top)
        return frame;
    const LONG width = std::min(frame.right - frame.left, work.right - work.left);
    const LONG height = std::min(frame.bottom - frame.top, work.bottom - work.top);
    const LONG left = std::clamp(frame.left, work.left, work.right - width);
    const LONG top = std::clamp(frame.top, work.top, work.bottom - height);
    return {left, top, left + width, top + height};
}

// Keep the window's frame inside the work area after its size changed.
void keep_in_work_area(NativeWindow& w) {
    RECT frame{};
    if (!GetWindowRect(w.hwnd, &frame)) return;
    const RECT inside = inside_work_area(frame);
    if (std::memcmp(&inside, &frame, sizeof frame) == 0) return;
    SetWindowPos(w.hwnd, nullptr, inside.left, inside.top, inside.right - inside.left,
                 inside.bottom - inside.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A menu bar wider than the window wraps onto more lines, which the first
// computation cannot know: grow the window until the client area is whole.
void fit_client(NativeWindow& w) {
    const SIZE outer = outer_size(w);
    SetWindowPos(w.hwnd, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(w.hwnd, &client);
    const LONG missing = w.client.h - (client.bottom - client.top);
    if (missing > 0)
        SetWindowPos(w.hwnd, nullptr, 0, 0, outer.cx, outer.cy + missing,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    keep_in_work_area(w);
}

HMENU build_popup(const MenuPopup& popup) {
    const HMENU menu = CreatePopupMenu();
    for (const MenuEntry& e : popup.entries) {
        if (e.kind == MenuEntry::Kind::separator) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        // The texts keep the system's own form: "&" marks the mnemonic and a tab
        // puts the shortcut label at the right; nothing binds the shortcut.
        const UINT flags =
            MF_STRING | (e.checked ? MF_CHECKED : MF_UNCHECKED) | (e.grayed ? MF_GRAYED : MF_ENABLED);
        AppendMenuW(menu, flags, e.id, wide_from_cp1252(e.text).c_str());
    }
    return menu;
}

}  // namespace

std::wstring wide_from_cp1252(std::string_view text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(std::max(n, 0)), L'\0');
    if (n > 0) MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::unique_ptr<NativeWindow> create_native_window(WindowId id,
                                                   const WindowPlan& plan,
                                                   std::shared_ptr<WindowPixels> shown,
                                                   DesktopEvents& events) {
    if (!register_window_class()) return nullptr;
    auto w = std::make_unique<NativeWindow>();
    w->id = id;
    w->events = &events;
    w->resizable = plan.resizable;
    w->client = plan.client;
    w->shown = std::move(shown);
    {
        const std::lock_guard hold(w->shown->lock);
        w->shown->pixels = Surface(plan.client, BLANK);
    }
    const SIZE outer = outer_size(*w);
    const RECT frame = inside_work_area({plan.x, plan.y, plan.x + outer.cx, plan.y + outer.cy});
    w->hwnd = CreateWindowExW(0, CLASS_NAME, wide_from_cp1252(plan.title).c_str(), style_of(*w), frame.left,
                              frame.top, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), w.get());
    if (!w->hwnd) return nullptr;
    return w;
}

void detach_native_window(NativeWindow& w) {
    if (w.hwnd) SetWindowLongPtrW(w.hwnd, GWLP_USERDATA, 0);
}

void destroy_native_window(NativeWindow& w) {
    if (w.hwnd) {
        detach_native_window(w);
        DestroyWindow(w.hwnd);  // destroys the attached menu bar too
    } else if (w.menu_bar) {
        DestroyMenu(w.menu_bar);
    }
    w.hwnd = nullptr;
    w.menu_bar = nullptr;
}

void repaint_pixels(NativeWindow& w) {
    const HDC dc = GetDC(w.hwnd);
    if (!dc) return;
    draw_pixels(w, dc);
    ReleaseDC(w.hwnd, dc);
}

void install_menu_bar(NativeWindow& w, const MenuBar& bar) {
    const HMENU menu = CreateMenu();
    for (const MenuPopup& popup : bar.popups)
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(build_popup(popup)),
                    wide_from_cp1252(popup.title).c_str());
    const HMENU old = w.menu_bar;
    SetMenu(w.hwnd, menu);
    w.menu_bar = menu;
    if (old) DestroyMenu(old);
    DrawMenuBar(w.hwnd);
    fit_client(w);
}

void set_check(NativeWindow& w, uint32_t command, bool checked) {
    if (w.menu_bar) CheckMenuItem(w.menu_bar, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace morlu::platform::win32
