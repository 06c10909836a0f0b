#include "batch/BatchOptions.h"

namespace {

struct FileOption {
    const char* name;
    std::string BatchOptions::*target;
};

const FileOption kFileOptions[] = {
    {"--input-protocol", &BatchOptions::inputProtocolFile},
    {"--results", &BatchOptions::resultsFile},
    {"--json", &BatchOptions::jsonFile},
};

const FileOption* FindFileOption(const std::string& name) {
    for (const FileOption& option : kFileOptions)
        if (name == option.name)
            return &option;
    return nullptr;
}

bool IsOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

bool StoreFile(const FileOption& option, const std::string& value, BatchOptions& options,
               std::string& error) {
    if (value.empty()) {
        error = std::string("Option ") + option.name + " verlangt einen Dateinamen";
        return false;
    }
    if (!(options.*option.target).empty()) {
        error = std::string("Option ") + option.name + " ist mehrfach angegeben";
        return false;
    }
    options.*option.target = value;
    return true;
}

bool StorePositional(const std::string& arg, BatchOptions& options, std::string& error) {
    if (options.systemFile.empty() && !arg.empty())
        options.systemFile = arg;
    else if (options.loadCaseFile.empty() && !arg.empty())
        options.loadCaseFile = arg;
    else {
        error = arg.empty() ? "Leerer Dateiname" : "Zu viele Argumente: " + arg;
        return false;
    }
    return true;
}

} // namespace

bool ParseBatchArguments(const std::vector<std::string>& args, BatchOptions& options,
                         std::string& error) {
    options = BatchOptions();
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !IsOption(arg)) {
            if (!StorePositional(arg, options, error))
                return false;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
            return true;
        } else if (arg == "--quiet" || arg == "-q") {
            options.quiet = true;
        } else {
            const size_t equals = arg.find('=');
            const std::string name = arg.substr(0, equals);
            const FileOption* option = FindFileOption(name);
            if (!option) {
                error = "Unbekannte Option: " + arg;
                return false;
            }
            if (equals != std::string::npos) {
                if (!StoreFile(*option, arg.substr(equals + 1), options, error))
                    return false;
            } else if (i + 1 >= args.size()) {
                error = "Option " + name + " verlangt einen Dateinamen";
                return false;
            } else if (!StoreFile(*option, args[++i], options, error)) {
                return false;
            }
        }
    }
    if (options.systemFile.empty()) {
        error = "Keine Systemdatei angegeben";
        return false;
    }
    return true;
}

const char* BatchUsage() {
    return "Aufruf: balkor-batch SYSTEM.bsy [LASTFALL.bld] [Optionen]\n"
           "\n"
           "Liest System und Lastfall (ohne Lastfalldatei: leerer Lastfall), prüft die\n"
           "Eingaben, berechnet den Trägerrost und schreibt die verlangten Protokolle.\n"
           "Ohne Ausgabeoption geht das Ergebnisprotokoll auf die Standardausgabe.\n"
           "\n"
           "Optionen:\n"
           "  --input-protocol DATEI  Eingabeprotokoll in DATEI schreiben\n"
           "  --results DATEI         Ergebnisprotokoll in DATEI schreiben\n"
           "  --json DATEI            Ergebnisse als JSON in DATEI schreiben\n"
           "  --quiet, -q             keine Berechnungsstufen und Zähler auf stderr\n"
           "  --help, -h              diese Hilfe\n"
           "DATEI \"-\" ist die Standardausgabe.\n"
           "\n"
           "Rückgabewerte:\n"
           "  0  Berechnung erfolgreich, alle Ausgaben geschrieben\n"
           "  1  Fehler, der die Berechnung abbricht (z. B. nicht genug Speicher)\n"
           "  2  falscher Aufruf (unbekannte Option, fehlendes Argument)\n"
           "  3  Systemdatei kann nicht gelesen werden\n"
           "  4  Lastfalldatei kann nicht gelesen werden\n"
           "  5  Eingabefehler (Plausibilitätskontrolle)\n"
           "  6  Widerspruch in den Randbedingungen\n"
           "  7  singuläre Steifigkeitsmatrix (verschiebliches System)\n"
           "  8  Ausgabedatei kann nicht geschrieben werden\n";
}
