#include "exchange/DxfExport.h"

#include "graphics/RecordCursor.h"

#include <cstdlib>
#include <dl_dxf.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <vector>

namespace {

const char* const kLayerNames[kDrawingLayerCount] = {"Struktur", "Belastung", "Auflager",
                                                     "Diagramm", "Texte"};
// The layers' own colours (AutoCAD colour index): black/white, red, blue,
// green, grey; each entity carries its own true colour besides.
const int kLayerColours[kDrawingLayerCount] = {7, 1, 5, 3, 8};

// The layer of each record of a list in order: the last layer mark at or
// before the record's offset.
class LayerOfRecords {
public:
    explicit LayerOfRecords(const PaintContainer& list) : marks_(list.LayerMarks()) {}
    int At(size_t offset) {
        while (mark_ < marks_.size() && static_cast<size_t>(marks_[mark_].offset) <= offset)
            layer_ = marks_[mark_++].layer;
        return layer_;
    }

private:
    const std::vector<LayerMark>& marks_;
    size_t mark_ = 0;
    int layer_ = kLayerStructure;
};

// A scene point as a point of the drawing: the centre added back, y up.
struct DrawingPoints {
    Vec2 offset;
    Vec2 operator()(Vec2 scene) const { return {scene.x + offset.x, -(scene.y + offset.y)}; }
};

DrawingPoints PointsOf(const ViewMatrix& view) {
    const Vec3 c = view.Centre();
    return {{view.R(0, 0) * c.x + view.R(0, 1) * c.y + view.R(0, 2) * c.z,
             view.R(1, 0) * c.x + view.R(1, 1) * c.y + view.R(1, 2) * c.z}};
}

// 0x00BBGGRR as DXF's true colour 0x00RRGGBB.
int TrueColour(Colour colour) {
    const unsigned c = static_cast<unsigned>(colour) & 0xFFFFFFu;
    return static_cast<int>(((c & 0xFF) << 16) | (c & 0xFF00) | (c >> 16));
}

DL_Attributes Attributes(int layer, Colour colour) {
    // Colour 256: by layer, refined by the true colour.
    return DL_Attributes(kLayerNames[layer], 256, TrueColour(colour), -1, "BYLAYER");
}

void WriteTables(DL_Dxf& dxf, DL_WriterA& dw) {
    dxf.writeHeader(dw);
    dw.sectionEnd();
    dw.sectionTables();
    dxf.writeVPort(dw);
    dw.tableLinetypes(3);
    dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "BYBLOCK", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "BYLAYER", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Continuous", 0, 0, 0.0));
    dw.tableEnd();
    dw.tableLayers(kDrawingLayerCount + 1);
    dxf.writeLayer(dw, DL_LayerData("0", 0), DL_Attributes("", 7, 0, 100, "CONTINUOUS"));
    for (int layer = 0; layer < kDrawingLayerCount; ++layer)
        dxf.writeLayer(dw, DL_LayerData(kLayerNames[layer], 0),
                       DL_Attributes("", kLayerColours[layer], 0, -1, "CONTINUOUS"));
    dw.tableEnd();
    dw.tableStyle(1);
    // dxflib keeps the handle of the style named "Standard" (so spelt) for the
    // dimension style's text style; under another name it writes a handle it
    // never set.
    dxf.writeStyle(dw, DL_StyleData("Standard", 0, 2.5, 1.0, 0.0, 0, 2.5, "txt", ""));
    dw.tableEnd();
    dxf.writeView(dw);
    dxf.writeUcs(dw);
    dw.tableAppid(1);
    dxf.writeAppid(dw, "ACAD");
    dw.tableEnd();
    dxf.writeDimStyle(dw, 1, 1, 1, 1, 1);
    dxf.writeBlockRecord(dw);
    dw.tableEnd();
    dw.sectionEnd();
    dw.sectionBlocks();
    for (const char* block : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
        dxf.writeBlock(dw, DL_BlockData(block, 0, 0.0, 0.0, 0.0));
        dxf.writeEndBlock(dw, block);
    }
    dw.sectionEnd();
}

void WriteHatch(DL_Dxf& dxf, DL_WriterA& dw, const std::vector<Vec2>& points,
                const DL_Attributes& attributes) {
    const DL_HatchData hatch(1, true, 1.0, 0.0, "SOLID");
    dxf.writeHatch1(dw, hatch, attributes);
    const DL_HatchLoopData loop(static_cast<int>(points.size()));
    dxf.writeHatchLoop1(dw, loop);
    for (size_t i = 0; i < points.size(); ++i) {
        const Vec2 a = points[i], b = points[(i + 1) % points.size()];
        dxf.writeHatchEdge(dw, DL_HatchEdgeData(a.x, a.y, b.x, b.y));
    }
    dxf.writeHatchLoop2(dw, loop);
    dxf.writeHatch2(dw, hatch, attributes);
}

// The records as entities; pen and brush records set the colours.
void WriteEntities(DL_Dxf& dxf, DL_WriterA& dw, const PaintContainer& list,
                   const DrawingPoints& map) {
    RecordCursor records(list);
    LayerOfRecords layers(list);
    Colour pen = 0, brush = 0xFFFFFF;
    std::vector<Vec2> points;
    while (records.Has(4)) {
        const int layer = layers.At(records.Offset());
        switch (records.Read<std::int32_t>()) {
        case kPaintLine: {
            const Vec2 a = map(records.ReadPoint()), b = map(records.ReadPoint());
            dxf.writeLine(dw, DL_LineData(a.x, a.y, 0.0, b.x, b.y, 0.0), Attributes(layer, pen));
            break;
        }
        case kPaintPolygon: {
            const auto n = records.Read<std::int32_t>();
            points.resize(static_cast<size_t>(std::max(n, 0)));
            for (Vec2& p : points)
                p = map(records.ReadPoint());
            if (points.size() >= 3)
                WriteHatch(dxf, dw, points, Attributes(layer, brush));
            break;
        }
        case kPaintBrush:
            brush = records.Read<Colour>();
            break;
        case kPaintPenColour:
            pen = records.Read<Colour>();
            break;
        case kPaintPenWidth:
            records.Read<double>();
            break;
        default:
            return;
        }
    }
}

std::string TemporaryFile() {
    std::error_code error;
    std::string pattern =
        (std::filesystem::temp_directory_path(error) / "balkor-dxf.XXXXXX").string();
    const int fd = error ? -1 : ::mkstemp(pattern.data());
    if (fd < 0)
        return {};
    ::close(fd);
    return pattern;
}

} // namespace

const char* DxfLayerName(int layer) {
    return kLayerNames[layer];
}

bool DrawingDxf(const PaintContainer& list, const ViewMatrix& view, std::string& text) {
    const std::string file = TemporaryFile();
    if (file.empty())
        return false;
    bool ok = false;
    {
        DL_Dxf dxf;
        DL_WriterA* dw = dxf.out(file.c_str(), DL_Codes::AC1015);
        if (dw) {
            WriteTables(dxf, *dw);
            dw->sectionEntities();
            WriteEntities(dxf, *dw, list, PointsOf(view));
            dw->sectionEnd();
            dxf.writeObjects(*dw);
            dxf.writeObjectsEnd(*dw);
            dw->dxfEOF();
            dw->close();
            delete dw;
            std::ifstream in(file, std::ios::binary);
            text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            ok = in.is_open() && !in.bad();
        }
    }
    std::error_code error;
    std::filesystem::remove(file, error);
    return ok;
}
