// The plain rectangle tests of the collision module. Rectangles are half-open: the right and
// bottom edges lie outside, so rectangles that only touch do not collide.
#pragma once

bool bb_collision_PointCollision(int px, int py, int rx, int ry, int rw, int rh);
bool bb_collision_RectCollision(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2);
