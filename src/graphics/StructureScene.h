#pragma once

#include "graphics/SceneContext.h"

// The structure: the axis cross, the beams with their numbers, cross-section
// numbers and dashed fibre lines, the hinges with symbols by the forces they
// release, the supports and the nodes with their numbers. Sizes are the
// Geometrie settings × SceneSize; texts are scaled by the window's text scale.

// Three arrows from the origin along x, y and z, labelled "x", "y", "z".
void DrawAxisCross(const SceneContext& scene);

// Every beam whose two nodes exist and differ: the beam line; with
// ShowBeamNumbers a dashed grey line on the +z side (the side of positive
// diagrams) and "S<number>" above the middle; with ShowMaterialNumbers
// "M<type>" at 0.7 of the beam when the cross-section type exists.
void DrawBeams(const SceneContext& scene);

// Every hinge on a defined beam of non-zero length: a white-filled bar across
// the beam (bending), a bar along it (torsion), a ring where a bending and a
// torsion hinge meet, two short bars (shear); with ShowHingeNumbers its number.
void DrawHinges(const SceneContext& scene);

// Every node with a support: an arrow arriving from the +z side for a held
// deflection, double arrows along the skewed support axes for held rotations.
void DrawSupports(const SceneContext& scene);

// Every node that a spring record names: a zigzag under the node for a
// spring in z, a coil about the skewed first or second support axis for a
// rotational one (stiffnesses of several records summed; as entered, also
// where a rigid support holds the component).
void DrawSprings(const SceneContext& scene);

// A square at every node; with ShowNodeNumbers its number.
void DrawNodes(const SceneContext& scene);

// Beams, hinges, supports and springs (with ShowSupports) and nodes, in this order: the
// hinges blank the beam line with white, the node squares come last.
void DrawStructure(const SceneContext& scene);
