// The primary display's mode as the session found it: a screen saver may
// switch it for its turn (full-screen games' engines and older DirectX savers
// do), and the session puts it back when that turn ends.
#pragma once

// As the session starts.
void NoteDisplayMode();
// After a turn's processes are stopped: the mode found is put back where it
// differs (the registry's mode, as a program's CDS_FULLSCREEN change is
// undone). True when it was.
bool PutBackDisplayMode();
