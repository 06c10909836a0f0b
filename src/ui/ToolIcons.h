#pragma once

#include <QIcon>
#include <QString>

// A toolbar icon from the SVG pictures in the resources: path + ".svg" for the
// normal state, path + "_aus.svg" (when there is one) for the disabled state;
// rendered at 16 × 16 and 32 × 32 pixels, so that it stays sharp on screens
// that scale. path is a resource path without extension, e.g.
// ":/icons/speichern".
QIcon ToolIcon(const QString& path);
