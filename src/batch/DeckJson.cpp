#include "batch/DeckJson.h"

#include "model/SafeFile.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::json;

// A description longer than this is no deck description.
constexpr long kMaxDeckFileBytes = 16L * 1024 * 1024;

// A failed reading step; its text is the message.
struct DeckJsonError {
    std::string message;
};

[[noreturn]] void Fail(const std::string& message) {
    throw DeckJsonError{message};
}

std::string Quoted(const std::string& key) {
    return "\"" + key + "\"";
}

// An object of the description with the path of its key ("" for the root,
// "sections.girder" below).
class DeckObject {
public:
    DeckObject(const Json& json, std::string path) : json_(json), path_(std::move(path)) {
        if (!json.is_object())
            Fail(path_.empty() ? "Die Trägerrostbeschreibung muss ein JSON-Objekt sein"
                               : Quoted(path_) + ": Ein JSON-Objekt erwartet");
    }

    // Refuses every key that is not one of known.
    void AllowOnly(std::initializer_list<const char*> known) const {
        for (const auto& item : json_.items()) {
            bool found = false;
            for (const char* key : known)
                found = found || item.key() == key;
            if (!found)
                Fail("Unbekannter Schlüssel " + Quoted(Key(item.key())));
        }
    }

    bool Has(const char* key) const { return json_.contains(key); }
    const Json& Required(const char* key) const {
        if (!Has(key))
            Fail("Fehlender Schlüssel " + Quoted(Key(key)));
        return json_.at(key);
    }
    std::string Key(const std::string& key) const {
        return path_.empty() ? key : path_ + "." + key;
    }

    double Number(const char* key) const { return NumberOf(Required(key), Key(key)); }
    double Number(const char* key, double fallback) const {
        return Has(key) ? Number(key) : fallback;
    }
    int Integer(const char* key) const { return IntegerOf(Required(key), Key(key)); }
    int Integer(const char* key, int fallback) const { return Has(key) ? Integer(key) : fallback; }
    DeckObject Object(const char* key) const { return DeckObject(Required(key), Key(key)); }

    static double NumberOf(const Json& value, const std::string& key) {
        if (!value.is_number())
            Fail(Quoted(key) + ": Eine Zahl erwartet");
        return value.get<double>();
    }
    static int IntegerOf(const Json& value, const std::string& key) {
        const double number = value.is_number() ? value.get<double>() : 0.5;
        if (!value.is_number() || number != std::floor(number) ||
            std::fabs(number) > std::numeric_limits<int>::max())
            Fail(Quoted(key) + ": Eine ganze Zahl erwartet");
        return static_cast<int>(number);
    }

private:
    const Json& json_;
    std::string path_;
};

DeckSection ReadSection(const DeckObject& sections, const char* name) {
    const DeckObject section = sections.Object(name);
    section.AllowOnly({"E", "G", "Iy", "It", "alphaT"});
    return {section.Number("E"), section.Number("G"), section.Number("Iy"), section.Number("It"),
            section.Number("alphaT", 0.0)};
}

void ReadSections(const DeckObject& root, DeckDescription& deck) {
    const DeckObject sections = root.Object("sections");
    sections.AllowOnly({"girder", "edgeGirder", "crossBeam", "endCrossBeam"});
    deck.girder = ReadSection(sections, "girder");
    deck.crossBeam = ReadSection(sections, "crossBeam");
    if (sections.Has("edgeGirder"))
        deck.edgeGirder = ReadSection(sections, "edgeGirder");
    if (sections.Has("endCrossBeam"))
        deck.endCrossBeam = ReadSection(sections, "endCrossBeam");
}

void ReadSpans(const DeckObject& root, DeckDescription& deck) {
    const Json& spans = root.Required("spans");
    if (!spans.is_array())
        Fail("\"spans\": Eine Liste von Feldlängen erwartet, z. B. [20, 25, 20]");
    for (const Json& span : spans)
        deck.spans.push_back(DeckObject::NumberOf(span, "spans"));
}

// "count": one number for every span or a list with one per span.
void ReadCrossBeams(const DeckObject& root, DeckDescription& deck) {
    const DeckObject cross = root.Object("crossBeams");
    cross.AllowOnly({"spacing", "count"});
    if (cross.Has("spacing") == cross.Has("count"))
        Fail("\"crossBeams\": Entweder \"spacing\" oder \"count\" angeben");
    if (cross.Has("spacing")) {
        deck.crossBeamSpacing = cross.Number("spacing");
        if (deck.crossBeamSpacing == 0.0)
            Fail("\"crossBeams.spacing\": Der Abstand muss größer als 0 sein (0)");
        return;
    }
    const Json& count = cross.Required("count");
    if (count.is_array()) {
        for (const Json& c : count)
            deck.crossBeamCounts.push_back(DeckObject::IntegerOf(c, "crossBeams.count"));
        if (deck.crossBeamCounts.empty())
            Fail("\"crossBeams.count\": Eine Anzahl für alle Felder oder eine je Feld angeben");
    } else {
        deck.crossBeamCounts.assign(deck.spans.size(),
                                    DeckObject::IntegerOf(count, "crossBeams.count"));
    }
}

DeckSupport SupportOf(const Json& value) {
    if (value == "pinned")
        return DeckSupport::kPinned;
    if (value == "fixed")
        return DeckSupport::kFixed;
    Fail("\"supports\": \"pinned\" oder \"fixed\" erwartet");
}

// "supports": one kind for all, or a list with one entry per support line,
// each one kind for the line or a list with one per girder.
void ReadSupports(const DeckObject& root, DeckDescription& deck) {
    if (!root.Has("supports"))
        return;
    const Json& supports = root.Required("supports");
    const size_t lines = deck.spans.size() + 1;
    const size_t girders = deck.girders > 0 ? static_cast<size_t>(deck.girders) : 0;
    if (!supports.is_array()) {
        deck.supports.assign(lines, std::vector<DeckSupport>(girders, SupportOf(supports)));
        return;
    }
    for (const Json& line : supports) {
        std::vector<DeckSupport>& kinds = deck.supports.emplace_back();
        if (!line.is_array())
            kinds.assign(girders, SupportOf(line));
        else
            for (const Json& kind : line)
                kinds.push_back(SupportOf(kind));
    }
    if (deck.supports.empty())
        Fail("\"supports\": Mindestens eine Auflagerlinie angeben");
}

DeckMesh MeshOf(const DeckObject& root) {
    if (!root.Has("mesh"))
        return DeckMesh::kOrthogonal;
    const Json& mesh = root.Required("mesh");
    if (mesh == "orthogonal")
        return DeckMesh::kOrthogonal;
    if (mesh == "skew")
        return DeckMesh::kSkew;
    Fail("\"mesh\": \"orthogonal\" oder \"skew\" erwartet");
}

DeckDescription ReadDeck(const Json& json) {
    const DeckObject root(json, "");
    root.AllowOnly({"spans", "width", "girders", "skew", "mesh", "crossBeams", "sections",
                    "supports", "intervals"});
    DeckDescription deck;
    ReadSpans(root, deck);
    deck.width = root.Number("width");
    deck.girders = root.Integer("girders");
    deck.skew = root.Number("skew", 0.0);
    deck.mesh = MeshOf(root);
    ReadCrossBeams(root, deck);
    ReadSections(root, deck);
    ReadSupports(root, deck);
    deck.intervals = root.Integer("intervals", deck.intervals);
    return deck;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool ReadText(const std::string& path, std::string& text) {
    std::unique_ptr<std::FILE, FileCloser> file(OpenRegularFile(path));
    if (!file)
        return false;
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        text.append(buffer, n);
        if (static_cast<long>(text.size()) > kMaxDeckFileBytes)
            return false;
    }
    return !std::ferror(file.get());
}

} // namespace

bool ParseDeckJson(const std::string& text, DeckDescription& deck, std::string& error) {
    Json json;
    try {
        json = Json::parse(text);
    } catch (const Json::parse_error& e) {
        error = "Die Trägerrostbeschreibung ist kein gültiges JSON (Fehler bei Zeichen " +
                std::to_string(e.byte) + ")";
        return false;
    }
    try {
        DeckDescription read = ReadDeck(json);
        error = CheckDeck(read);
        if (!error.empty())
            return false;
        deck = std::move(read);
        return true;
    } catch (const DeckJsonError& e) {
        error = e.message;
        return false;
    }
}

bool LoadDeckJson(const std::string& path, DeckDescription& deck, std::string& error) {
    std::string text;
    if (!ReadText(path, text)) {
        error = std::string(kDeckFileError) + ": " + path;
        return false;
    }
    if (!ParseDeckJson(text, deck, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}
