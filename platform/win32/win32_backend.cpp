// The Windows edition's window system: user32 and gdi32, run on the desktop
// backend's own thread. Native top-level windows and menu bar, and input
// reported as the user acts, whatever the program is doing meanwhile.
#include "win32_backend.h"

#include <deque>
#include <mutex>

#include "../desktop/native_windows.h"
#include "../desktop/toolkit.h"
#include "win32_window.h"

namespace morlu::platform {
namespace {

using win32::NativeWindow;
using Task = std::function<void()>;

// Posted to the task window when tasks wait. A window of our own, not the
// thread's queue: a menu or a window move runs a loop of the system's, which
// dispatches window messages but drops the thread's own.
constexpr UINT MSG_TASKS = WM_APP + 1;
constexpr wchar_t TASK_CLASS[] = L"MorluTasks";

class Win32Toolkit final : public Toolkit {
public:
    explicit Win32Toolkit(DesktopEvents& events) : events_(events) {
    }
    ~Win32Toolkit() override {
        for (const auto& w : windows_.take_all()) win32::destroy_native_window(*w);
        if (task_window_) DestroyWindow(task_window_);
    }
    Win32Toolkit(const Win32Toolkit&) = delete;
    Win32Toolkit& operator=(const Win32Toolkit&) = delete;

    // The window that runs posted tasks; false when the system gives none.
    bool make_task_window();

    bool create_window(WindowId id, const WindowPlan& plan, std::shared_ptr<WindowPixels> pixels) override {
        return windows_.create(
            id, [&] { return win32::create_native_window(id, plan, std::move(pixels), events_); });
    }

    // The window reports nothing from now on and is destroyed in a later task,
    // so that the program's thread, which waits for this call, goes on at once:
    // under Wine without a window manager, a window taken off the screen waits
    // up to two seconds to hear that it is gone, and at a quit the program has
    // only a second to end.
    void destroy_window(WindowId id) override {
        std::shared_ptr<NativeWindow> w = windows_.take(id);
        if (!w) return;
        win32::detach_native_window(*w);
        post([w] { win32::destroy_native_window(*w); });
    }

    void show_window(WindowId id, bool visible) override {
        NativeWindow* w = windows_.find(id);
        if (!w) return;
        ShowWindow(w->hwnd, visible ? SW_SHOW : SW_HIDE);
    }

    void repaint(WindowId id, const PixelBox&) override {
        if (NativeWindow* w = windows_.find(id)) win32::repaint_pixels(*w);
    }

    void set_menu_bar(WindowId id, const MenuBar& bar) override {
        if (NativeWindow* w = windows_.find(id)) win32::install_menu_bar(*w, bar);
    }

    void set_menu_check(WindowId id, uint32_t command, bool checked) override {
        if (NativeWindow* w = windows_.find(id)) win32::set_check(*w, command, checked);
    }

    Size screen_size() override {
        return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }

    // A key-down is translated before it is dispatched, so its window's
    // procedure finds the character it types already queued.
    void run_loop() override {
        MSG m{};
        while (running_ && GetMessageW(&m, nullptr, 0, 0) > 0) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }

    void stop_loop() override {
        running_ = false;
    }

    void post(Task task) override {
        {
            const std::lock_guard hold(tasks_lock_);
            tasks_.push_back(std::move(task));
        }
        PostMessageW(task_window_, MSG_TASKS, 0, 0);
    }

private:
    static LRESULT CALLBACK task_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

    void run_tasks() {
        std::deque<Task> ready;
        {
            const std::lock_guard hold(tasks_lock_);
            ready.swap(tasks_);
        }
        for (Task& task : ready) task();
    }

    DesktopEvents& events_;
    NativeWindows<NativeWindow> windows_;
    HWND task_window_ = nullptr;
    std::mutex tasks_lock_;
    std::deque<Task> tasks_;
    bool running_ = true;
};

LRESULT CALLBACK Win32Toolkit::task_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* toolkit = reinterpret_cast<Win32Toolkit*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == MSG_TASKS && toolkit) {
        toolkit->run_tasks();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

bool Win32Toolkit::make_task_window() {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = task_window_proc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = TASK_CLASS;
    RegisterClassExW(&cls);  // already registered by an earlier backend is as good
    task_window_ = CreateWindowExW(0, TASK_CLASS, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), this);
    return task_window_ != nullptr;
}

// Whether the system can make a window at all: under Wine without a display it cannot.
bool desktop_available() {
    const HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    if (!probe) return false;
    DestroyWindow(probe);
    return GetSystemMetrics(SM_CXSCREEN) > 0 && GetSystemMetrics(SM_CYSCREEN) > 0;
}

std::unique_ptr<Toolkit> make_win32_toolkit(DesktopEvents& events, std::string& error) {
    // Client areas are measured in screen pixels (601 x 501 on any screen); the
    // system would stretch a program that does not say so on a high-density screen.
    SetProcessDPIAware();
    auto toolkit = std::make_unique<Win32Toolkit>(events);
    if (!desktop_available() || !toolkit->make_task_window()) {
        error = "cannot open a window: run it on the Windows desktop, or with --tape FILE";
        return nullptr;
    }
    return toolkit;
}

}  // namespace

std::unique_ptr<Backend> make_win32_backend(std::string& error) {
    return make_desktop_backend(make_win32_toolkit, error);
}

}  // namespace morlu::platform
