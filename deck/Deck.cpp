#include "Deck.h"

#include "AddGridRow.h"

#include <cassert>

namespace rillo {

const char* const JkComboList = "Diversion to Other Conveyance Element\tDetention Basin\tInflow Hydrograph";
const char* const TypeComboList =
    "Choose one\t1 = Channel\t2 = Pipe\t3 = Direct flow\t4 = Channel with overflow channel\t5 = Pipe with overflow channel";

namespace {

constexpr FieldInfo kFields[] = {
    {Field::Watershed, "Watershed", "Watershed", false},
    {Field::Option, "Option", "Option of subbasin routing", false},
    {Field::Title, "Title", "Job Title (max 80 characters)", false},
    {Field::SubTitle, "SubTitle", "Job Sub-Title (max 80 characters)", false},
    {Field::Steps, "Steps", "Number of time-steps to be  calculated:", false},
    {Field::StartHour, "StartHour", "Hour of start of storm:", false},
    {Field::StartMinute, "StartMinute", "Minute of start of storm:", false},
    {Field::TimeStep, "TimeStep", "Integration period (min.):", false},
    {Field::Hyetographs, "Hyetographs", "Number of Hyetographs for this Run:", false},
    {Field::ZeroDetentionPercent, "ZeroDetentionPercent",
     "Percent of impervious area with zero detention (Immediate runoff) - all catchments:", false},
    {Field::PeakSummary, "PeakSummary",
     "Check this box to create a printed summary of peak flows and stages at end of output:", true},
    {Field::HyetographPoints, "HyetographPoints", "Number of data points for each hyetograph:", false},
    {Field::HyetographInterval, "HyetographInterval", "Time interval between hyetograph values (min.):", false},
    {Field::SaveHydrographs, "SaveHydrographs",
     "Check if subbasins for which hydrographs are to be saved for subsequent gutter routing using IOPT = 1 in "
     "future runs of Rillo98:",
     true},
    {Field::PrintedSubbasins, "PrintedSubbasins", "Number of subbasins for which hydrographs are to be printed:", false},
    {Field::PrintInterval, "PrintInterval", "Number of time-steps between printings:", false},
    {Field::RoutingTitle, "RoutingTitle", "Job Title (max 80 characters)", false},
    {Field::RoutingSubTitle, "RoutingSubTitle", "Job Sub-Title (max 80 characters)", false},
    {Field::RoutingSteps, "RoutingSteps", "Number of time-steps to be  calculated:", false},
    {Field::RoutingStartHour, "RoutingStartHour", "Hour of start of storm:", false},
    {Field::RoutingStartMinute, "RoutingStartMinute", "Minute of start of storm:", false},
    {Field::RoutingTimeStep, "RoutingTimeStep", "Integration period (min.):", false},
    {Field::RoutingPeakSummary, "RoutingPeakSummary",
     "Check this box to create a printed summary of peak flows and stages at end of output:", true},
    {Field::SavedElements, "SavedElements", "Number of Conveyance Elements for Which Hydrographs are to be saved:", false},
    {Field::PrintedElements, "PrintedElements", "Number of Conveyance Elements for which values are to be printed:", false},
    {Field::RoutingPrintInterval, "RoutingPrintInterval", "Number of time-steps between printings:", false},
};
static_assert(std::size(kFields) == static_cast<std::size_t>(FieldCount));

constexpr double kFloatMin = -99999999.0;
constexpr double kFloatMax = 999999999.0;

CellFormat floatCell(int decimals) { return CellFormat::number(decimals, kFloatMin, kFloatMax); }

CellFormat integerCell() {
    CellFormat f;
    f.type = CellInteger;
    f.intMin = -99999;
    f.intMax = 99999;
    f.hAlign = HAlign::Right;
    return f;
}

CellFormat comboCell(const char* items) {
    CellFormat f;
    f.type = CellCombo;
    f.comboList = items;
    return f;
}

/// A card grid as designed: captions in row 1, the template row 2 with
/// the column formats, and the "&Add Row" button row 3.
std::unique_ptr<Grid> cardGrid(const char* name, const std::vector<std::pair<std::string, CellFormat>>& columns) {
    auto g = std::make_unique<Grid>(name, static_cast<int>(columns.size()), 3);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const int col = static_cast<int>(i) + 1;
        g->setFormat(col, 1, CellFormat::caption());
        g->setValue(col, 1, columns[i].first);
        g->setFormat(col, 2, columns[i].second);
    }
    makeAddRowLine(*g);
    g->setRowsFrozen(1);
    return g;
}

std::vector<std::pair<std::string, CellFormat>> repeat(int n, const std::string& captionText, const CellFormat& f) {
    return std::vector<std::pair<std::string, CellFormat>>(static_cast<std::size_t>(n), {captionText, f});
}

}  // namespace

const FieldInfo& fieldInfo(Field field) {
    const auto i = static_cast<std::size_t>(field);
    assert(i < std::size(kFields));
    return kFields[i];
}

Deck::Deck() {
    for (const auto& info : kFields)
        if (info.checkBox) fields_[index(info.field)] = "0";

    grids_[0] = cardGrid("card 1.4", repeat(10, "Rainfall Depth:", floatCell(4)));

    std::vector<std::pair<std::string, CellFormat>> c15 = {
        {"Hyetograph Number:", integerCell()},
        {"Subcatchment Number:", integerCell()},
        {"Conveyance Element Number Draining This Subcatchment:", integerCell()},
        {"Total Tributary Width of Subcatchment:", floatCell(4)},
        {"Area of Subcatchment (Acres):", floatCell(4)},
        {"Percent Imperviousness of Subcatchment:", floatCell(4)},
        {"Ground Slope (ft/ft) (vertical/horizontal):", floatCell(4)},
        {"Impervious Area Surface Resistance Factor (Manning's \"n\"):", floatCell(4)},
        {"Pervious Area Surface Resistance Factor (Manning's \"n\"):", floatCell(4)},
        {"Impervious Area Surface Retention Storage (in.) :", floatCell(4)},
        {"Pervious Area Surface Retention Storage (in.) :", floatCell(4)},
        {"Maximum Infiltration Rate (in/hr) :", floatCell(4)},
        {"Minimum Infiltration Rate (in/hr) :", floatCell(4)},
        {"Decay Rate of Infiltration (1/sec) :", floatCell(9)},
    };
    grids_[1] = cardGrid("card 1.5", c15);
    grids_[2] = cardGrid("card 1.10", repeat(16, "Subbasin Number to be Printed:", integerCell()));
    grids_[3] = cardGrid("card 2.3", {{"KORVA Sub-catchment Number:", integerCell()},
                                      {"RILLO Conveyance Element Number Draining This Subcatchment:", integerCell()}});

    CellFormat noButton;  // column 13 without a "Tabular" button
    noButton.locked = true;
    noButton.backColor = ColorButtonFace;
    grids_[4] = cardGrid(
        "card 3.1",
        {
            {"Special Type (JK):", comboCell(JkComboList)},
            {"Number of pairs of tabular values (NDP) If a Diversion, Detention, or Inflow Hydrograph element is used:",
             integerCell()},
            {"Conveyance Element Number:", integerCell()},
            {"Next down stream Conveyance Element number:", integerCell()},
            {"Type of Conveyance Element:", comboCell(TypeComboList)},
            {"Pipe Diameter or Bottom width of channel  (ft)", floatCell(7)},
            {"Length of Conveyance Element (ft) :", floatCell(7)},
            {"Invert slope of Conveyance Element (ft/ft) :", floatCell(7)},
            {"Channel's Left-hand side slope (ft/ft) :", floatCell(7)},
            {"Channel's Right-hand side slope (ft/ft) :", floatCell(7)},
            {"Manning's n of Conveyance Element:", floatCell(7)},
            {"Depth of channel in feet when full or the pipe diameter :", floatCell(7)},
            {"Tabular", noButton},
        });
    grids_[5] = cardGrid("card 3.1a", repeat(8, "Tabular Values:", floatCell(6)));

    grids_[6] = std::make_unique<Grid>("card 3.1a index", 3, IndexRows);
    for (int r = 1; r <= IndexRows; ++r)
        for (int c = 1; c <= 3; ++c) grids_[6]->setFormat(c, r, integerCell());

    grids_[7] = cardGrid("card 4.2", repeat(16, "Conveyance Element Number to be Saved:", integerCell()));
    grids_[8] = cardGrid("card 4.4", repeat(16, "Conveyance Element Number to be Printed:", integerCell()));

    // The deck as built is no change; from here on every change counts.
    watch_.deck = this;
    for (auto& g : grids_) g->addObserver(&watch_);
}

void Deck::setText(Field field, std::string value) {
    auto& slot = fields_[index(field)];
    if (slot == value) return;
    slot = std::move(value);
    setModified(true);
    if (observer_) observer_(field);
}

void Deck::setIopt(int iopt) {
    if (iopt_ == iopt) return;
    iopt_ = iopt;
    setModified(true);
    if (observer_) observer_(Field::Option);
}

long long Deck::sourceLine(GridId id, int row) const {
    const auto& lines = sourceLines_[static_cast<std::size_t>(id)];
    return row >= 0 && static_cast<std::size_t>(row) < lines.size() ? lines[static_cast<std::size_t>(row)] : 0;
}

void Deck::setSourceLine(GridId id, int row, long long line) {
    if (row < 0) return;
    auto& lines = sourceLines_[static_cast<std::size_t>(id)];
    if (lines.size() <= static_cast<std::size_t>(row)) lines.resize(static_cast<std::size_t>(row) + 1, 0);
    lines[static_cast<std::size_t>(row)] = line;
}

void Deck::watchGrids(bool on) {
    for (auto& g : grids_) {
        g->removeObserver(&watch_);
        if (on) g->addObserver(&watch_);
    }
}

bool Deck::isOverflowRow(int row) const {
    const Grid& g = card31();
    if (row < 2 || row > g.rowCount()) return false;
    for (int c = 1; c <= Card31::Type; ++c)
        if (g.format(c, row).backColor != ColorButtonFace) return false;
    return true;
}

}  // namespace rillo
