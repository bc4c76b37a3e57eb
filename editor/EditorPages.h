#pragma once
// The card editor's pages in one table: each page's caption, the deck
// option that makes it available and what it shows. The editor builds each
// page from its entry; the page numbers are those of Page:: (deck/DeckHost.h),
// by which the deck's checks name the page of a card.

#include "Deck.h"
#include "DeckHost.h"

#include <array>
#include <optional>
#include <span>
#include <string>

namespace rillo {

inline constexpr int EditorPageCount = Page::Count;
inline constexpr int HelpPageIndex = Page::Help;
/// Pages 0 to 11 are card groups, each with its help text; page 12 is the help page.
inline constexpr int HelpGroupCount = Page::Help;

/// Which choice of IOPT makes a page available.
enum class PageOption {
    Either,  ///< whichever is chosen (the options page goes once the editor is activated)
    Iopt0,   ///< the model makes the sub-catchment hydrographs
    Iopt1,   ///< they come from a hydrograph file
    Never,   ///< never open for typing (the store of tabular pairs)
};

/// One page of the editor. A page shows its fields (a label and a control
/// each, in a frame) above its grid; a page with neither is the help page.
struct EditorPage {
    int page;
    const char* caption;
    PageOption availableWith;
    std::span<const Field> fields;
    std::optional<GridId> grid;
    /// A grid that lives hidden on the page: the rules keep it, nobody types in it.
    std::optional<GridId> hiddenGrid;
};

namespace pagefields {
inline constexpr Field Options[] = {Field::Watershed, Field::Option};
inline constexpr Field Card11[] = {Field::Title,         Field::SubTitle,    Field::Steps,
                                   Field::StartHour,     Field::StartMinute, Field::TimeStep,
                                   Field::Hyetographs,   Field::ZeroDetentionPercent,
                                   Field::PeakSummary,   Field::HyetographPoints,
                                   Field::HyetographInterval};
inline constexpr Field Card17[] = {Field::SaveHydrographs};
inline constexpr Field Card19[] = {Field::PrintedSubbasins, Field::PrintInterval};
inline constexpr Field Card21[] = {Field::RoutingTitle,     Field::RoutingSubTitle,    Field::RoutingSteps,
                                   Field::RoutingStartHour, Field::RoutingStartMinute, Field::RoutingTimeStep,
                                   Field::RoutingPeakSummary};
inline constexpr Field Card41[] = {Field::SavedElements};
inline constexpr Field Card43[] = {Field::PrintedElements, Field::RoutingPrintInterval};
}  // namespace pagefields

inline constexpr std::array<EditorPage, EditorPageCount> kEditorPages = {{
    {Page::Options, "Options (0)", PageOption::Either, pagefields::Options, {}, {}},
    {Page::Card11, "Title/Controls (1.1 - 1.3)", PageOption::Iopt0, pagefields::Card11, {}, {}},
    {Page::Card14, "Rainfall Hyetograph (1.4)", PageOption::Iopt0, {}, GridId::Card14, {}},
    {Page::Card15, "Subcatchment (1.5)", PageOption::Iopt0, {}, GridId::Card15, {}},
    {Page::Card17, "Subbasin Save (1.7 - 1.8)", PageOption::Iopt0, pagefields::Card17, {}, {}},
    {Page::Card19, "Subbasin Print (1.9 - 1.10)", PageOption::Iopt0, pagefields::Card19, GridId::Card110, {}},
    {Page::Card21, "Job Titles & Calculating Time Steps (2.1 - 2.2)", PageOption::Iopt1, pagefields::Card21, {}, {}},
    {Page::Card23, "Sub-Catchment Data  (2.3)", PageOption::Iopt1, {}, GridId::Card23, {}},
    {Page::Card31, "Conveyance Element (3.1)", PageOption::Either, {}, GridId::Card31, GridId::Card31aIndex},
    {Page::Card31a, "Tabular Values (3.1a)", PageOption::Never, {}, GridId::Card31a, {}},
    {Page::Card41, "Conveyance Save (4.1 - 4.2)", PageOption::Either, pagefields::Card41, GridId::Card42, {}},
    {Page::Card43, "Conveyance Print  (4.3 - 4.4)", PageOption::Either, pagefields::Card43, GridId::Card44, {}},
    {Page::Help, "Help", PageOption::Either, {}, {}, {}},
}};

/// Each entry stands at its own page number.
inline constexpr bool kEditorPagesInOrder = [] {
    for (int i = 0; i < EditorPageCount; ++i)
        if (kEditorPages[static_cast<std::size_t>(i)].page != i) return false;
    return true;
}();
static_assert(kEditorPagesInOrder, "kEditorPages must list the pages in the order of Page::");

/// The caption of page `page` (0 to 12); "" outside.
std::string pageCaption(int page);

/// Whether choosing option `iopt` (0 or 1) makes a page available; pages
/// available with either option keep the state they have.
bool pageAvailable(int page, int iopt);

}  // namespace rillo
