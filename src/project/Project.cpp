#include "project/Project.h"

#include "model/Format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// A cursor over an expression that knows the position of every error.
class Scanner {
public:
    Scanner(const std::string& text, ExpressionError& error) : text_(text), error_(error) {}

    void SkipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t'))
            ++pos_;
    }
    bool AtEnd() {
        SkipBlanks();
        return pos_ >= text_.size();
    }
    bool Peek(char c) {
        SkipBlanks();
        return pos_ < text_.size() && text_[pos_] == c;
    }
    bool Take(char c) {
        if (!Peek(c))
            return false;
        ++pos_;
        return true;
    }
    bool Expect(char c) {
        if (Take(c))
            return true;
        return Fail(Format("\"%c\" erwartet", c));
    }
    // A finite decimal number such as 1.35, 0, 1e-3 (no sign).
    bool Number(double& value) {
        SkipBlanks();
        const char* begin = text_.data() + pos_;
        const char* end = text_.data() + text_.size();
        if (pos_ >= text_.size() ||
            !(std::isdigit(static_cast<unsigned char>(*begin)) || *begin == '.'))
            return Fail("Zahl erwartet");
        const auto result = std::from_chars(begin, end, value);
        if (result.ec != std::errc() || !std::isfinite(value))
            return Fail("ungültige Zahl");
        pos_ += static_cast<size_t>(result.ptr - begin);
        return true;
    }
    // A whole number 1 … limit.
    bool Index(int limit, const char* what, int& value) {
        SkipBlanks();
        const size_t start = pos_;
        const char* begin = text_.data() + pos_;
        const auto result = std::from_chars(begin, text_.data() + text_.size(), value);
        if (result.ec == std::errc::result_out_of_range)
            value = limit + 1;
        else if (result.ec != std::errc() || pos_ >= text_.size() ||
                 !std::isdigit(static_cast<unsigned char>(*begin)))
            return Fail(Format("Nummer %s erwartet", what));
        pos_ += static_cast<size_t>(result.ptr - begin);
        if (value < 1 || value > limit) {
            pos_ = start;
            return Fail(limit == 0 ? Format("es gibt keine %s", what)
                                   : Format("%s %d gibt es nicht (1 bis %d)", what, value, limit));
        }
        return true;
    }
    bool Fail(const std::string& message) {
        error_.message = message;
        error_.position = pos_ + 1;
        return false;
    }
    size_t Position() const { return pos_; }

private:
    const std::string& text_;
    ExpressionError& error_;
    size_t pos_ = 0;
};

// "NAME=": the name before the first "=".
bool TakeName(const std::string& text, std::string& name, size_t& bodyStart,
              ExpressionError& error) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos) {
        error = {"\"NAME=\" erwartet", 1};
        return false;
    }
    size_t first = 0, last = equals;
    while (first < last && text[first] == ' ')
        ++first;
    while (last > first && text[last - 1] == ' ')
        --last;
    if (first == last) {
        error = {"Name fehlt vor \"=\"", equals + 1};
        return false;
    }
    name = text.substr(first, last - first);
    bodyStart = equals + 1;
    return true;
}

} // namespace

std::string ShortestText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

bool ParseCombination(const std::string& text, int loadCases, Combination& combination,
                      ExpressionError& error) {
    combination = Combination();
    size_t body = 0;
    if (!TakeName(text, combination.name, body, error))
        return false;
    combination.factors.assign(static_cast<size_t>(loadCases), 0.0);
    std::vector<char> given(static_cast<size_t>(loadCases), 0);
    const std::string rest = text.substr(body);
    ExpressionError local;
    Scanner scan(rest, local);
    bool first = true;
    auto fail = [&] {
        error = {local.message, local.position + body};
        return false;
    };
    if (scan.AtEnd()) {
        scan.Fail("Summe der Lastfälle erwartet");
        return fail();
    }
    while (!scan.AtEnd()) {
        double sign = 1.0;
        if (scan.Take('-'))
            sign = -1.0;
        else if (!first && !scan.Take('+'))
            return scan.Fail("\"+\" oder \"-\" erwartet"), fail();
        else if (first)
            scan.Take('+');
        first = false;
        // FACTOR*K, or K alone.
        const size_t start = scan.Position();
        double factor = 1.0;
        int k = 0;
        if (!scan.Number(factor))
            return fail();
        if (scan.Take('*')) {
            if (!scan.Index(loadCases, "Lastfall", k))
                return fail();
        } else {
            // K alone: the load case with the factor 1.
            if (factor != std::floor(factor) || factor < 1 || factor > loadCases) {
                error = {Format("Lastfall %s gibt es nicht (1 bis %d)",
                                rest.substr(start, scan.Position() - start).c_str(), loadCases),
                         start + body + 1};
                return false;
            }
            k = static_cast<int>(factor);
            factor = 1.0;
        }
        if (given[static_cast<size_t>(k - 1)]) {
            error = {Format("Lastfall %d ist mehrfach angegeben", k), start + body + 1};
            return false;
        }
        given[static_cast<size_t>(k - 1)] = 1;
        combination.factors[static_cast<size_t>(k - 1)] = sign * factor;
    }
    return true;
}

namespace {

bool ParseMember(Scanner& scan, int loadCases, int combinations, EnvelopeMember& member) {
    member = EnvelopeMember();
    if (scan.Take('C') || scan.Take('c')) {
        member.combination = true;
        if (!scan.Index(combinations, "Kombination", member.index))
            return false;
    } else if (!scan.Index(loadCases, "Lastfall", member.index)) {
        return false;
    }
    --member.index;
    return true;
}

bool ParseTerm(Scanner& scan, int loadCases, int combinations, EnvelopeTerm& term) {
    term = EnvelopeTerm();
    if (scan.Take('(')) {
        term.group = true;
        do {
            EnvelopeMember member;
            if (!ParseMember(scan, loadCases, combinations, member))
                return false;
            term.members.push_back(member);
        } while (scan.Take('|'));
        if (!scan.Expect(')'))
            return false;
    } else {
        EnvelopeMember member;
        if (!ParseMember(scan, loadCases, combinations, member))
            return false;
        term.members.push_back(member);
    }
    return scan.Expect(':') && scan.Number(term.sup) && scan.Expect('/') && scan.Number(term.inf);
}

} // namespace

bool ParseEnvelope(const std::string& text, int loadCases, int combinations, Envelope& envelope,
                   ExpressionError& error) {
    envelope = Envelope();
    size_t body = 0;
    if (!TakeName(text, envelope.name, body, error))
        return false;
    const std::string rest = text.substr(body);
    ExpressionError local;
    Scanner scan(rest, local);
    auto fail = [&] {
        error = {local.message, local.position + body};
        return false;
    };
    if (scan.AtEnd())
        return scan.Fail("Glieder der Umhüllenden erwartet"), fail();
    do {
        EnvelopeTerm term;
        if (!ParseTerm(scan, loadCases, combinations, term))
            return fail();
        envelope.terms.push_back(term);
    } while (scan.Take('+'));
    if (!scan.AtEnd())
        return scan.Fail("\"+\" oder Ende erwartet"), fail();
    return true;
}

std::string CombinationText(const Combination& combination) {
    std::string text = combination.name + "=";
    bool any = false;
    for (size_t k = 0; k < combination.factors.size(); ++k) {
        const double factor = combination.factors[k];
        if (factor == 0.0)
            continue;
        text += (factor < 0 ? "-"
                 : any      ? "+"
                            : "") +
                ShortestText(std::fabs(factor)) + "*" + std::to_string(k + 1);
        any = true;
    }
    if (!any && !combination.factors.empty())
        text += "0*1";
    return text;
}

namespace {

std::string MemberText(const EnvelopeMember& member) {
    return (member.combination ? "C" : "") + std::to_string(member.index + 1);
}

} // namespace

std::string EnvelopeText(const Envelope& envelope, const std::string& trafficName) {
    std::string text = envelope.name + "=";
    for (size_t i = 0; i < envelope.terms.size(); ++i) {
        const EnvelopeTerm& term = envelope.terms[i];
        if (i > 0)
            text += "+";
        if (term.group) {
            text += "(";
            for (size_t m = 0; m < term.members.size(); ++m)
                text += (m ? "|" : "") + MemberText(term.members[m]);
            text += ")";
        } else {
            text += MemberText(term.members.front());
        }
        text += ":" + ShortestText(term.sup) + "/" + ShortestText(term.inf);
    }
    if (envelope.traffic.found)
        text += (envelope.terms.empty() ? "" : "+") + trafficName + ":" +
                ShortestText(envelope.traffic.sup) + "/" + ShortestText(envelope.traffic.inf);
    return text;
}

namespace {

// A finite number of the whole text (no sign but a leading '+' for lanes).
bool RealOf(const std::string& text, size_t from, size_t to, double& value) {
    const char* begin = text.data() + from;
    const char* end = text.data() + to;
    const auto result = std::from_chars(begin, end, value);
    return begin != end && result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

} // namespace

bool SplitTrafficTerm(const std::string& text, const std::string& name, std::string& rest,
                      TrafficTerm& term, ExpressionError& error) {
    term = TrafficTerm();
    rest = text;
    const size_t equals = text.find('=');
    if (equals == std::string::npos || name.empty())
        return true;
    // The terms: split at the '+' outside parentheses.
    size_t start = equals + 1;
    int depth = 0;
    for (size_t i = start; i <= text.size(); ++i) {
        if (i < text.size() && text[i] == '(')
            ++depth;
        else if (i < text.size() && text[i] == ')')
            --depth;
        if (i < text.size() && (text[i] != '+' || depth > 0))
            continue;
        const std::string part = text.substr(start, i - start);
        const size_t colon = part.find(':');
        if (colon != std::string::npos && part.substr(0, colon) == name) {
            const size_t slash = part.find('/', colon);
            const size_t from = start + colon + 1;
            if (slash == std::string::npos || !RealOf(text, from, start + slash, term.sup) ||
                !RealOf(text, start + slash + 1, i, term.inf)) {
                error = {"Ungültige Faktoren SUP/INF der Verkehrsgruppe", from + 1};
                return false;
            }
            if (term.found) {
                error = {"Die Verkehrsgruppe " + name + " steht mehrfach", start + 1};
                return false;
            }
            term.found = true;
            // The term with the '+' before it, or after it when it comes first.
            size_t begin = start, end = i;
            if (begin > equals + 1)
                --begin;
            else if (end < text.size())
                ++end;
            term.removedAt = begin;
            term.removedLength = end - begin;
        }
        start = i + 1;
    }
    if (term.found)
        rest = text.substr(0, term.removedAt) + text.substr(term.removedAt + term.removedLength);
    return true;
}

bool ParseEnvelopeWithTraffic(const std::string& text, const std::string& trafficName,
                              int loadCases, int combinations, Envelope& envelope,
                              ExpressionError& error) {
    std::string rest;
    TrafficTerm term;
    envelope = Envelope();
    if (!SplitTrafficTerm(text, trafficName, rest, term, error))
        return false;
    // The traffic alone: "NAME=" is left.
    const size_t equals = rest.find('=');
    if (term.found && equals != std::string::npos && equals + 1 == rest.size()) {
        ExpressionError e;
        size_t body = 0;
        if (TakeName(rest, envelope.name, body, e)) {
            envelope.traffic = {true, term.sup, term.inf};
            return true;
        }
    }
    if (!ParseEnvelope(rest, loadCases, combinations, envelope, error)) {
        if (term.found && error.position > term.removedAt)
            error.position += term.removedLength;
        return false;
    }
    if (term.found)
        envelope.traffic = {true, term.sup, term.inf};
    return true;
}

bool IsTrafficGroupName(const std::string& name) {
    return !name.empty() && name.find_first_of("=+:()|/[]") == std::string::npos;
}

bool ParseLane(const std::string& text, TrafficLane& lane, std::string& error) {
    lane = TrafficLane();
    // A number between from and to, blanks around it and a '+' allowed.
    auto number = [&text](size_t from, size_t to, double& value) {
        while (from < to && text[from] == ' ')
            ++from;
        while (to > from && text[to - 1] == ' ')
            --to;
        if (from < to && text[from] == '+')
            ++from;
        return RealOf(text, from, to, value);
    };
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos)
            end = text.size();
        const size_t comma = text.find(',', start);
        TrafficPoint p;
        if (comma == std::string::npos || comma > end || !number(start, comma, p.x) ||
            !number(comma + 1, end, p.y)) {
            error = "Ungültige Fahrspur bei Zeichen " + std::to_string(start + 1) + ": \"" + text +
                    "\" (Punkte x,y in m, durch ; getrennt, z. B. \"0,1.5;20,1.5\")";
            return false;
        }
        lane.points.push_back(p);
        start = end + 1;
    }
    if (lane.points.size() < 2 || !(LaneLength(lane) > 0.0)) {
        error = "Ungültige Fahrspur: \"" + text + "\" (mindestens zwei verschiedene Punkte)";
        return false;
    }
    return true;
}

std::string LaneText(const TrafficLane& lane) {
    std::string text;
    for (const TrafficPoint& p : lane.points)
        text += (text.empty() ? "" : ";") + ShortestText(p.x) + "," + ShortestText(p.y);
    return text;
}

double LaneLength(const TrafficLane& lane) {
    double length = 0.0;
    for (size_t k = 1; k < lane.points.size(); ++k)
        length += std::hypot(lane.points[k].x - lane.points[k - 1].x,
                             lane.points[k].y - lane.points[k - 1].y);
    return length;
}

bool IsVehicleFileName(const std::string& vehicle) {
    return vehicle.rfind("point:", 0) != 0 && vehicle.find_first_of("./\\") != std::string::npos;
}

std::string ExpressionMessage(const std::string& what, const std::string& text,
                              const ExpressionError& error) {
    return Format("Fehler in %s an Stelle %zu: %s: \"%s\"", what.c_str(), error.position,
                  error.message.c_str(), text.c_str());
}

std::string MemberLabel(const EnvelopeMember& member) {
    return (member.combination ? "K" : "LF") + std::to_string(member.index + 1);
}

std::string ArrangementText(const std::vector<std::pair<EnvelopeMember, double>>& terms) {
    std::string text;
    for (const auto& [member, factor] : terms) {
        if (factor == 0.0)
            continue;
        if (!text.empty())
            text += factor < 0 ? " - " : " + ";
        else if (factor < 0)
            text += "-";
        text += Format("%.2f·", std::fabs(factor)) + MemberLabel(member);
    }
    return text.empty() ? "0" : text;
}

std::string CombinationArrangement(const Combination& combination) {
    std::vector<std::pair<EnvelopeMember, double>> terms;
    for (size_t k = 0; k < combination.factors.size(); ++k)
        terms.push_back({EnvelopeMember{false, static_cast<int>(k)}, combination.factors[k]});
    return ArrangementText(terms);
}
