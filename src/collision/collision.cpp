// Point-in-rectangle and rectangle-overlap tests.
#include "collision/collision.h"

bool bb_collision_PointCollision(int px, int py, int rx, int ry, int rw, int rh) {
    return px >= rx && px < rx + rw && py >= ry && py < ry + rh;
}

bool bb_collision_RectCollision(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2) {
    return x2 + w2 > x1 && x2 < x1 + w1 && y2 + h2 > y1 && y2 < y1 + h1;
}
