// trace.h -- the trace log: progress and failure texts the user never sees.
#pragma once

namespace trace {

// Where trace texts go. The default sink discards them; the Qt adapter routes
// them to a logging category that is off by default, tests capture them.
using Sink = void (*)(const char* text);

// Installs `sink` (nullptr restores the discarding default) and returns the
// previous one.
Sink set_sink(Sink sink);

// Formats like printf and hands the text (cut at 511 characters) to the sink.
void log(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace trace
