#pragma once
// Cell formats, colours and the two listener interfaces of the grid.

#include <cstdint>
#include <string>

namespace rillo {

class Grid;

/// Cell types as numbered by the grid; other numbers are kept as given.
enum CellType : int {
    CellEdit = 1,
    CellFloat = 2,
    CellInteger = 3,
    CellButton = 7,
    CellCombo = 8,
};

/// Colours are 0x00BBGGRR, or a system colour with the top bit set.
inline constexpr std::uint32_t ColorWindow = 0x80000005u;
/// The button-face colour: cells in it are not meant for typing.
inline constexpr std::uint32_t ColorButtonFace = 0x8000000Fu;

enum class HAlign : int { General = 0, Left = 1, Right = 2, Center = 3 };
enum class VAlign : int { Top = 0, Bottom = 1, Center = 2 };

struct CellFormat {
    int type = CellEdit;
    bool locked = false;
    HAlign hAlign = HAlign::General;
    VAlign vAlign = VAlign::Center;
    // Float cells.
    double floatMin = -99999999.0;
    double floatMax = 99999999.0;
    int decimals = 2;
    // Integer cells.
    long long intMin = -99999999;
    long long intMax = 99999999;
    // Combo cells: items separated by tab characters, and two attributes the
    // grid keeps for the caller (editable text, maximum drop-down rows).
    std::string comboList;
    int comboEditable = 0;
    int comboMaxDrop = 0;
    // Button cells.
    std::string buttonText;
    std::uint32_t backColor = ColorWindow;

    bool operator==(const CellFormat&) const = default;

    /// A caption: locked, centred, in the button-face colour.
    static CellFormat caption() {
        CellFormat f;
        f.locked = true;
        f.backColor = ColorButtonFace;
        f.hAlign = HAlign::Center;
        return f;
    }
    /// A number with `places` decimals between `min` and `max`, right-aligned.
    static CellFormat number(int places, double min, double max) {
        CellFormat f;
        f.type = CellFloat;
        f.decimals = places;
        f.floatMin = min;
        f.floatMax = max;
        f.hAlign = HAlign::Right;
        return f;
    }
};

/// Events raised for what a user does through a view. Writes made by program
/// code raise none.
class GridListener {
public:
    virtual ~GridListener() = default;
    virtual void buttonClicked(Grid&, int /*col*/, int /*row*/, bool /*down*/) {}
    /// A cell's content was changed by the user and the cell has been left.
    virtual void change(Grid&, int /*col*/, int /*row*/) {}
    /// mode 1: editing begins; mode 0: editing ends.
    virtual void editMode(Grid&, int /*col*/, int /*row*/, int /*mode*/, bool /*changeMade*/) {}
    /// The caret is about to leave (col, row); set cancel to keep it there.
    virtual void leaveCell(Grid&, int /*col*/, int /*row*/, int /*newCol*/, int /*newRow*/, bool& /*cancel*/) {}
    /// A key was pressed; the handler may set keyCode to 0 to swallow it.
    virtual void keyDown(Grid&, int& /*keyCode*/, int /*shift*/) {}
    /// button 1 left, 2 right.
    virtual void mouseUp(Grid&, int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
};

/// What a view needs to stay in step with the grid's content.
class GridObserver {
public:
    virtual ~GridObserver() = default;
    virtual void rowsAboutToBeInserted(int /*row*/, int /*count*/) {}
    virtual void rowsInserted() {}
    virtual void rowsAboutToBeRemoved(int /*row*/, int /*count*/) {}
    virtual void rowsRemoved() {}
    virtual void aboutToReset() {}
    virtual void reset() {}
    virtual void cellsChanged(int /*col1*/, int /*row1*/, int /*col2*/, int /*row2*/) {}
    virtual void activeCellChanged(int /*col*/, int /*row*/) {}
};

/// Key codes the grid understands (the platform's virtual key numbers).
enum Key : int {
    KeyTab = 9,
    KeyReturn = 13,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
    KeyDelete = 46,
};
/// Shift state bits for keyDown and mouseUp.
enum ShiftState : int { ShiftMask = 1, CtrlMask = 2, AltMask = 4 };

}  // namespace rillo
