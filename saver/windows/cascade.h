// Where the next "Preview" pop-up of the settings dialog goes: each one 10
// pixels right of the last, wrapping within the free screen width, with
// y = (x + 10) wrapped within the free screen height.
#pragma once

struct CascadePosition {
    int x;
    int y;
};

// lastX is the previous pop-up's x and is updated. Where the screen is not
// larger than the pop-up in a dimension, the position in it is 0.
CascadePosition NextCascadePosition(int* lastX, int screenWidth, int screenHeight, int width,
                                    int height);
