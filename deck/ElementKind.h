#pragma once
// A conveyance element's special kind, and the rules that hang on an
// element's type and pair count: one type that the reader, the writer, the
// editing rules, the pairs dialog and the model all use.

#include "Grid.h"

#include <optional>
#include <string>
#include <string_view>

namespace rillo {

class ElementKind {
public:
    enum Kind {
        Ordinary,         ///< no special kind chosen (a blank code)
        Detention,        ///< file code 0: storage against outflow
        Inflow,           ///< file code -1: time against inflow
        Diversion,        ///< file code N > 0: total flow against flow diverted to element N
        PendingDiversion, ///< a diversion whose receiving element is still to be entered
    };

    ElementKind() = default;
    static ElementKind detention() { return ElementKind(Detention); }
    static ElementKind inflow() { return ElementKind(Inflow); }
    static ElementKind diversionTo(long target) { return ElementKind(Diversion, target); }

    /// The kind a file code (the text of its columns) stands for: blank is
    /// Ordinary; none for a code that is no kind (-2, 1.5, letters).
    static std::optional<ElementKind> fromCode(std::string_view code);
    /// The kind an element's JK cell shows (its item and, for a diversion,
    /// the receiving element at the end of the item's text).
    static ElementKind ofCell(const Grid& card31, int row);

    Kind kind() const { return kind_; }
    long target() const { return target_; }
    bool operator==(const ElementKind& o) const { return kind_ == o.kind_ && target_ == o.target_; }

    /// The code as the file holds it, not yet justified; "" for Ordinary.
    std::string code() const;
    /// Shows the kind in an element's JK cell (base items plus, for a
    /// diversion, the item naming its receiving element).
    void showInCell(Grid& card31, int row) const;
    /// The text of its list item.
    std::string itemText() const;
    /// The list item of a diversion to `target` as the editor writes it:
    /// the words, then the number as at least 4 digits with leading zeros.
    static std::string diversionItem(long target);
    /// Digits of a receiving element's number as the editor takes it (the
    /// file's 5 columns hold a blank and these).
    static constexpr int TargetDigits = 4;

    /// The captions of the pairs dialog's odd (x) and even (y) columns.
    const char* xCaption() const;
    const char* yCaption() const;

    /// Element types that carry an overflow row (and an overflow line).
    static bool carriesOverflow(long long type) { return type > 3; }
    /// Makes row `row` of the element grid the overflow row of the element
    /// above it: columns 1 to 5 emptied, locked and in the button-face
    /// colour (which is how an overflow row is recognised), no "Tabular"
    /// button.
    static void markOverflowRow(Grid& card31, int row);
    /// Rows of 4 pairs (card 3.1A lines) that NDP pairs take.
    static int pairRows(long long ndp);
    /// Values (2 per pair) in the last of those rows.
    static int valuesInLastRow(long long ndp);

private:
    explicit ElementKind(Kind kind, long target = 0) : kind_(kind), target_(target) {}
    Kind kind_ = Ordinary;
    long target_ = 0;
};

}  // namespace rillo
