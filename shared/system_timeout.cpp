#include "system_timeout.h"

#include <stdio.h>

#include "names.h"
#include "registry_key.h"

bool ReadSystemTimeout(UINT* seconds)
{
    *seconds = 0;
    return SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, seconds, 0) != 0;
}

void WriteSystemTimeout(UINT seconds, UINT flags)
{
    char text[16];
    snprintf(text, sizeof text, "%u", seconds);
    RegistryKey desktop;
    if (desktop.Open(HKEY_CURRENT_USER, RV_DESKTOP_KEY, KEY_SET_VALUE))
        desktop.WriteText(RV_VALUE_TIMEOUT, text);
    SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, seconds, NULL, flags);
}
