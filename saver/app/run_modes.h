// The routines of the configuration and preview run modes.
#pragma once

// ModeConfig: the settings dialog, then a message pump while kept preview
// pop-ups are open. Returns 0, or the pump's result.
int ShowSettings();

// ModePreview: a disabled child filling the host's preview pane, painted with
// the preview picture until the host destroys it. Returns the pump's result,
// or 0 at once when the command line named no live window.
int ShowPreview();
