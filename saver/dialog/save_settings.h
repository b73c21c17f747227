// What the settings dialog's OK stores, and the companion it starts.
#pragma once

// Writes the period, the random order, the play-list and the timeout (also
// into the display settings' box), and starts the tray companion so that its
// start-up entry follows ShowTrayIcon.
void SaveSettings();
