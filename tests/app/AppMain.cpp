// test_app [TestClass [Qt Test options]]: the viewer's tests and the
// screenshot of the main window after a calculation.
#include "ui/BalkorApplication.h"

#include <QTest>
#include <memory>

std::unique_ptr<QObject> MakeTextorTest();
std::unique_ptr<QObject> MakeScreenshotTest();

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    BalkorApplication app(argc, argv);
    const QByteArray only = argc > 1 && argv[1][0] != '-' ? QByteArray(argv[1]) : QByteArray();
    std::vector<char*> args = {argv[0]};
    for (int i = only.isEmpty() ? 1 : 2; i < argc; ++i)
        args.push_back(argv[i]);
    const std::pair<const char*, std::unique_ptr<QObject> (*)()> tests[] = {
        {"TextorTest", MakeTextorTest}, {"ScreenshotTest", MakeScreenshotTest}};
    int failures = 0;
    for (const auto& [name, make] : tests)
        if (only.isEmpty() || only == name)
            failures += QTest::qExec(make().get(), static_cast<int>(args.size()), args.data());
    return failures > 0 ? 1 : 0;
}
