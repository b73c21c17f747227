// The settings in the registry, shared with the tray companion.
#pragma once
#include <stdint.h>

// Typed values above this are held here, so that minutes * 60 always fits.
const uint32_t TimeoutMinutesLimit = 32767;

// Builds the catalogue and reads every stored setting, with the descriptions
// when asked (for the settings dialog).
void LoadStoredSettings(bool withDescriptions);

// Writes the period, the random order, the play-list with its entries' own
// times and, when it differs from what was loaded, the timeout (to the
// registry and the system; TimeoutMinutes is held at TimeoutMinutesLimit),
// and reads the companion's recorded path into companionPath (empty when
// there is none). False after a failure.
bool StoreSettings(char* companionPath, unsigned capacity);

// Writes FileIndex (and the round of random order), so that the next session
// starts where this one stopped.
void SaveLastState();

// True when path names a visible, existing file: a start-up entry or a
// companion counts only then.
bool NamesExistingFile(const char* path);
