// Formatting into the runtime's fixed 1024-byte buffers.
#include "runtime_state.h"

int format_into(char* buffer, size_t size, const char* format, va_list args) {
    // vsnprintf cuts a longer result at size - 1 characters and still counts all of them.
    const int count = format ? std::vsnprintf(buffer, size, format, args) : 0;
    if (count <= 0) buffer[0] = '\0';
    return count;
}
