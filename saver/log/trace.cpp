#include "trace.h"

#include <stdarg.h>
#include <stdio.h>

#ifdef ROTAVEIL_TRACE
#include <windows.h>

void Trace(const char* text)
{
    char line[TraceTextLimit + 16];
    snprintf(line, sizeof line, "Rotaveil: %s\n", text ? text : "");
    OutputDebugStringA(line);
}

void TraceFormat(const char* format, ...)
{
    char text[TraceTextLimit];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    Trace(text);
}
#else
void Trace(const char*) {}
void TraceFormat(const char*, ...) {}
#endif
