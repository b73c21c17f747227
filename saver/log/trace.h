// The trace sink: diagnostic texts that no user reads. Discarded, unless the
// program was built with ROTAVEIL_TRACE, which sends them to the debugger
// output (OutputDebugStringA) so that tests and developers can follow them.
#pragma once

#define ROTAVEIL_PRINTF(formatIndex, firstArgument)                                                \
    __attribute__((format(printf, formatIndex, firstArgument)))

// Texts of the runner and its helpers are at most this long; longer ones are cut.
const unsigned TraceTextLimit = 1024;

void Trace(const char* text);
// printf-style, with the compiler checking the arguments.
void TraceFormat(const char* format, ...) ROTAVEIL_PRINTF(1, 2);
