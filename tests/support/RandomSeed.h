#pragma once

#include "support/TestSeed.h"

#include <QString>
#include <QtGlobal>

// The seed of a seeded random Qt test, by the rule of TestSeed().
inline quint32 RandomTestSeed() {
    return TestSeed();
}

inline QString SeedNote(quint32 seed) {
    return QString::fromStdString(SeedTrace(seed));
}
