// qt_trace.cpp -- the trace sink on a Qt logging category that is off by default.
#include "sim/qt/qt_trace.h"

#include <QLoggingCategory>

#include "common/trace.h"

namespace {
Q_LOGGING_CATEGORY(trace_category, "vitrion.trace", QtInfoMsg)

void forward(const char* text) { qCDebug(trace_category, "%s", text); }
}  // namespace

namespace platform {

void install_qt_trace_sink() { trace::set_sink(forward); }

}  // namespace platform
