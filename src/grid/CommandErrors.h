#pragma once

#include <QString>
#include <functional>
#include <utility>

// An error that ends a user's command in a grid (a paste outside the table,
// memory running out while a table grows) is caught where the command starts,
// in the grid's own event handler, and reported here. It must not unwind
// through the toolkit's event dispatch: those frames are not exception-safe
// and leak what they hold.

// The message of the exception being handled: its text, "Nicht genügend
// Speicher" for an allocation failure, "Unbekannter Fehler" for anything
// that is no std::exception. Call only inside a catch block.
QString CurrentErrorMessage();

// Reports the message of an error that ended a command: to the hook when one
// is set (the application shows it in an error box), else on standard error.
void ReportCommandError(const QString& message);

// Replaces the report (an empty function restores standard error) and
// returns the previous hook.
std::function<void(const QString&)> SetCommandErrorHook(std::function<void(const QString&)> hook);

// Runs command; an exception that ends it is reported, not passed on.
template <class Command> void RunCommand(Command&& command) {
    try {
        std::forward<Command>(command)();
    } catch (...) {
        ReportCommandError(CurrentErrorMessage());
    }
}
