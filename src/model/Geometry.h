#pragma once

// Direction of the vector (dx, dy) in radians, in [-pi/2, 3pi/2): arcsin of
// its sine, mirrored for dx < 0; 0 for a vector shorter than 1e-8.
double DirectionAngle(double dx, double dy);
