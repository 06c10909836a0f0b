#include "TestRegistry.h"
#include "ui/BalkorApplication.h"

#include <QTest>
#include <cstring>

std::vector<RegisteredTest>& RegisteredTests() {
    static std::vector<RegisteredTest> tests;
    return tests;
}

// test_ui [TestClass [Qt Test options]]: runs one test class, or all.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
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
    return found ? (failures > 0 ? 1 : 0) : 2;
}
