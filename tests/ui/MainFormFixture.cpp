#include "MainFormFixture.h"

#include <QFile>

QString WriteTextFile(const QString& path, const char* text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text);
    return path;
}
