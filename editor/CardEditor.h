#pragma once
// frmEdit, the card editor: the child window of the main window in which a
// deck is built and corrected. It owns the one Deck while it is open and
// shows it: every field and grid of the deck is the data of a control here,
// edited in place, with no second copy.
//
// Until the user chooses the hydrograph option (Frame2, cmdOK) only the
// option frame shows; then the tab control SSTab1 with the pages of that
// option and the help page. Closing asks "Do you Want to Save?" while the
// deck holds changes its file does not (the deck's own modified flag); it
// refuses only when the user said Yes and the save did not happen, so that
// no edit is lost.

#include "Deck.h"
#include "EditorShell.h"
#include "RulesHost.h"

#include <QWidget>

#include <array>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace rillo {

struct EditorPage;

class ChangeSpread;
class GridView;
class HelpPage;

class CardEditor : public QWidget, private RulesHost {
    Q_OBJECT
public:
    /// The Load event: the option frame shows, SSTab1 is hidden.
    explicit CardEditor(EditorShell& shell, QWidget* parent = nullptr);
    ~CardEditor() override;

    Deck& deck() { return deck_; }
    /// Brings page `page` (0 to 12) of SSTab1 to the front.
    void showPage(int page);
    /// The Activate event. Runs by itself when the editor's MDI sub-window
    /// (or its own window) becomes active.
    void activate();
    /// cmdOK's click: the chosen option's pages become available.
    void chooseOption();
    /// Gives the keyboard focus to where a user starts: the chosen option
    /// while the option frame shows, else the page tabs.
    void focusFirstControl();

    QTabWidget* tabs() const { return tabs_; }
    GridView* gridView(GridId id) const { return views_[static_cast<std::size_t>(id)]; }
    GridView* viewOf(const Grid& grid) const;
    HelpPage* helpPage() const { return help_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    /// A right click on the form itself (or on a frame or label that passes
    /// the click on) pops up the main window's Edit menu.
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // RulesHost
    bool isEditorActive() override;
    void focusGrid(Grid& grid) override;
    void openPairsDialog(int row) override;

    QWidget* buildOptionFrame();
    /// The page an entry of the editor's page table describes.
    QWidget* buildPage(const EditorPage& page);
    /// A page of fields in a frame, with `grid` (if any) below them.
    QWidget* fieldPage(const EditorPage& page, GridView* grid);
    QWidget* fieldControl(Field field);
    QWidget* gridPage(GridView* grid);
    GridView* makeGridView(GridId id);
    void showField(Field field);
    void showOption();
    void gridKeyReleased(GridView* view, int keyCode);
    void gridMouseReleased(GridView* view, int button, const QPoint& globalPos);

    EditorShell& shell_;
    Deck deck_;
    std::unique_ptr<ChangeSpread> rules_;

    QGroupBox* frame2_ = nullptr;
    QRadioButton* optIopt0_ = nullptr;
    QRadioButton* optIopt1_ = nullptr;
    QButtonGroup* options_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    HelpPage* help_ = nullptr;
    std::array<QWidget*, FieldCount> fields_{};
    std::array<GridView*, GridCount> views_{};
    bool unloaded_ = false;
    bool watchingSubWindow_ = false;
    /// The child lost the activation to a modal window of the program's.
    bool leftForAModalWindow_ = false;
};

}  // namespace rillo
