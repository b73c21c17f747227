// The trace sink: diagnostic texts that no user reads. Discarded, unless the
// program was built with ROTAVEIL_TRACE, which sends them to the debugger
// output (OutputDebugStringA) so that tests and developers can follow them.
#pragma once

void Trace(const char* text);
