#include "win32_backend.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>

#include "win32_window.h"

namespace morlu::platform {
namespace {

using win32::NativeWindow;

// Posted to the main window when the console asks the program to end (Ctrl+C,
// closing the console): it is answered as the user's close of that window.
constexpr UINT MSG_CLOSE_REQUEST = WM_APP + 1;
std::atomic<HWND> main_window{nullptr};

BOOL WINAPI on_console_control(DWORD kind) {
    if (kind != CTRL_C_EVENT && kind != CTRL_BREAK_EVENT && kind != CTRL_CLOSE_EVENT) return FALSE;
    const HWND hwnd = main_window.load();
    return hwnd && PostMessageW(hwnd, MSG_CLOSE_REQUEST, 0, 0) ? TRUE : FALSE;
}

// Real windows on the Windows desktop. Every window's procedure appends to one
// sink, which poll_events hands over to the window layer.
class Win32Backend final : public Backend {
public:
    Win32Backend() {
        SetConsoleCtrlHandler(on_console_control, TRUE);
    }
    ~Win32Backend() override {
        SetConsoleCtrlHandler(on_console_control, FALSE);
        main_window.store(nullptr);
        for (auto& [id, w] : windows_) win32::destroy_native_window(*w);
    }
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    bool create_window(WindowId id, const WindowPlan& plan) override {
        if (windows_.contains(id)) return false;
        auto w = win32::create_native_window(id, plan, sink_);
        if (!w) return false;
        if (windows_.empty()) main_window.store(w->hwnd);
        windows_.emplace(id, std::move(w));
        return true;
    }

    void destroy_window(WindowId id) override {
        NativeWindow* w = find(id);
        if (!w) return;
        if (main_window.load() == w->hwnd) main_window.store(nullptr);
        win32::destroy_native_window(*w);
        windows_.erase(id);
        // What the user did in a window that is gone can no longer reach anyone.
        std::erase_if(sink_.pending, [id](const NativeEvent& e) { return e.window == id; });
    }

    void show_window(WindowId id, bool visible) override {
        if (NativeWindow* w = find(id)) ShowWindow(w->hwnd, visible ? SW_SHOW : SW_HIDE);
    }

    void present(WindowId id, const Surface& pixels, const PixelBox& box) override {
        if (NativeWindow* w = find(id)) win32::present_pixels(*w, pixels, box);
    }

    void set_menu_bar(WindowId id, const MenuBar& bar) override {
        if (NativeWindow* w = find(id)) win32::install_menu_bar(*w, bar);
    }

    void set_menu_check(WindowId id, uint32_t command, bool checked) override {
        if (NativeWindow* w = find(id)) win32::set_check(*w, command, checked);
    }

    void poll_events(std::vector<NativeEvent>& out) override {
        pump();
        out.insert(out.end(), sink_.pending.begin(), sink_.pending.end());
        sink_.pending.clear();
    }

    // Sleeps in the system until a message arrives or the deadline passes: a
    // halted program takes no CPU. Messages that report nothing (a repaint, a
    // mouse move) are handled and the wait goes on.
    WaitResult wait_events(Millis deadline) override {
        while (sink_.pending.empty()) {
            DWORD timeout = INFINITE;
            if (deadline != Millis::max()) {
                const Millis at = now();
                if (at >= deadline) return WaitResult::deadline;
                timeout = static_cast<DWORD>(std::min<Millis::rep>((deadline - at).count(), INFINITE - 1));
            }
            MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            pump();
        }
        return WaitResult::event;
    }

    Millis now() const override {
        return std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now() - start_);
    }

    Size screen_size() const override {
        return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }

private:
    NativeWindow* find(WindowId id) {
        const auto it = windows_.find(id);
        return it == windows_.end() ? nullptr : it->second.get();
    }

    // Hand every queued message to its window. A key-down is translated first, so
    // its procedure finds the character it types already queued.
    void pump() {
        MSG m{};
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == MSG_CLOSE_REQUEST) {
                close_main_window();
                continue;
            }
            if (m.message == WM_QUIT) continue;  // the window layer has its own quit
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }

    void close_main_window() {
        if (windows_.empty()) return;
        NativeEvent e;
        e.kind = NativeEvent::Kind::close;
        e.window = windows_.begin()->first;
        sink_.pending.push_back(e);
    }

    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    win32::EventSink sink_;
    std::map<WindowId, std::unique_ptr<NativeWindow>> windows_;  // by id: the first made comes first
};

// Whether the system can make a window at all: under Wine without a display it cannot.
bool desktop_available() {
    const HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    if (!probe) return false;
    DestroyWindow(probe);
    return GetSystemMetrics(SM_CXSCREEN) > 0 && GetSystemMetrics(SM_CYSCREEN) > 0;
}

}  // namespace

std::unique_ptr<Backend> make_win32_backend(std::string& error) {
    // Client areas are measured in screen pixels (601 x 501 on any screen); the
    // system would stretch a program that does not say so on a high-density screen.
    SetProcessDPIAware();
    if (!desktop_available()) {
        error = "cannot open a window: run it on the Windows desktop, or with --tape FILE";
        return nullptr;
    }
    return std::make_unique<Win32Backend>();
}

}  // namespace morlu::platform
