#pragma once
// The tabular pairs dialog window: a modal dialog centred over the main
// window that shows the pairs grid of PairsDialogLogic and forwards its
// events there. A right click on the grid pops up the Edit menu it is given.

#include "PairsDialogLogic.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QMenu;

namespace rillo {

class GridView;

class PairsDialog : public QDialog {
    Q_OBJECT
public:
    PairsDialog(Deck& deck, UiServices& ui, QWidget* mainWindow, QMenu* editMenu = nullptr);

    /// Prepares the dialog for card 3.1 `row`; false when the row cannot
    /// have pairs (the user has been told why).
    bool load(int row);
    /// Loads and runs the dialog modally; true when OK copied the pairs back.
    bool run(int row);

    PairsDialogLogic& logic() { return logic_; }
    GridView* view() const { return view_; }

    /// Places the dialog centred over the main window.
    void centreOverMainWindow();

private:
    PairsDialogLogic logic_;
    QPointer<QWidget> mainWindow_;
    QPointer<QMenu> editMenu_;
    QLabel* instruction_;
    GridView* view_;
};

}  // namespace rillo
