// A C++ exception nothing caught reaches std::terminate, which by itself says
// "terminate called after throwing an instance of ..." and aborts; a beginner
// reads that as a crash of morlu. The line here names the exception and what to
// do about it.
#include <cxxabi.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <typeinfo>

#include "crash_parts.h"

namespace morlu::platform::crash {

char program[256] = "morlu";

void set_program(const char* name) {
    std::strncpy(program, name, sizeof program - 1);
    program[sizeof program - 1] = '\0';
}

namespace {

std::string readable_type(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
    return status == 0 && name ? name.get() : type.name();
}

void on_terminate() {
    end_after_uncaught(describe_uncaught());
}

}  // namespace

std::string describe_uncaught() {
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (!type)
        return "std::terminate was called with no exception in flight: a std::thread was destroyed while "
               "still running, or a noexcept function let an exception out";
    const std::string what = "an exception of type " + readable_type(*type);
    try {
        throw;
    } catch (const std::exception& e) {
        return what + " (\"" + e.what() + "\") was thrown and nothing caught it";
    } catch (...) {
        return what + " was thrown and nothing caught it";
    }
}

void catch_uncaught_exceptions() {
    std::set_terminate(on_terminate);
}

}  // namespace morlu::platform::crash
