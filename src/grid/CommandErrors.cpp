#include "grid/CommandErrors.h"

#include <cstdio>
#include <exception>
#include <new>

namespace {
std::function<void(const QString&)>& ErrorHook() {
    static std::function<void(const QString&)> hook;
    return hook;
}
} // namespace

QString CurrentErrorMessage() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Nicht genügend Speicher");
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("Unbekannter Fehler");
    }
}

void ReportCommandError(const QString& message) {
    if (ErrorHook())
        ErrorHook()(message);
    else
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

std::function<void(const QString&)> SetCommandErrorHook(std::function<void(const QString&)> hook) {
    std::function<void(const QString&)> previous = std::move(ErrorHook());
    ErrorHook() = std::move(hook);
    return previous;
}
