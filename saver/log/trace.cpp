#include "trace.h"

#ifdef ROTAVEIL_TRACE
#include <windows.h>
#include <stdio.h>

void Trace(const char* text)
{
    char line[1100];
    snprintf(line, sizeof line, "Rotaveil: %s\n", text ? text : "");
    OutputDebugStringA(line);
}
#else
void Trace(const char*) {}
#endif
