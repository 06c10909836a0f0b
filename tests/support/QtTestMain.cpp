// The main of every Qt Test program: runs the test class named on the command
// line, or all of them; "--list" prints the registered classes, one a line,
// which is how the build learns the CTest entries (no second list to forget).
#include "support/QtTestRegistry.h"
#include "ui/BalkorApplication.h"

#include <QTest>
#include <cstdio>
#include <cstring>

std::vector<RegisteredTest>& RegisteredTests() {
    static std::vector<RegisteredTest> tests;
    return tests;
}

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--list") == 0) {
        for (const RegisteredTest& test : RegisteredTests())
            std::printf("%s\n", test.name.c_str());
        return 0;
    }
    // Offscreen unless a display was chosen (screenshots under Xvfb).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    BalkorApplication app(argc, argv);
    const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
    std::vector<char*> args = {argv[0]};
    for (int i = only ? 2 : 1; i < argc; ++i)
        args.push_back(argv[i]);
    int failures = 0;
    bool found = false;
    for (const RegisteredTest& test : RegisteredTests()) {
        if (only && test.name != only)
            continue;
        found = true;
        std::unique_ptr<QObject> object = test.make();
        failures += QTest::qExec(object.get(), static_cast<int>(args.size()), args.data());
    }
    if (!found) {
        std::fprintf(stderr, "%s: no test class named %s\n", argv[0], only ? only : "(any)");
        return 2;
    }
    return failures > 0 ? 1 : 0;
}
