// The run modes of the screen-saver program: one per process.
#pragma once

enum : signed char {
    ModeConfig = 0,
    ModePreview = 1,
    ModeChangePassword = 2,
    ModeSaver = 3,
};
