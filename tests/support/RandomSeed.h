#pragma once

#include <QRandomGenerator>
#include <QtGlobal>

// The seed of a seeded random test: BALKOR_SEED when set, so that a failed
// run (its message prints the seed) can be repeated, else a fresh one.
inline quint32 RandomTestSeed() {
    return qEnvironmentVariableIsSet("BALKOR_SEED") ? qEnvironmentVariableIntValue("BALKOR_SEED")
                                                    : QRandomGenerator::global()->generate();
}
