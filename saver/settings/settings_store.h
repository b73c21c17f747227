// The settings in the registry, shared with the tray companion.
#pragma once

// Builds the catalogue and reads every setting; in ModeConfig also the
// descriptions and the display settings' own timeout box.
void LoadSettings();

// Writes the period, the play-list and the timeout, and starts the tray
// companion so that its start-up entry follows ShowTrayIcon.
void SaveSettings();

// Writes FileIndex, so that the next session starts where this one stopped.
void SaveLastState();
