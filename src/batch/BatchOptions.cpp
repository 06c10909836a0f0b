#include "batch/BatchOptions.h"

#include "project/Project.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <iterator>

namespace {

// Options whose value is a file name stored in a field.
struct FileOption {
    const char* name;
    std::string BatchOptions::*target;
};

const FileOption kFileOptions[] = {
    {"--input-protocol", &BatchOptions::inputProtocolFile},
    {"--results", &BatchOptions::resultsFile},
    {"--json", &BatchOptions::jsonFile},
    {"--csv", &BatchOptions::csvFolder},
    {"--xlsx", &BatchOptions::xlsxFile},
    {"--settings", &BatchOptions::settingsFile},
    {"--generate", &BatchOptions::deckFile},
    {"--write-system", &BatchOptions::systemOutputFile},
    {"--write-project", &BatchOptions::projectOutputFile},
    {"--import-dxf", &BatchOptions::dxfImportFile},
};

const FileOption* FindFileOption(const std::string& name) {
    for (const FileOption& option : kFileOptions)
        if (name == option.name)
            return &option;
    return nullptr;
}

// Options of a picture: --svg starts one, the others set the last one.
struct PictureOption {
    const char* name;
    const char* wants; // what the value is, for the message when it is missing
    bool (*store)(const std::string& value, BatchOptions& options, std::string& error);
};

std::string Names(const char* const* names, size_t count) {
    std::string list;
    for (size_t i = 0; i < count; ++i)
        list += (i ? ", " : "") + std::string(names[i]);
    return list;
}

std::string ViewNames() {
    const char* names[kSceneTabCount];
    for (int tab = 0; tab < kSceneTabCount; ++tab)
        names[tab] = kSceneTabs[tab].name;
    return Names(names, kSceneTabCount);
}

std::string ToggleNames() {
    const char* names[std::size(kDisplayToggles)];
    for (size_t i = 0; i < std::size(kDisplayToggles); ++i)
        names[i] = kDisplayToggles[i].hint;
    return Names(names, std::size(kDisplayToggles));
}

// "Beschriftung entzerren" and "Legende": toggles of the picture's layout.
bool StoreLayoutToggle(const std::string& name, bool off, SvgPicture& picture) {
    for (const LayoutToggle& t : kLayoutToggles)
        if (name == t.hint) {
            picture.layout =
                static_cast<LayoutFlags>(off ? picture.layout & ~t.flag : picture.layout | t.flag);
            return true;
        }
    return false;
}

// The picture an option after --svg belongs to; null with a message when
// no --svg came before it.
SvgPicture* CurrentPicture(const char* name, BatchOptions& options, std::string& error) {
    if (options.pictures.empty()) {
        error = std::string("Option ") + name + " gehört zu einem Bild: zuerst --svg DATEI angeben";
        return nullptr;
    }
    return &options.pictures.back();
}

bool Once(bool& given, const char* name, std::string& error) {
    if (given) {
        error = std::string("Option ") + name + " ist für ein Bild mehrfach angegeben";
        return false;
    }
    given = true;
    return true;
}

bool StoreSvg(const std::string& value, BatchOptions& options, std::string&) {
    SvgPicture picture;
    picture.file = value;
    options.pictures.push_back(picture);
    return true;
}

bool StoreDxf(const std::string& value, BatchOptions& options, std::string& error) {
    StoreSvg(value, options, error);
    options.pictures.back().dxf = true;
    return true;
}

bool StoreView(const std::string& value, BatchOptions& options, std::string& error) {
    SvgPicture* picture = CurrentPicture("--view", options, error);
    if (!picture || !Once(picture->viewGiven, "--view", error))
        return false;
    picture->tab = FindSceneTab(value);
    if (picture->tab < 0) {
        error = "Unbekannte Ansicht: " + value + " (" + ViewNames() + ")";
        return false;
    }
    return true;
}

// "Name" switches a toggle on, "-Name" off ("+Name" on as well); later
// entries win.
bool StoreShow(const std::string& value, BatchOptions& options, std::string& error) {
    SvgPicture* picture = CurrentPicture("--show", options, error);
    if (!picture)
        return false;
    size_t start = 0;
    while (start <= value.size()) {
        const size_t comma = std::min(value.find(',', start), value.size());
        std::string name = value.substr(start, comma - start);
        start = comma + 1;
        const bool off = !name.empty() && name[0] == '-';
        if (!name.empty() && (name[0] == '-' || name[0] == '+'))
            name.erase(0, 1);
        const DisplayToggle* toggle = nullptr;
        for (const DisplayToggle& t : kDisplayToggles)
            if (name == t.hint)
                toggle = &t;
        if (!toggle && StoreLayoutToggle(name, off, *picture))
            continue;
        if (!toggle) {
            error = "Unbekannter Schalter: " + (name.empty() ? "\"\"" : name) + " (" +
                    ToggleNames() + ")";
            return false;
        }
        DisplayFlags& set = off ? picture->off : picture->on;
        DisplayFlags& cleared = off ? picture->on : picture->off;
        set |= toggle->flag;
        cleared &= static_cast<DisplayFlags>(~toggle->flag);
    }
    return true;
}

// A side of a picture: digits only, 1 to kMaxPictureSide.
bool ParseSide(std::string_view text, int& side) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), side);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && !text.empty() &&
           text[0] != '-' && text[0] != '+' && side >= 1 && side <= kMaxPictureSide;
}

bool StoreSize(const std::string& value, BatchOptions& options, std::string& error) {
    SvgPicture* picture = CurrentPicture("--size", options, error);
    if (!picture || !Once(picture->sizeGiven, "--size", error))
        return false;
    const size_t x = value.find('x');
    if (x == std::string::npos ||
        !ParseSide(std::string_view(value).substr(0, x), picture->width) ||
        !ParseSide(std::string_view(value).substr(x + 1), picture->height)) {
        error = "Ungültige Bildgröße: " + value + " (BREITExHÖHE in Bildpunkten, 1 bis " +
                std::to_string(kMaxPictureSide) + ", z. B. 1200x800)";
        return false;
    }
    return true;
}

bool StoreCase(const std::string& value, BatchOptions& options, std::string& error) {
    SvgPicture* picture = CurrentPicture("--case", options, error);
    if (!picture || !Once(picture->caseGiven, "--case", error))
        return false;
    picture->caseName = value;
    return true;
}

bool StoreCombination(const std::string& value, BatchOptions& options, std::string&) {
    options.combinations.push_back(value);
    return true;
}

bool StoreEnvelope(const std::string& value, BatchOptions& options, std::string&) {
    options.envelopes.push_back(value);
    return true;
}

// The options with a value that is no file name (the picture options, and
// the expressions, which may be given several times).
const PictureOption kPictureOptions[] = {
    {"--svg", "einen Dateinamen", StoreSvg},
    {"--dxf", "einen Dateinamen", StoreDxf},
    {"--view", "eine Ansicht", StoreView},
    {"--show", "eine Liste von Schaltern", StoreShow},
    {"--size", "eine Größe", StoreSize},
    {"--case", "einen Lastfall, eine Kombination oder eine Umhüllende", StoreCase},
    {"--combination", "einen Ausdruck NAME=FAKTOR*LASTFALL+...", StoreCombination},
    {"--envelope", "einen Ausdruck NAME=LASTFALL:SUP/INF+...", StoreEnvelope},
};

const PictureOption* FindPictureOption(const std::string& name) {
    for (const PictureOption& option : kPictureOptions)
        if (name == option.name)
            return &option;
    return nullptr;
}

bool IsOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

bool StoreFile(const FileOption& option, const std::string& value, BatchOptions& options,
               std::string& error) {
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
    else if (!arg.empty() && options.deckFile.empty())
        options.moreLoadCaseFiles.push_back(arg);
    else {
        error = arg.empty() ? "Leerer Dateiname" : "Zu viele Argumente: " + arg;
        return false;
    }
    return true;
}

// An option with a value: "--name=value" or "--name value".
bool StoreValueOption(const std::vector<std::string>& args, size_t& i, BatchOptions& options,
                      std::string& error) {
    const std::string& arg = args[i];
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const FileOption* file = FindFileOption(name);
    const PictureOption* picture = file ? nullptr : FindPictureOption(name);
    if (!file && !picture) {
        error = "Unbekannte Option: " + arg;
        return false;
    }
    std::string value;
    if (equals != std::string::npos)
        value = arg.substr(equals + 1);
    else if (i + 1 < args.size())
        value = args[++i];
    if (value.empty()) {
        error = "Option " + name + " verlangt " + (file ? "einen Dateinamen" : picture->wants);
        return false;
    }
    return file ? StoreFile(*file, value, options, error) : picture->store(value, options, error);
}

bool CheckSystemFileGiven(const BatchOptions& options, std::string& error) {
    if (options.systemFile.empty()) {
        error = "Keine Systemdatei angegeben";
        return false;
    }
    return true;
}

// With --generate or --import-dxf, the description or the drawing takes the
// system file's place.
bool TakeLoadCaseOfDeck(BatchOptions& options, std::string& error) {
    if (!options.moreLoadCaseFiles.empty()) {
        error = "Zu viele Argumente: " + options.moreLoadCaseFiles.front() +
                " (mit --generate nur LASTFALL.bld)";
        return false;
    }
    if (!options.loadCaseFile.empty()) {
        error = "Zu viele Argumente: " + options.loadCaseFile + " (mit " +
                (options.deckFile.empty() ? "--import-dxf" : "--generate") + " nur LASTFALL.bld)";
        return false;
    }
    options.loadCaseFile = std::move(options.systemFile);
    options.systemFile.clear();
    return true;
}

bool EndsWithProjectExtension(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string end = path.substr(path.size() - 4);
    for (char& c : end)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == ".bpj";
}

// PROJECT.bpj stands alone: its load cases are named in it.
bool TakeProject(BatchOptions& options, std::string& error) {
    if (!EndsWithProjectExtension(options.systemFile))
        return true;
    if (!options.loadCaseFile.empty()) {
        error = "Zu viele Argumente: " + options.loadCaseFile +
                " (mit PROJEKT.bpj keine weiteren Dateien)";
        return false;
    }
    options.projectFile = std::move(options.systemFile);
    options.systemFile.clear();
    return true;
}

// The expressions of a run without project file, against the load cases
// given (none given: the one empty load case).
bool CheckExpressions(const BatchOptions& options, std::string& error) {
    if (!options.projectFile.empty())
        return true;
    const int cases = 1 + static_cast<int>(options.moreLoadCaseFiles.size());
    std::vector<Combination> combinations;
    for (const std::string& text : options.combinations) {
        Combination combination;
        ExpressionError e;
        if (!ParseCombination(text, cases, combination, e)) {
            error = ExpressionMessage("--combination", text, e);
            return false;
        }
        combinations.push_back(combination);
    }
    for (const std::string& text : options.envelopes) {
        Envelope envelope;
        if (options.traffic.Moving()) {
            if (!ParseEnvelopeOption(text, options.traffic.envelopeName, cases,
                                     static_cast<int>(combinations.size()), envelope, error))
                return false;
            continue;
        }
        ExpressionError e;
        if (!ParseEnvelope(text, cases, static_cast<int>(combinations.size()), envelope, e)) {
            error = ExpressionMessage("--envelope", text, e);
            return false;
        }
    }
    return true;
}

// --dxf-tolerance T: a length > 0 in the drawing's units.
bool StoreTolerance(const std::vector<std::string>& args, size_t& i, BatchOptions& options,
                    std::string& error) {
    const std::string& arg = args[i];
    const size_t equals = arg.find('=');
    std::string value;
    if (equals != std::string::npos)
        value = arg.substr(equals + 1);
    else if (i + 1 < args.size())
        value = args[++i];
    double tolerance = 0.0;
    const auto result = std::from_chars(value.data(), value.data() + value.size(), tolerance);
    if (value.empty() || result.ec != std::errc() || result.ptr != value.data() + value.size() ||
        !(tolerance > 0) || !std::isfinite(tolerance)) {
        error = "Option --dxf-tolerance verlangt eine Länge größer als 0 (z. B. 0.01)" +
                (value.empty() ? std::string() : ": " + value);
        return false;
    }
    options.dxfTolerance = tolerance;
    return true;
}

// The options of the import belong to it; a system is made in one way.
bool CheckImportOptions(const BatchOptions& options, std::string& error) {
    if (options.dxfImportFile.empty() && (options.dxfSplit || options.dxfTolerance > 0)) {
        error = "Die Optionen --dxf-tolerance und --dxf-split gehören zu --import-dxf";
        return false;
    }
    if (!options.dxfImportFile.empty() && !options.deckFile.empty()) {
        error = "Die Optionen --generate und --import-dxf schließen einander aus";
        return false;
    }
    return true;
}

// A folder or a workbook cannot go to standard output.
bool CheckSpreadsheetTargets(const BatchOptions& options, std::string& error) {
    for (const auto& [name, value] :
         {std::pair{"--csv", &options.csvFolder}, std::pair{"--xlsx", &options.xlsxFile}})
        if (*value == "-") {
            error = std::string("Option ") + name + " schreibt nicht auf die Standardausgabe";
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
        } else if (IsTrafficOption(arg)) {
            if (!StoreTrafficOption(args, i, options.traffic, error))
                return false;
        } else if (arg == "--dxf-split") {
            options.dxfSplit = true;
        } else if (arg == "--dxf-tolerance" || arg.starts_with("--dxf-tolerance=")) {
            if (!StoreTolerance(args, i, options, error))
                return false;
        } else if (!StoreValueOption(args, i, options, error)) {
            return false;
        }
    }
    if (!CheckSpreadsheetTargets(options, error) || !CheckImportOptions(options, error))
        return false;
    if (!(options.SystemMade() ? TakeLoadCaseOfDeck(options, error)
                               : CheckSystemFileGiven(options, error)))
        return false;
    return TakeProject(options, error) && CheckTrafficOptions(options.traffic, error) &&
           CheckExpressions(options, error);
}

const char* BatchUsage() {
    return "Aufruf: balkor-batch SYSTEM.bsy [LASTFALL.bld] [LASTFALL2.bld ...] [Optionen]\n"
           "       balkor-batch PROJEKT.bpj [Optionen]\n"
           "       balkor-batch --generate DECK.json [LASTFALL.bld] [Optionen]\n"
           "       balkor-batch --import-dxf ZEICHNUNG.dxf [LASTFALL.bld] [Optionen]\n"
           "\n"
           "Liest System und Lastfälle (ohne Lastfalldatei: leerer Lastfall) oder ein\n"
           "Projekt, prüft die Eingaben, berechnet den Trägerrost und schreibt die\n"
           "verlangten Protokolle. Ohne Ausgabeoption geht das Ergebnisprotokoll auf\n"
           "die Standardausgabe.\n"
           "\n"
           "Optionen:\n"
           "  --input-protocol DATEI  Eingabeprotokoll in DATEI schreiben\n"
           "  --results DATEI         Ergebnisprotokoll in DATEI schreiben\n"
           "  --json DATEI            Ergebnisse als JSON in DATEI schreiben\n"
           "  --csv ORDNER            Ergebnistabellen als CSV-Dateien in ORDNER schreiben\n"
           "  --xlsx DATEI            Ergebnistabellen als Excel-Arbeitsmappe in DATEI\n"
           "  --svg DATEI             Bild als SVG in DATEI schreiben: was ein neues\n"
           "                          Grafikfenster nach \"Berechnen\" zeigt. Mehrfach\n"
           "                          möglich, ein Bild je --svg; die folgenden vier\n"
           "                          Optionen gelten für das zuletzt genannte Bild:\n"
           "    --view ANSICHT        Geometrie (Vorgabe), Biegelinie, Querkraft,\n"
           "                          Biegemoment oder Torsionsmoment\n"
           "    --show LISTE          Schalter der Werkzeugleiste, durch Kommas getrennt:\n"
           "                          NAME schaltet ein, -NAME aus. Namen: Achsenkreuz,\n"
           "                          Knotennummern, Stabnummern, Gelenknummern,\n"
           "                          Materialnummern, Wertangaben, Funktionsextrema,\n"
           "                          Belastung, Auflager, Auflagerkräfte, Beschriftung\n"
           "                          entzerren, Legende (diese zwei sind hier aus)\n"
           "    --size BxH            Größe in Bildpunkten (Vorgabe 1200x800)\n"
           "    --case NAME|K         Lastfall K (Nummer oder Name), Kombination oder\n"
           "                          Umhüllende NAME (Vorgabe: der erste Lastfall);\n"
           "                          eine Umhüllende zeigt Maximum und Minimum\n"
           "  --combination \"NAME=1.35*1+1.5*3\"\n"
           "                          Kombination der Lastfälle nach ihrer Stellung\n"
           "                          (mehrfach möglich)\n"
           "  --envelope \"NAME=1:1.35/1.0+C1:1.5/0+(3|4|5):1.5/0\"\n"
           "                          Umhüllende: Glieder K (Lastfall) oder CJ\n"
           "                          (Kombination J) mit ungünstigem/günstigem Faktor,\n"
           "                          (A|B|...) schließen einander aus (mehrfach möglich)\n"
           "  --vehicle NAME|DATEI|point:WERT\n"
           "                          Fahrzeug: LM1-TS1, LM1-TS2, LM1-TS3, LM2, HL93,\n"
           "                          eine Fahrzeugdatei (.bfz) oder eine Einzellast\n"
           "                          WERT in kN; Lagen in m, Radlasten in kN\n"
           "  --lane \"x1,y1;x2,y2;...\" Fahrspur in m (mehrfach möglich)\n"
           "  --step LÄNGE            Schrittweite der Laststellungen in m\n"
           "  --both-directions       jede Spur auch in Gegenrichtung befahren\n"
           "  --traffic-envelope NAME Name der Verkehrsgruppe (Vorgabe Verkehr), in\n"
           "                          --envelope als Glied NAME:SUP/INF\n"
           "  --influence \"M:beam=12:xi=0.5\"\n"
           "                          Einflussfläche von M, Q oder T an der Stelle xi\n"
           "                          eines Stabes, w:node=N oder R:node=N (mehrfach);\n"
           "                          mit Verkehr nur --json und --svg (--case NAME,\n"
           "                          NAME:worst oder die Einflussgröße)\n"
           "  --dxf DATEI             dasselbe Bild als DXF-Zeichnung in DATEI, eine Ebene\n"
           "                          je Inhalt, in Modellkoordinaten; --view, --show wie\n"
           "                          bei --svg\n"
           "  --generate DECK.json    System als Trägerrost aus der Beschreibung\n"
           "                          DECK.json erzeugen statt aus SYSTEM.bsy lesen\n"
           "  --write-system DATEI    System in DATEI schreiben; ohne Lastfall und\n"
           "                          weitere Ausgaben wird nichts berechnet\n"
           "  --write-project DATEI   System, Lastfälle, Kombinationen und Umhüllende\n"
           "                          als Projektdatei (*.bpj) in DATEI schreiben; ohne\n"
           "                          weitere Ausgaben wird nichts berechnet\n"
           "  --import-dxf DXF        System aus den Linien (LINE, LWPOLYLINE) der\n"
           "                          Zeichnung DXF machen statt aus SYSTEM.bsy lesen\n"
           "    --dxf-tolerance T     Endpunkte näher als T sind ein Knoten (Vorgabe:\n"
           "                          0,001 der Zeichnungsgröße)\n"
           "    --dxf-split           Linien an Kreuzungen teilen\n"
           "  --settings DATEI        Grafikeinstellungen aus DATEI statt aus der\n"
           "                          Einstellungsdatei des Programms balkor\n"
           "  --quiet, -q             keine Berechnungsstufen und Zähler auf stderr\n"
           "  --help, -h              diese Hilfe\n"
           "DATEI \"-\" ist die Standardausgabe. Bilder der Ergebnisse entstehen nur nach\n"
           "einer erfolgreichen Berechnung; Geometrie-Bilder auch nach einem Fehler.\n"
           "\n"
           "Rückgabewerte:\n"
           "  0  Berechnung erfolgreich, alle Ausgaben geschrieben\n"
           "  1  Fehler, der die Berechnung abbricht (z. B. nicht genug Speicher)\n"
           "  2  falscher Aufruf (unbekannte Option, fehlendes Argument, eine Ausgabe,\n"
           "     die eine Eingabe oder eine andere Ausgabe überschriebe)\n"
           "  3  System-, Projektdatei oder Trägerrostbeschreibung nicht lesbar\n"
           "  4  Lastfalldatei kann nicht gelesen werden\n"
           "  5  Eingabefehler (Plausibilitätskontrolle)\n"
           "  6  Widerspruch in den Randbedingungen\n"
           "  7  singuläre Steifigkeitsmatrix (verschiebliches System)\n"
           "  8  Ausgabedatei kann nicht geschrieben werden\n"
           "  9  Einstellungsdatei (--settings) kann nicht gelesen werden\n"
           "  10  Berechnungsfehler: Überlauf oder kein Gleichgewicht der Lösung\n";
}
