// trace.cpp -- formats trace texts and hands them to the installed sink.
#include "common/trace.h"

#include <cstdarg>
#include <cstdio>

namespace trace {
namespace {
Sink current_sink = nullptr;
}

Sink set_sink(Sink sink) {
    Sink previous = current_sink;
    current_sink = sink;
    return previous;
}

void log(const char* format, ...) {
    if (!current_sink) return;
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    current_sink(text);
}

}  // namespace trace
