#!/usr/bin/python3
"""Independent writer and reader of the exchange tests (ezdxf, openpyxl).

write-dxf KIND OUT   writes a test drawing of that kind
read-dxf FILE        prints {"layers": [...], "lines": {layer: [[x1, y1, x2, y2], ...]},
                     "hatches": {layer: count}} of the model space
read-xlsx FILE       prints {sheet: {"rows": [[...]], "frozen": "A2", "widths": [...]}}
"""
import json
import sys

import ezdxf
import openpyxl


def grid(msp, doc):
    # 3 x 3 nodes, 5 apart in x and 4 in y: the girders as polylines on one
    # layer, the cross beams as lines on another, their ends a little off
    # (1e-6, far below the tolerance).
    doc.layers.add('Traeger')
    doc.layers.add('Quertraeger')
    for j in range(3):
        msp.add_lwpolyline([(0, 4 * j), (5, 4 * j), (10, 4 * j)], dxfattribs={'layer': 'Traeger'})
    for i in range(3):
        for j in range(2):
            msp.add_line((5 * i + 1e-6, 4 * j), (5 * i, 4 * j + 4), dxfattribs={'layer': 'Quertraeger'})


def crossing(msp, doc):
    # A cross of two lines meeting at (5, 0) and a line ending on the first at (2, 0).
    msp.add_line((0, 0), (10, 0))
    msp.add_line((5, -5), (5, 5))
    msp.add_line((2, 0), (2, 4))


def closed(msp, doc):
    msp.add_lwpolyline([(0, 0), (6, 0), (6, 3), (0, 3)], close=True)


def three_d(msp, doc):
    msp.add_line((0, 0, 0), (10, 0, 0))
    msp.add_line((0, 0, 0), (0, 5, 3))


def raised(msp, doc):
    msp.add_line((0, 0, 2), (10, 0, 2))
    msp.add_line((10, 0, 2), (10, 5, 2))


def circles(msp, doc):
    msp.add_circle((0, 0), 3)


def write_dxf(kind, out):
    doc = ezdxf.new('R2000')
    globals()[kind](doc.modelspace(), doc)
    doc.saveas(out)


def read_dxf(path):
    doc = ezdxf.readfile(path)
    lines, hatches = {}, {}
    for e in doc.modelspace():
        if e.dxftype() == 'LINE':
            s, t = e.dxf.start, e.dxf.end
            lines.setdefault(e.dxf.layer, []).append([s.x, s.y, t.x, t.y])
        elif e.dxftype() == 'HATCH':
            hatches[e.dxf.layer] = hatches.get(e.dxf.layer, 0) + 1
    return {'layers': [layer.dxf.name for layer in doc.layers], 'lines': lines, 'hatches': hatches}


def read_xlsx(path):
    book = openpyxl.load_workbook(path)
    sheets = {}
    for sheet in book.worksheets:
        widths = [sheet.column_dimensions[openpyxl.utils.get_column_letter(c)].width
                  for c in range(1, sheet.max_column + 1)]
        rows = [[cell.value for cell in row] for row in sheet.iter_rows()]
        sheets[sheet.title] = {'rows': rows, 'frozen': sheet.freeze_panes, 'widths': widths}
    return sheets


if __name__ == '__main__':
    command = sys.argv[1]
    if command == 'write-dxf':
        write_dxf(sys.argv[2], sys.argv[3])
    elif command == 'read-dxf':
        print(json.dumps(read_dxf(sys.argv[2])))
    elif command == 'read-xlsx':
        print(json.dumps(read_xlsx(sys.argv[2])))
