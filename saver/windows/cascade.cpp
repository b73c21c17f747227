#include "cascade.h"

namespace {

int Wrap(int value, int span)
{
    if (span <= 0)
        return 0;
    int wrapped = value % span;
    return wrapped < 0 ? wrapped + span : wrapped;
}

}  // namespace

CascadePosition NextCascadePosition(int* lastX, int screenWidth, int screenHeight, int width,
                                    int height)
{
    int previous = lastX ? *lastX : 0;
    // Computed in a wider type so that a last x near INT_MAX cannot overflow.
    long long next = (long long)previous + 10;
    int freeWidth = screenWidth - width;
    CascadePosition position;
    position.x = freeWidth > 0 ? (int)(next % freeWidth) : 0;
    if (position.x < 0)
        position.x += freeWidth;
    position.y = Wrap(position.x + 10, screenHeight - height);
    if (lastX)
        *lastX = position.x;
    return position;
}
