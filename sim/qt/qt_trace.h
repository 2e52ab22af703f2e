// qt_trace.h -- routes the trace log to the Qt logging category "vitrion.trace".
#pragma once

namespace platform {

// Installs the trace sink. The category's debug output is off unless
// enabled through Qt's logging rules ("vitrion.trace.debug=true").
void install_qt_trace_sink();

}  // namespace platform
