#pragma once
// The deck: the card editor's named fields and its grids. Every value is
// text, exactly as shown in the editor. The editor presents this one object;
// there is no other copy of a deck while it is open.

#include "Grid.h"
#include "GridTypes.h"
#include "TextCodec.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace rillo {

/// The named scalar fields of the deck, in card order.
enum class Field : int {
    Watershed, Option,
    Title, SubTitle,
    Steps, StartHour, StartMinute, TimeStep, Hyetographs, ZeroDetentionPercent, PeakSummary,
    HyetographPoints, HyetographInterval,
    SaveHydrographs,
    PrintedSubbasins, PrintInterval,
    RoutingTitle, RoutingSubTitle,
    RoutingSteps, RoutingStartHour, RoutingStartMinute, RoutingTimeStep, RoutingPeakSummary,
    SavedElements,
    PrintedElements, RoutingPrintInterval,
    Count
};
inline constexpr int FieldCount = static_cast<int>(Field::Count);

struct FieldInfo {
    Field field;
    const char* name;   ///< what messages and reports call it
    const char* label;  ///< the label beside it
    bool checkBox;      ///< a check box holds "0" or "1"
};

/// Name and label of every field, in Field order.
const FieldInfo& fieldInfo(Field field);

/// The nine grids of the deck.
enum class GridId : int { Card14, Card15, Card110, Card23, Card31, Card31a, Card31aIndex, Card42, Card44, Count };
inline constexpr int GridCount = static_cast<int>(GridId::Count);

/// Columns of the conveyance element grid.
namespace Card31 {
inline constexpr int JK = 1, NDP = 2, Element = 3, Downstream = 4, Type = 5, FirstDimension = 6, Width = 6,
                     Length = 7, Slope = 8, LeftSlope = 9, RightSlope = 10, Roughness = 11, Depth = 12,
                     LastDimension = 12, Tabular = 13, Columns = 13;
}

/// Columns of the subcatchment grid.
namespace Card15 {
inline constexpr int Hyetograph = 1, Subcatchment = 2, Element = 3, Width = 4, Area = 5, Impervious = 6, Slope = 7,
                     ImperviousN = 8, PerviousN = 9, ImperviousStorage = 10, PerviousStorage = 11,
                     MaxInfiltration = 12, MinInfiltration = 13, Decay = 14, Columns = 14;
}

/// Columns of the tributary sub-catchment grid.
namespace Card23 {
inline constexpr int Subcatchment = 1, Element = 2, Columns = 2;
}

/// Columns of the index of tabular blocks (one row per special element).
namespace PairIndex {
inline constexpr int Element = 1, FirstRow = 2, Rows = 3;
}

/// Values a row of the list grids (cards 1.10, 4.2, 4.4) and of the
/// rainfall and tabular stores hold.
inline constexpr int ListColumns = 16, RainfallColumns = 10, PairColumns = 8;

/// The special-element combo (card 3.1 column 1): its items.
namespace JkItem {
inline constexpr int Diversion = 0, Detention = 1, Inflow = 2, DiversionTarget = 3;
}

/// The index grid of tabular blocks has a fixed number of rows.
inline constexpr int IndexRows = 100;
/// Most special elements the editor lets a user create.
inline constexpr int MaxSpecialElements = 100;

class Deck {
public:
    Deck();
    Deck(const Deck&) = delete;
    Deck& operator=(const Deck&) = delete;

    const std::string& text(Field field) const { return fields_[index(field)]; }
    void setText(Field field, std::string value);
    bool checked(Field field) const { return text(field) == "1"; }
    void setChecked(Field field, bool on) { setText(field, on ? "1" : "0"); }

    /// The hydrograph option: 0, 1, or -1 while neither is chosen.
    int iopt() const { return iopt_; }
    void setIopt(int iopt);

    Grid& grid(GridId id) { return *grids_[static_cast<std::size_t>(id)]; }
    const Grid& grid(GridId id) const { return *grids_[static_cast<std::size_t>(id)]; }
    Grid& card14() { return grid(GridId::Card14); }
    Grid& card15() { return grid(GridId::Card15); }
    Grid& card110() { return grid(GridId::Card110); }
    Grid& card23() { return grid(GridId::Card23); }
    Grid& card31() { return grid(GridId::Card31); }
    Grid& card31a() { return grid(GridId::Card31a); }
    Grid& card31aIndex() { return grid(GridId::Card31aIndex); }
    Grid& card42() { return grid(GridId::Card42); }
    Grid& card44() { return grid(GridId::Card44); }
    const Grid& card15() const { return grid(GridId::Card15); }
    const Grid& card31() const { return grid(GridId::Card31); }

    /// Called after any field or the option changes (for the editor's view).
    void setFieldObserver(std::function<void(Field)> observer) { observer_ = std::move(observer); }

    /// Whether a value changed since the deck was read from its file or
    /// written to one: a field, the option, or a cell or row of any grid.
    /// A value changed back to what it was still counts as a change.
    bool modified() const { return modified_; }
    /// The deck now holds what its file holds (a read or a save succeeded).
    void markSaved() { setModified(false); }
    /// Called whenever modified() changes (the editor's title shows it).
    void setModifiedObserver(std::function<void(bool)> observer) { modifiedObserver_ = std::move(observer); }
    /// Off while a reader fills the grids, whose every cell would otherwise
    /// be reported as a change (the read ends with markSaved anyway).
    void watchGrids(bool on);

    /// The encoding the deck's file was read in, which the save keeps.
    TextEncoding encoding() const { return encoding_; }
    void setEncoding(TextEncoding encoding) { encoding_ = encoding; }

    /// The file line a grid row was read from (0 when it was not read).
    long long sourceLine(GridId id, int row) const;
    void setSourceLine(GridId id, int row, long long line);

    /// Whether a card 3.1 row is an overflow row (columns 1 to 5 in the
    /// button-face colour).
    bool isOverflowRow(int row) const;

private:
    /// Watches every grid of the deck: any change of a cell or of the rows
    /// modifies the deck.
    struct ChangeWatch : GridObserver {
        Deck* deck = nullptr;
        void rowsInserted() override { deck->setModified(true); }
        void rowsRemoved() override { deck->setModified(true); }
        void reset() override { deck->setModified(true); }
        void cellsChanged(int, int, int, int) override { deck->setModified(true); }
    };
    static std::size_t index(Field f) { return static_cast<std::size_t>(f); }
    void setModified(bool modified) {
        if (modified_ == modified) return;
        modified_ = modified;
        if (modifiedObserver_) modifiedObserver_(modified);
    }
    std::array<std::string, FieldCount> fields_;
    // Declared before the grids, which hold it, so that it outlives them.
    ChangeWatch watch_;
    std::array<std::unique_ptr<Grid>, GridCount> grids_;
    int iopt_ = -1;
    std::function<void(Field)> observer_;
    bool modified_ = false;
    std::function<void(bool)> modifiedObserver_;
    TextEncoding encoding_ = TextEncoding::Utf8;
    std::array<std::vector<long long>, GridCount> sourceLines_;
};

/// Item lists of the two combo columns of card 3.1 (tab-separated).
extern const char* const JkComboList;
extern const char* const TypeComboList;

}  // namespace rillo
