// What every run mode loads at start.
#pragma once

// Builds the catalogue and reads every setting; in ModeConfig also the
// descriptions and the display settings' own timeout box.
void LoadSettings();
