#include "FaultPlanter.h"

#include "DeckCompare.h"
#include "DeckReader.h"

#include <vector>

namespace rillo::testdata {

namespace {

struct Line {
    std::size_t start, length;  // in the deck's bytes, without the line end
};

/// The deck's lines, split on LF with a CR before it dropped (the decks
/// planted into are written with CR LF).
std::vector<Line> linesOf(const std::string& deck) {
    std::vector<Line> out;
    std::size_t start = 0;
    while (start < deck.size()) {
        std::size_t end = deck.find('\n', start);
        if (end == std::string::npos) end = deck.size();
        std::size_t length = end - start;
        if (length > 0 && deck[start + length - 1] == '\r') --length;
        out.push_back({start, length});
        start = end + 1;
    }
    return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

/// Lines the reader gave to a card of numbers: not the titles, not line 1
/// (whose check only asks for numbers), but lines 2 and 3 of the header.
std::vector<std::size_t> numberLines(const std::string& deck) {
    const DeckRead r = readDeck(deck);
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < r.lineCards.size(); ++i) {
        const std::string& card = r.lineCards[i];
        if (card != "1.1" && card != "2.1" && card != "end" && i != 0) out.push_back(i);
    }
    return out;
}

template <typename Pred>
std::vector<std::size_t> positions(const std::string& deck, const std::vector<Line>& lines,
                                   const std::vector<std::size_t>& which, Pred pred) {
    std::vector<std::size_t> out;
    for (std::size_t i : which) {
        const Line& l = lines[i];
        for (std::size_t k = 0; k < l.length; ++k)
            if (pred(deck, l.start + k, l.start, l.start + l.length)) out.push_back(l.start + k);
    }
    return out;
}

}  // namespace

const char* faultName(Fault fault) {
    switch (fault) {
    case Fault::BlankLine: return "a blank line";
    case Fault::Tab: return "a tab";
    case Fault::Plus: return "a +";
    case Fault::Letter: return "a letter after the digits";
    case Fault::DExponent: return "a D exponent";
    case Fault::DeletedLine: return "a deleted overflow or 3.1A line";
    case Fault::Count: break;
    }
    return "?";
}

std::optional<std::string> plantFault(const std::string& deck, Fault fault, Choices& c) {
    const auto lines = linesOf(deck);
    if (lines.empty()) return std::nullopt;
    const auto numbers = numberLines(deck);
    const auto pickOf = [&c](const std::vector<std::size_t>& v) -> std::optional<std::size_t> {
        if (v.empty()) return std::nullopt;
        return v[static_cast<std::size_t>(c.pick(0, static_cast<int>(v.size()) - 1))];
    };
    std::string out = deck;
    switch (fault) {
    case Fault::BlankLine: {
        const std::size_t at = lines[static_cast<std::size_t>(c.pick(0, static_cast<int>(lines.size()) - 1))].start;
        out.insert(at, "\r\n");
        return out;
    }
    case Fault::Tab: {
        const auto at = pickOf(positions(deck, lines, numbers, [](const std::string& d, std::size_t i, std::size_t, std::size_t) {
            return d[i] == ' ';
        }));
        if (!at) return std::nullopt;
        out[*at] = '\t';
        return out;
    }
    case Fault::Plus: {
        // A blank before the first digit of a right-justified number.
        const auto at = pickOf(positions(deck, lines, numbers, [](const std::string& d, std::size_t i, std::size_t, std::size_t end) {
            return d[i] == ' ' && i + 1 < end && (isDigit(d[i + 1]) || d[i + 1] == '.');
        }));
        if (!at) return std::nullopt;
        out[*at] = '+';
        return out;
    }
    case Fault::Letter: {
        // The last digit of a number becomes a letter O, as typed for a zero.
        const auto at = pickOf(positions(deck, lines, numbers, [](const std::string& d, std::size_t i, std::size_t start, std::size_t end) {
            return isDigit(d[i]) && i > start && (isDigit(d[i - 1]) || d[i - 1] == '.') && (i + 1 == end || d[i + 1] == ' ');
        }));
        if (!at) return std::nullopt;
        out[*at] = 'O';
        return out;
    }
    case Fault::DExponent: {
        const auto at = pickOf(positions(deck, lines, numbers, [](const std::string& d, std::size_t i, std::size_t start, std::size_t) {
            return (d[i] == 'E' || d[i] == 'e') && i > start && (isDigit(d[i - 1]) || d[i - 1] == '.');
        }));
        if (!at) return std::nullopt;
        out[*at] = out[*at] == 'E' ? 'D' : 'd';
        return out;
    }
    case Fault::DeletedLine: {
        const DeckRead r = readDeck(deck);
        std::vector<std::size_t> candidates;
        for (std::size_t i = 0; i < r.lineCards.size() && i < lines.size(); ++i) {
            const bool overflow = r.lineCards[i] == "3.1" && i > 0 && r.lineCards[i - 1] == "3.1" &&
                                  deck.compare(lines[i].start, 20, std::string(20, ' ')) == 0;
            if (r.lineCards[i] == "3.1A" || overflow) candidates.push_back(i);
        }
        const auto line = pickOf(candidates);
        if (!line) return std::nullopt;
        const Line& l = lines[*line];
        std::size_t end = l.start + l.length;
        while (end < out.size() && (out[end] == '\r' || out[end] == '\n')) {
            const bool lf = out[end] == '\n';
            ++end;
            if (lf) break;
        }
        out.erase(l.start, end - l.start);
        return out;
    }
    case Fault::Count: break;
    }
    return std::nullopt;
}

std::string checkStrictRead(const std::string& bytes, const std::string& folder) {
    const DeckRead r = readDeck(bytes);
    if (r.error) {
        if (r.error->line <= 0 && !r.error->badHeader) return "refused without naming a line: " + r.error->describe();
        return {};
    }
    // Every line went to a card, or ends the file: count them apart from the reader.
    std::size_t lines = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++lines;
        } else if (bytes[i] == '\r') {
            ++lines;
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            else if (i + 2 < bytes.size() && bytes[i + 1] == '\r' && bytes[i + 2] == '\n') i += 2;
        } else if (i + 1 == bytes.size()) {
            ++lines;  // a last line without its end
        }
    }
    if (r.lineCards.size() != lines)
        return "the reader took " + std::to_string(r.lineCards.size()) + " of the " + std::to_string(lines) + " lines";
    std::size_t cardLines = 0;
    const auto text = firstDeckLines(bytes, lines);
    for (std::size_t i = 0; i < r.lineCards.size(); ++i) {
        if (r.lineCards[i] != "end") {
            ++cardLines;
            continue;
        }
        std::string rest;
        for (char ch : text[i])
            if (ch != ' ' && ch != '\0' && ch != '\x1A') rest += ch;
        if (!rest.empty() && rest != "ENDPROGRAM") return "line " + std::to_string(i + 1) + " after the last card holds \"" + rest + "\"";
    }

    const RoundTrip rt = roundTrip(bytes, folder);
    if (!rt.difference.empty()) return "the saved deck is not the deck that was read:\n" + rt.difference;
    if (rt.saved) {
        // The save writes a line for every line a card took, then ENDPROGRAM.
        std::size_t written = 0;
        for (char ch : rt.text) written += ch == '\n';
        if (written != cardLines + 1)
            return "the cards took " + std::to_string(cardLines) + " lines but the save wrote " +
                   std::to_string(written - 1) + " before ENDPROGRAM";
    }
    return {};
}

}  // namespace rillo::testdata
