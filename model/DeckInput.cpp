#include "DeckInput.h"

#include "Deck.h"
#include "DeckLayout.h"
#include "DeckReader.h"
#include "ElementKind.h"
#include "ModelError.h"
#include "NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <sstream>

namespace rillo::model {

namespace {

std::string fmt(double v) {
    std::ostringstream s;
    s << v;
    return s.str();
}

/// Reads the numbers of one deck record and names the record in errors.
class Record {
public:
    Record(const Grid& grid, int row, std::string where) : grid_(grid), row_(row), where_(std::move(where)) {}

    double number(int col, const char* what) const {
        const double v = readNumber(grid_.text(col, row_));
        if (!std::isfinite(v)) fail(std::string(what) + " is not a finite number");
        return v;
    }
    bool blank(int col) const { return readsAsZero(grid_.text(col, row_)); }
    [[noreturn]] void fail(const std::string& what) const { throw ModelError(where_ + ": " + what + "."); }
    const std::string& where() const { return where_; }

private:
    const Grid& grid_;
    int row_;
    std::string where_;
};

double field(const Deck& deck, Field f, const char* what) {
    const double v = readNumber(deck.text(f));
    if (!std::isfinite(v)) throw ModelError(std::string(what) + " is not a finite number.");
    return v;
}

/// Numbers of a list card (1.10, 4.2, 4.4): at most `count`, empty cells skipped.
std::vector<long> readList(const Grid& g, double count) {
    std::vector<long> out;
    for (int r = 2; r < g.rowCount(); ++r)
        for (int c = 1; c <= ListColumns && static_cast<double>(out.size()) < count; ++c)
            if (!g.isEmpty(c, r)) out.push_back(static_cast<long>(readInteger(g.text(c, r))));
    return out;
}

/// A grid row with no value in its first `cols` columns (the row the reader
/// leaves before the "&Add Row" row, or one the user left empty).
bool emptyRow(const Grid& g, int row, int cols) {
    for (int c = 1; c <= cols; ++c)
        if (!g.isEmpty(c, row)) return false;
    return true;
}

/// Ratios of a change card: each non-blank field multiplies the fields of the records that follow.
template <std::size_t N>
struct Ratios {
    std::array<double, N> r;
    Ratios() { r.fill(1.0); }
};

/// The fields of a deck's titles and time-step controls: cards 1.1-1.2 of a
/// deck that computes its hydrographs, 2.1-2.2 of one that imports them.
struct ControlFields {
    Field title1, title2, steps, hour, minute, step, peakTable;
    const char* stepWhat;
};
constexpr ControlFields Iopt0Controls{Field::Title, Field::SubTitle, Field::Steps, Field::StartHour, Field::StartMinute,
                                      Field::TimeStep, Field::PeakSummary, "The integration period (card 1.2)"};
constexpr ControlFields Iopt1Controls{Field::RoutingTitle, Field::RoutingSubTitle, Field::RoutingSteps, Field::RoutingStartHour, Field::RoutingStartMinute,
                                      Field::RoutingTimeStep, Field::RoutingPeakSummary, "The integration period (card 2.2)"};

void readControls(const Deck& deck, const ControlFields& f, ModelInput& in) {
    in.title1 = deck.text(f.title1);
    in.title2 = deck.text(f.title2);
    in.steps = readInteger(deck.text(f.steps));
    in.startHour = static_cast<int>(readInteger(deck.text(f.hour)));
    in.startMinute = static_cast<int>(readInteger(deck.text(f.minute)));
    in.stepMinutes = field(deck, f.step, f.stepWhat);
    in.peakTable = deck.checked(f.peakTable);
}

void readIopt0(const Deck& deck, ModelInput& in) {
    readControls(deck, Iopt0Controls, in);
    in.zeroDetentionPercent = field(deck, Field::ZeroDetentionPercent, "The percent of impervious area with zero detention (card 1.2)");
    if (in.zeroDetentionPercent < 0 || in.zeroDetentionPercent > 100)
        throw ModelError("Card 1.2: the percent of impervious area with zero detention is " +
                         fmt(in.zeroDetentionPercent) + "; it must lie between 0 and 100.");

    const long long nrgag = readInteger(deck.text(Field::Hyetographs));
    const long long nhisto = readInteger(deck.text(Field::HyetographPoints));
    in.hyetographInterval = field(deck, Field::HyetographInterval, "The time between hyetograph values (card 1.3)");
    const Grid& c14 = deck.grid(GridId::Card14);
    if (nrgag > 0) {
        if (nhisto > 0 && !(in.hyetographInterval > 0))
            throw ModelError("Card 1.3: the time between hyetograph values must be greater than 0.");
        const long long rowsPer = std::max<long long>(1, (nhisto + RainfallColumns - 1) / RainfallColumns);
        for (long long h = 0; h < nrgag; ++h) {
            std::vector<double> values;
            for (long long v = 0; v < nhisto; ++v) {
                const int row = static_cast<int>(2 + h * rowsPer + v / RainfallColumns);
                const int col = static_cast<int>(1 + v % RainfallColumns);
                const double x = readNumber(c14.text(col, row));
                if (!std::isfinite(x) || x < 0)
                    throw ModelError("Card 1.4: value " + std::to_string(v + 1) + " of hyetograph " +
                                     std::to_string(h + 1) + " is not a rain intensity (in/hr).");
                values.push_back(x);
            }
            in.hyetographs.push_back(std::move(values));
        }
    }

    // Every grid row is one line of the deck, as the reader found it.
    const Grid& g = deck.grid(GridId::Card15);
    Ratios<Card15::Columns - Card15::Width + 1> ratio;
    std::set<long> seen;
    for (int r = 2; r < g.rowCount(); ++r) {
        if (emptyRow(g, r, Card15::Columns)) continue;
        const int line = static_cast<int>(deck.sourceLine(GridId::Card15, r));
        const Record rec(g, r, "Card 1.5, line " + std::to_string(line) + " of the deck");
        const long number = static_cast<long>(readInteger(g.text(Card15::Subcatchment, r)));
        if (number == -1) {
            for (int c = Card15::Width; c <= Card15::Columns; ++c)
                if (!rec.blank(c)) ratio.r[static_cast<std::size_t>(c - Card15::Width)] = rec.number(c, "a change ratio");
            continue;
        }
        if (number <= 0) rec.fail("subcatchment number " + std::to_string(number) + " is not defined (only -1, a change card, may be negative)");
        if (!seen.insert(number).second) rec.fail("subcatchment " + std::to_string(number) + " is given twice");
        SubcatchmentInput s;
        s.line = line;
        s.number = number;
        s.hyetograph = static_cast<int>(readInteger(g.text(Card15::Hyetograph, r)));
        s.element = static_cast<long>(readInteger(g.text(Card15::Element, r)));
        const auto value = [&](int col, const char* what) {
            return rec.number(col, what) * ratio.r[static_cast<std::size_t>(col - Card15::Width)];
        };
        s.width = value(Card15::Width, "the width");
        s.area = value(Card15::Area, "the area");
        s.imperviousPercent = value(Card15::Impervious, "the percent imperviousness");
        s.slope = value(Card15::Slope, "the ground slope");
        s.imperviousN = value(Card15::ImperviousN, "the impervious Manning's n");
        s.perviousN = value(Card15::PerviousN, "the pervious Manning's n");
        s.imperviousStorage = value(Card15::ImperviousStorage, "the impervious retention storage");
        s.perviousStorage = value(Card15::PerviousStorage, "the pervious retention storage");
        s.maxInfiltration = value(Card15::MaxInfiltration, "the maximum infiltration rate");
        s.minInfiltration = value(Card15::MinInfiltration, "the minimum infiltration rate");
        s.decay = value(Card15::Decay, "the decay rate of infiltration");
        const std::string name = "subcatchment " + std::to_string(number);
        if (s.hyetograph < 1 || s.hyetograph > static_cast<long long>(in.hyetographs.size()))
            rec.fail(name + " uses hyetograph " + std::to_string(s.hyetograph) + ", but the deck has " +
                     std::to_string(in.hyetographs.size()));
        if (!(s.width > 0)) rec.fail(name + " has no tributary width");
        if (!(s.area > 0)) rec.fail(name + " has no area");
        if (s.imperviousPercent < 0 || s.imperviousPercent > 100) rec.fail(name + ": the percent imperviousness must lie between 0 and 100");
        if (!(s.slope > 0)) rec.fail(name + " has a ground slope of zero");
        if (s.imperviousPercent > 0 && !(s.imperviousN > 0)) rec.fail(name + " has an impervious Manning's n of zero");
        if (s.imperviousPercent < 100 && !(s.perviousN > 0)) rec.fail(name + " has a pervious Manning's n of zero");
        for (double v : {s.imperviousStorage, s.perviousStorage, s.maxInfiltration, s.minInfiltration, s.decay})
            if (v < 0) rec.fail(name + " has a negative storage or infiltration value");
        in.subcatchments.push_back(s);
    }
    if (deck.checked(Field::SaveHydrographs))
        for (const auto& s : in.subcatchments) in.savedSubcatchments.push_back(s.number);
    in.printedSubcatchments = readList(deck.grid(GridId::Card110), readNumber(deck.text(Field::PrintedSubbasins)));
    in.subcatchmentPrintInterval = static_cast<int>(std::clamp<long long>(readInteger(deck.text(Field::PrintInterval)), 1, 1000000));
}

void readIopt1(const Deck& deck, ModelInput& in) {
    readControls(deck, Iopt1Controls, in);
    const Grid& g = deck.grid(GridId::Card23);
    std::set<long> seen;
    for (int r = 2; r < g.rowCount(); ++r) {
        if (emptyRow(g, r, Card23::Columns)) continue;
        Tributary t;
        t.line = static_cast<int>(deck.sourceLine(GridId::Card23, r));
        t.number = static_cast<long>(readInteger(g.text(Card23::Subcatchment, r)));
        t.element = static_cast<long>(readInteger(g.text(Card23::Element, r)));
        if (!seen.insert(t.number).second)
            throw ModelError("Card 2.3, line " + std::to_string(t.line) + " of the deck: sub-catchment " +
                             std::to_string(t.number) + " is given twice.");
        in.tributaries.push_back(t);
    }
}

ChannelInput readChannel(const Record& rec, const std::array<double, 7>& ratio) {
    ChannelInput c;
    const auto value = [&](int col, const char* what) {
        return rec.number(col, what) * ratio[static_cast<std::size_t>(col - Card31::FirstDimension)];
    };
    c.width = value(Card31::Width, "the width or diameter");
    c.length = value(Card31::Length, "the length");
    c.slope = value(Card31::Slope, "the invert slope");
    c.leftSlope = value(Card31::LeftSlope, "the left side slope");
    c.rightSlope = value(Card31::RightSlope, "the right side slope");
    c.roughness = value(Card31::Roughness, "Manning's n");
    c.fullDepth = value(Card31::Depth, "the full depth");
    return c;
}

void checkChannel(const Record& rec, const std::string& name, const ChannelInput& c, bool pipe) {
    if (!(c.length > 0)) rec.fail(name + " has no length");
    if (!(c.slope > 0)) rec.fail(name + " has an invert slope of zero");
    if (!(c.roughness > 0)) rec.fail(name + " has a Manning's n of zero");
    if (pipe) {
        if (!(c.width > 0) && !(c.fullDepth > 0)) rec.fail(name + " has no pipe diameter");
    } else {
        if (!(c.fullDepth > 0)) rec.fail(name + " has no full depth");
        if (!(c.width > 0) && !(c.leftSlope + c.rightSlope > 0)) rec.fail(name + " has neither a bottom width nor side slopes");
        if (c.width < 0 || c.leftSlope < 0 || c.rightSlope < 0) rec.fail(name + " has a negative width or side slope");
    }
}

void readElements(const Deck& deck, ModelInput& in) {
    const Grid& g = deck.grid(GridId::Card31);
    const Grid& pairs = deck.grid(GridId::Card31a);
    const Grid& index = deck.grid(GridId::Card31aIndex);
    std::array<double, 7> ratio;
    ratio.fill(1.0);
    std::set<long> seen;
    int record = 0;
    for (int r = 2; r < g.rowCount(); ++r) {
        if (deck.isOverflowRow(r)) continue;
        if (g.isEmpty(Card31::Element, r) && g.isEmpty(Card31::Type, r) && g.isEmpty(Card31::Downstream, r)) continue;
        ++record;
        const Record rec(g, r, "Card 3.1, element line " + std::to_string(record));
        const long number = static_cast<long>(readInteger(g.text(Card31::Element, r)));
        const int type = static_cast<int>(readInteger(g.text(Card31::Type, r)));
        const bool hasOverflowRow = deck.isOverflowRow(r + 1);
        if (number == -1) {
            for (int i = 0; i <= Card31::LastDimension - Card31::FirstDimension; ++i)
                if (!rec.blank(Card31::FirstDimension + i))
                    ratio[static_cast<std::size_t>(i)] = rec.number(Card31::FirstDimension + i, "a change ratio");
            continue;
        }
        const std::string name = "element " + std::to_string(number);
        if (number <= 0) rec.fail("element number " + std::to_string(number) + " is not defined (only -1, a change card, may be negative)");
        if (!seen.insert(number).second) rec.fail(name + " is given twice");
        ElementInput e;
        e.record = record;
        e.number = number;
        e.downstream = static_cast<long>(readInteger(g.text(Card31::Downstream, r)));
        e.type = type;
        if (type < 1 || type > 5) rec.fail(name + " has type " + std::to_string(type) + "; the types are 1 to 5");
        e.main = readChannel(rec, ratio);
        if (type != 3) checkChannel(rec, name, e.main, type == 2 || type == 5);
        if (ElementKind::carriesOverflow(type)) {
            if (!hasOverflowRow) rec.fail(name + " of type " + std::to_string(type) + " has no overflow line");
            const Record over(g, r + 1, rec.where() + ", its overflow line");
            e.overflow = readChannel(over, ratio);
            checkChannel(over, name + "'s overflow channel", *e.overflow, false);
        }

        const long long ndp = readInteger(g.text(Card31::NDP, r));
        if (ndp < 0) rec.fail(name + " has a negative number of tabular pairs");
        if (ndp > 0) {
            const ElementKind kind = ElementKind::ofCell(g, r);
            switch (kind.kind()) {
            case ElementKind::Detention: e.special = SpecialKind::Detention; break;
            case ElementKind::Inflow: e.special = SpecialKind::Inflow; break;
            case ElementKind::Diversion:
                e.special = SpecialKind::Diversion;
                e.divertTo = kind.target();
                if (e.divertTo == number) rec.fail(name + " diverts into itself");
                break;
            case ElementKind::PendingDiversion: rec.fail(name + ": its diversion names no receiving element");
            case ElementKind::Ordinary:
                rec.fail(name + " has tabular pairs but no special-element code the model knows (0, -1 or an element)");
            }
            // The element's block of tabular rows.
            int first = 0, rows = 0;
            for (int i = 1; i <= index.rowCount(); ++i)
                if (!index.isEmpty(PairIndex::Element, i) && readInteger(index.text(PairIndex::Element, i)) == number) {
                    first = static_cast<int>(readInteger(index.text(PairIndex::FirstRow, i)));
                    rows = static_cast<int>(readInteger(index.text(PairIndex::Rows, i)));
                    break;
                }
            if (first < 1 || rows < ElementKind::pairRows(ndp) || first + rows - 1 > pairs.rowCount())
                rec.fail(name + " has " + std::to_string(ndp) + " tabular pairs, but its card 3.1A lines are missing");
            std::vector<double> x, y;
            for (long long p = 0; p < ndp; ++p) {
                const int row = first + static_cast<int>(p / (PairColumns / 2));
                const int col = 1 + static_cast<int>(p % (PairColumns / 2)) * 2;
                const Record pr(pairs, row, rec.where() + ", its tabular pair " + std::to_string(p + 1));
                x.push_back(pr.number(col, "the first value"));
                y.push_back(pr.number(col + 1, "the second value"));
                if (x.size() > 1 && x.back() < x[x.size() - 2])
                    pr.fail(name + ": the first values of the tabular pairs must not decrease");
                if (y.back() < 0 || (e.special != SpecialKind::Inflow && x.back() < 0))
                    pr.fail(name + ": a tabular value is negative");
            }
            e.table = Curve(std::move(x), std::move(y));
        }
        in.elements.push_back(std::move(e));
    }
    in.savedElements = readList(deck.grid(GridId::Card42), readNumber(deck.text(Field::SavedElements)));
    in.printedElements = readList(deck.grid(GridId::Card44), readNumber(deck.text(Field::PrintedElements)));
    in.elementPrintInterval = static_cast<int>(std::clamp<long long>(readInteger(deck.text(Field::RoutingPrintInterval)), 1, 1000000));
}

}  // namespace

ModelInput readModelInput(const Deck& deck) {
    ModelInput in;
    in.iopt = deck.iopt();
    if (in.iopt != 0 && in.iopt != 1)
        throw ModelError("Line 3 of the deck: the option IOPT in column " +
                         std::to_string(layout::valueColumns(layout::Line3).back().start) + " must be 0 or 1.");
    if (in.iopt == 0)
        readIopt0(deck, in);
    else
        readIopt1(deck, in);
    if (in.steps < 1) throw ModelError("The number of time steps must be at least 1.");
    if (!(in.stepMinutes > 0)) throw ModelError("The integration period must be greater than 0 minutes.");
    if (in.startHour < 0 || in.startMinute < 0) throw ModelError("The start of the storm must not be negative.");
    readElements(deck, in);
    if (in.elements.empty()) throw ModelError("Card 3.1: the deck has no conveyance elements.");
    return in;
}

ModelInput loadDeck(const std::string& path) {
    DeckRead read;
    try {
        read = readDeck(readDeckFile(path));
    } catch (const RuntimeError& e) {
        throw ModelError("The deck " + path + " cannot be read: " + e.description());
    }
    if (read.error) throw ModelError("The deck " + path + " cannot be read: " + read.error->describe());
    ModelInput in = readModelInput(*read.deck);
    // Notices the reader gave (such as too many special elements) are kept as warnings.
    for (const auto& notice : read.notices) in.warnings.insert(in.warnings.begin(), notice);
    return in;
}

}  // namespace rillo::model
