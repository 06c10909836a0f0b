// A deliberate leak in a slot, for the sanitizer build: the leak checker
// with the project's suppressions must report it. Guards against
// suppressions that match every stack passing through Qt, which would hide
// our own leaks in slots, event handlers and timers.
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

namespace {
struct Forgotten {
    int payload[64];
};
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTimer::singleShot(0, &app, [&app] {
        auto* lost = new Forgotten{};
        std::printf("allocated %p in a slot and forgot it\n", static_cast<void*>(lost));
        app.quit();
    });
    return app.exec();
}
