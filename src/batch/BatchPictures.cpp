#include "batch/BatchPictures.h"

#include "analysis/SolutionsCont.h"
#include "exchange/DxfExport.h"
#include "graphics/SceneRebuild.h"
#include "graphics/SvgCanvas.h"

#include <filesystem>

namespace {

// The desktop program, whose settings the pictures use.
constexpr const char* kDesktopProgramName = "balkor";

} // namespace

void DrawPicture(const SvgPicture& picture, InputModel& input, const SolutionsCont* results,
                 ViewState& view, PaintContainer& list, const EnvelopeDiagram* envelope) {
    SceneOptions options;
    options.envelope = envelope;
    options.tab = picture.tab;
    options.flags = picture.Flags();
    options.layout = picture.layout;
    view.SetKeepView(0);
    RebuildScene(input, results, options, view, list);
}

std::string PictureSvg(const SvgPicture& picture, InputModel& input, const SolutionsCont* results,
                       const EnvelopeDiagram* envelope) {
    ViewState view;
    PaintContainer list;
    DrawPicture(picture, input, results, view, list, envelope);
    return RenderSvg(list, view.Window(), {0, 0, picture.width, picture.height});
}

std::string PictureDxf(const SvgPicture& picture, InputModel& input, const SolutionsCont* results,
                       const EnvelopeDiagram* envelope) {
    ViewState view;
    PaintContainer list;
    DrawPicture(picture, input, results, view, list, envelope);
    std::string text;
    return DrawingDxf(list, view.Matrix(), text) ? text : std::string();
}

std::string PictureText(const SvgPicture& picture, InputModel& input, const SolutionsCont* results,
                        const EnvelopeDiagram* envelope) {
    return picture.dxf ? PictureDxf(picture, input, results, envelope)
                       : PictureSvg(picture, input, results, envelope);
}

bool PictureNeedsResults(const SvgPicture& picture) {
    return picture.tab != kTabGeometrie;
}

std::string ProgramSettingsPath(const std::string& batchPath, const SettingsEnvironment& env) {
    if (batchPath.empty())
        return std::string();
    const std::filesystem::path program =
        std::filesystem::path(batchPath).parent_path() / kDesktopProgramName;
    return SettingsFilePath(program.string(), env);
}
