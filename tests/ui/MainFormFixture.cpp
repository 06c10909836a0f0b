#include "MainFormFixture.h"

#include <QFile>

QString WriteTextFile(const QString& path, const char* text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text);
    return path;
}

const char* const kTwoSpanSystem = "NODES\r\n3\r\n"
                                   "    1 0.0 0.0 1 1 0 0.0\r\n"
                                   "    2 6.0 0.0 1 0 0 0.0\r\n"
                                   "    3 12.0 0.0 1 1 0 0.0\r\n\r\n"
                                   "BEAMS\r\n2\r\n"
                                   "    1 1 2 1 3.0e-01 6\r\n"
                                   "    2 2 3 1 3.0e-01 6\r\n\r\n"
                                   "MATERIALS\r\n1\r\n"
                                   "    1 2.1e+08 8.1e+07 2.517e-04 1.85e-06 1.2e-05\r\n\r\n"
                                   "HINGES\r\n0\r\n";

const char* const kTwoSpanLoads = "NODELOAD\r\n0\r\n\r\n"
                                  "BEAMLOAD\r\n1\r\n"
                                  "    1 1 2 10.0 10.0 0.0 0.0\r\n\r\n"
                                  "POINTLOAD\r\n0\r\n\r\nCONSTRAINTLOAD\r\n0\r\n\r\n"
                                  "TEMPERATURELOAD\r\n0\r\n\r\nHINGELOAD\r\n0\r\n";

const char* const kUnsupportedSystem = "NODES\r\n3\r\n"
                                       "    1 0.0 0.0 0 0 0 0.0\r\n"
                                       "    2 6.0 0.0 0 0 0 0.0\r\n"
                                       "    3 12.0 0.0 0 0 0 0.0\r\n\r\n"
                                       "BEAMS\r\n2\r\n"
                                       "    1 1 2 1 3.0e-01 6\r\n"
                                       "    2 2 3 1 3.0e-01 6\r\n\r\n"
                                       "MATERIALS\r\n1\r\n"
                                       "    1 2.1e+08 8.1e+07 2.517e-04 1.85e-06 1.2e-05\r\n\r\n"
                                       "HINGES\r\n0\r\n";

const char* const kBadBeamSystem = "NODES\r\n2\r\n"
                                   "    1 0.0 0.0 1 1 1 0.0\r\n"
                                   "    2 6.0 0.0 1 1 1 0.0\r\n\r\n"
                                   "BEAMS\r\n1\r\n"
                                   "    1 1 5 1 3.0e-01 6\r\n\r\n"
                                   "MATERIALS\r\n1\r\n"
                                   "    1 2.1e+08 8.1e+07 2.517e-04 1.85e-06 1.2e-05\r\n\r\n"
                                   "HINGES\r\n0\r\n";
