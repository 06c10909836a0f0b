#pragma once

#include "batch/BatchOptions.h"
#include "graphics/PaintContainer.h"
#include "graphics/ViewTransform.h"
#include "settings/SettingsLocation.h"

#include <string>

struct InputModel;
struct EnvelopeDiagram;
class SolutionsCont;

// The pictures of balkor-batch --svg: each is what a new graphics window of the
// picture's size shows on its tab after "Berechnen", drawn by the same scene
// rebuild and written as SVG.

// Records the picture's scene as a new window does (initial view, the tab's
// flags with the picture's toggles, all scales 100 %, 10 evaluation points)
// and fits the view window to it. results: null or the run's results.
// envelope: drawn in place of the results (a run of several load cases).
void DrawPicture(const SvgPicture& picture, InputModel& input, const SolutionsCont* results,
                 ViewState& view, PaintContainer& list, const EnvelopeDiagram* envelope = nullptr);

// The picture as a standalone SVG document.
std::string PictureSvg(const SvgPicture& picture, InputModel& input, const SolutionsCont* results,
                       const EnvelopeDiagram* envelope = nullptr);

// The picture as a DXF drawing (DrawingDxf); empty when it cannot be made.
std::string PictureDxf(const SvgPicture& picture, InputModel& input, const SolutionsCont* results,
                       const EnvelopeDiagram* envelope = nullptr);

// The picture in its format: SVG, or DXF for --dxf.
std::string PictureText(const SvgPicture& picture, InputModel& input, const SolutionsCont* results,
                        const EnvelopeDiagram* envelope = nullptr);

// Whether a picture can be drawn after a run: the Geometrie view always, the
// results views only with results.
bool PictureNeedsResults(const SvgPicture& picture);

// The settings file of the desktop program "balkor" as balkor-batch at
// batchPath finds it: the program lies beside it, and its settings file lies
// next to it or, for a folder the user may not write, in the user's
// configuration folder. Empty when there is no place for one.
std::string ProgramSettingsPath(const std::string& batchPath, const SettingsEnvironment& env);
