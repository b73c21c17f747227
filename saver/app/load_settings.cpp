#include "load_settings.h"

#include "saver/dialog/host_timeout.h"
#include "saver/settings/settings_store.h"
#include "saver/windows/saver_state.h"

void LoadSettings()
{
    bool configuring = RunMode == ModeConfig;
    LoadStoredSettings(configuring);
    if (configuring && ParentWindow)
        ReadHostTimeout(ParentWindow);
}
