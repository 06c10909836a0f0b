#pragma once

#include "graphics/ViewTransform.h"

#include <string>

struct InputModel;

// The result an influence surface is asked for by a click into a graphics
// window, as the text the traffic core reads ("M:beam=3:xi=0.5"): a node
// within reach gives its support reaction ("R:node=N") when it is held in z,
// else its deflection ("w:node=N"); otherwise the beam within reach gives the
// quantity of the tab (Q, M or T; M on "Geometrie" and "Biegelinie") at the
// evaluation point of that beam nearest to the click, where the results are
// computed. Empty when nothing lies within reach.
std::string InfluenceTargetAt(InputModel& input, const ViewMatrix& view, Vec2 point, double reach,
                              int tab);
