#pragma once

// Small system and load-case files in the file format, for the window tests.
// Two beams of 6, supported at 0, 6 and 12.
inline constexpr const char* kTwoSpanSystem =
    "NODES\r\n3\r\n"
    "    1 0.0 0.0 1 1 0 0.0\r\n"
    "    2 6.0 0.0 1 0 0 0.0\r\n"
    "    3 12.0 0.0 1 1 0 0.0\r\n\r\n"
    "BEAMS\r\n2\r\n"
    "    1 1 2 1 3.0e-01 6\r\n"
    "    2 2 3 1 3.0e-01 6\r\n\r\n"
    "MATERIALS\r\n1\r\n"
    "    1 2.1e+08 8.1e+07 2.517e-04 1.85e-06 1.2e-05\r\n\r\n"
    "HINGES\r\n0\r\n";

// One span of 10 m supported at both ends, six intervals: ξ = 0.5 is an
// evaluation point.
inline constexpr double kSimpleSpan = 10.0;
inline constexpr const char* kSimpleSpanSystem =
    "NODES\r\n2\r\n"
    "    1 0.0 0.0 1 1 0 0.0\r\n"
    "    2 10.0 0.0 1 0 0 0.0\r\n\r\n"
    "BEAMS\r\n1\r\n"
    "    1 1 2 1 3.0e-01 6\r\n\r\n"
    "MATERIALS\r\n1\r\n"
    "    1 2.1e+08 8.1e+07 2.517e-04 1.85e-06 1.2e-05\r\n\r\n"
    "HINGES\r\n0\r\n";

// q = 10 on both beams.
inline constexpr const char* kTwoSpanLoads = "NODELOAD\r\n0\r\n\r\n"
                                             "BEAMLOAD\r\n1\r\n"
                                             "    1 1 2 10.0 10.0 0.0 0.0\r\n\r\n"
                                             "POINTLOAD\r\n0\r\n\r\nCONSTRAINTLOAD\r\n0\r\n\r\n"
                                             "TEMPERATURELOAD\r\n0\r\n\r\nHINGELOAD\r\n0\r\n";

// The two beams without any support: a kinematic system.
inline constexpr const char* kUnsupportedSystem =
    "NODES\r\n3\r\n"
    "    1 0.0 0.0 0 0 0 0.0\r\n"
    "    2 6.0 0.0 0 0 0 0.0\r\n"
    "    3 12.0 0.0 0 0 0 0.0\r\n\r\n"
    "BEAMS\r\n2\r\n"
    "    1 1 2 1 3.0e-01 6\r\n"
    "    2 2 3 1 3.0e-01 6\r\n\r\n"
    "MATERIALS\r\n1\r\n"
    "    1 2.1e+08 8.1e+07 2.517e-04 1.85e-06 1.2e-05\r\n\r\n"
    "HINGES\r\n0\r\n";

// A beam to a node that does not exist.
inline constexpr const char* kBadBeamSystem =
    "NODES\r\n2\r\n"
    "    1 0.0 0.0 1 1 1 0.0\r\n"
    "    2 6.0 0.0 1 1 1 0.0\r\n\r\n"
    "BEAMS\r\n1\r\n"
    "    1 1 5 1 3.0e-01 6\r\n\r\n"
    "MATERIALS\r\n1\r\n"
    "    1 2.1e+08 8.1e+07 2.517e-04 1.85e-06 1.2e-05\r\n\r\n"
    "HINGES\r\n0\r\n";
