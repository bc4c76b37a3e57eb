#include "CardEditor.h"
#include "ControlNames.h"
#include "DeckReader.h"
#include "GridTableModel.h"
#include "GridView.h"
#include "HelpPage.h"
#include "HelpTexts.h"
#include "TestShell.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace rillo;

namespace {

class CardEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor = std::make_unique<CardEditor>(shell);
        shell.savedDeck = &editor->deck();
        editor->resize(1100, 750);
        editor->show();
        QApplication::setActiveWindow(editor.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }
    void TearDown() override {
        if (editor) {
            shell.savedDeck = nullptr;
            editor.reset();
        }
    }

    template <class T>
    T* child(const char* name) {
        T* w = editor->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void choose(const char* option) {
        QTest::mouseClick(child<QRadioButton>(option), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>("cmdOK"), Qt::LeftButton);
    }
    std::vector<int> available() const {
        std::vector<int> pages;
        for (int i = 0; i < editor->tabs()->count(); ++i)
            if (editor->tabs()->isTabEnabled(i)) pages.push_back(i);
        return pages;
    }
    std::vector<int> disabledLabels() const {
        std::vector<int> labels;
        for (int i = 0; i < HelpGroupCount; ++i)
            if (!editor->helpPage()->cardLabel(i)->isEnabled()) labels.push_back(i);
        return labels;
    }
    void typeInto(QWidget* w, const QString& text) {
        for (const QChar c : text) QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w, c.toLatin1());
    }

    rillo::testing::TestShell shell;
    std::unique_ptr<CardEditor> editor;
};

}  // namespace

TEST_F(CardEditorTest, LoadShowsTheOptionFrameWithPagesCaptionsAndFlags) {
    EXPECT_FALSE(editor->tabs()->isVisible());
    EXPECT_TRUE(child<QGroupBox>("Frame2")->isVisible());
    EXPECT_FALSE(editor->deck().modified()) << "nothing typed yet";
    ASSERT_EQ(editor->tabs()->count(), EditorPageCount);
    EXPECT_EQ(editor->tabs()->tabText(6), "Job Titles && Calculating Time Steps (2.1 - 2.2)");  // no mnemonic
    for (int i = 0; i < HelpGroupCount; ++i)
        EXPECT_EQ(editor->helpPage()->cardLabel(i)->text().toStdString(), pageCaption(i));
    for (int i = 0; i < GridCount; ++i) EXPECT_EQ(editor->deck().grid(static_cast<GridId>(i)).rowsFrozen(), 1);
    for (int i = 0; i < FieldCount; ++i) {
        const char* name = controlName(static_cast<Field>(i));
        EXPECT_NE(editor->findChild<QWidget*>(name), nullptr) << name;
    }
}

TEST_F(CardEditorTest, OptionZeroOffersCards1WithoutPage0AfterActivation) {
    EXPECT_EQ(shell.deckOpenStates, 1);  // the window's activation is the editor's Activate
    choose("optIopt0");
    EXPECT_EQ(editor->deck().iopt(), 0);
    EXPECT_FALSE(child<QGroupBox>("Frame2")->isVisible());
    EXPECT_TRUE(editor->tabs()->isVisible());
    EXPECT_EQ(editor->tabs()->currentIndex(), 1);
    EXPECT_EQ(available(), (std::vector<int>{1, 2, 3, 4, 5, 8, 10, 11, 12}));
    EXPECT_EQ(disabledLabels(), (std::vector<int>{6, 7, 9}));
}

TEST_F(CardEditorTest, TheOptionIsChosenWithTheKeyboardAndTheKeysGoOnFromThePageTabs) {
    EXPECT_EQ(QApplication::focusWidget(), child<QRadioButton>("optIopt0"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(child<QRadioButton>("optIopt1")->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(child<QGroupBox>("Frame2")->isVisible());
    EXPECT_EQ(editor->tabs()->currentIndex(), 6);
    EXPECT_EQ(QApplication::focusWidget(), editor->tabs()->tabBar());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(editor->tabs()->currentIndex(), 7);
}

TEST_F(CardEditorTest, OptionOneOffersCards2AndDisablesHelpLabels1To5) {
    editor->activate();
    editor->deck().setIopt(1);  // as a deck file with IOPT 1 selects it
    editor->deck().markSaved();  // and the read leaves it as its file has it
    EXPECT_TRUE(child<QRadioButton>("optIopt1")->isChecked());
    QTest::mouseClick(child<QPushButton>("cmdOK"), Qt::LeftButton);
    EXPECT_EQ(editor->tabs()->currentIndex(), 6);
    EXPECT_EQ(available(), (std::vector<int>{6, 7, 8, 10, 11, 12}));
    EXPECT_EQ(disabledLabels(), (std::vector<int>{1, 2, 3, 4, 5, 9}));
    // Choosing the option the deck already has is no change; activating
    // the editor (as a closing message box does) is none either.
    EXPECT_FALSE(editor->deck().modified());
    editor->activate();
    EXPECT_FALSE(editor->deck().modified());
}

TEST_F(CardEditorTest, ClosingAsksAndSavesOnYes) {
    editor->deck().setText(Field::Title, "Edited");
    shell.scripted.yes();
    editor->close();
    EXPECT_EQ(shell.scripted.dialogue(), (std::vector<std::string>{"Rillo 2000|None|Do you Want to Save?|YesNo -> Yes"}));
    EXPECT_EQ(shell.saves, 1);
    EXPECT_FALSE(editor->deck().modified());
    EXPECT_EQ(shell.covers, 1);
    editor->close();  // closed once: no second question
    EXPECT_EQ(shell.scripted.dialogue().size(), 1u);
}

TEST_F(CardEditorTest, ClosingOnNoClosesWithoutSavingAndSilentlyWhenNothingToSave) {
    editor->deck().card15().setValue(Card15::Area, 2, "3.5");
    shell.scripted.no();
    EXPECT_TRUE(editor->close());
    EXPECT_EQ(shell.saves, 0);
    EXPECT_TRUE(editor->deck().modified());
    EXPECT_EQ(shell.covers, 1);

    rillo::testing::TestShell quiet;
    CardEditor other(quiet);
    EXPECT_TRUE(other.close());
    EXPECT_TRUE(quiet.scripted.dialogue().empty());
    EXPECT_EQ(quiet.covers, 0);
}

TEST_F(CardEditorTest, ASaveThatDidNotHappenKeepsTheEditorAndItsDeckOpen) {
    editor->deck().setText(Field::Title, "Unsaved study");
    shell.saveSucceeds = false;  // the save dialog cancelled, a check refused or the write failed
    shell.scripted.yes();
    EXPECT_FALSE(editor->close());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(shell.saves, 1);
    EXPECT_EQ(shell.covers, 0);
    EXPECT_TRUE(editor->deck().modified());  // still unsaved
    EXPECT_EQ(editor->deck().text(Field::Title), "Unsaved study");

    // The next close asks again; a save that happens now lets it go.
    shell.saveSucceeds = true;
    shell.scripted.yes();
    EXPECT_TRUE(editor->close());
    EXPECT_EQ(shell.scripted.dialogue(), (std::vector<std::string>{"Rillo 2000|None|Do you Want to Save?|YesNo -> Yes",
                                                                   "Rillo 2000|None|Do you Want to Save?|YesNo -> Yes"}));
    EXPECT_EQ(shell.saves, 2);
    EXPECT_EQ(shell.covers, 1);
    EXPECT_FALSE(editor->deck().modified());
}

TEST_F(CardEditorTest, FieldsAreTheDecksTextBothWays) {
    choose("optIopt0");
    auto* nstep = child<QLineEdit>("txtNstep");
    nstep->setFocus();
    QTest::keyClicks(nstep, "288");
    EXPECT_EQ(editor->deck().text(Field::Steps), "288");
    editor->deck().setText(Field::StartHour, "  7");
    EXPECT_EQ(child<QLineEdit>("txtNhr")->text(), "  7");
    QTest::mouseClick(child<QCheckBox>("chkIpkchk"), Qt::LeftButton);
    EXPECT_TRUE(editor->deck().checked(Field::PeakSummary));
    editor->deck().setChecked(Field::SaveHydrographs, true);
    EXPECT_TRUE(child<QCheckBox>("chkSave")->isChecked());
}

TEST_F(CardEditorTest, TypingIntoAGridWritesTheDeckAndDeleteSparesTheCaptionRow) {
    choose("optIopt0");
    editor->showPage(3);
    GridView* view = editor->gridView(GridId::Card15);
    Grid& grid = editor->deck().card15();
    view->setFocus();
    grid.setActiveCell(1, 1);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(grid.value(1, 1), "Hyetograph Number:");

    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(grid.activeRow(), 2);
    typeInto(view, "3");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    typeInto(view, "101");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(grid.value(1, 2), "3");
    EXPECT_EQ(grid.value(2, 2), "101");
    EXPECT_EQ(grid.activeCol(), 3);

    QTest::keyClick(view, Qt::Key_Left);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(grid.value(2, 2), "");
    EXPECT_EQ(grid.value(1, 2), "3");
}

TEST_F(CardEditorTest, RightClickPopsTheEditMenuExceptOnConveyanceElements) {
    // The form itself, and the option frame and its note that pass the click on.
    QTest::mouseClick(editor.get(), Qt::RightButton, Qt::NoModifier, QPoint(5, editor->height() - 5));
    EXPECT_TRUE(shell.menu.isVisible());
    shell.menu.hide();
    QTest::mouseClick(child<QLabel>("Label27"), Qt::RightButton);
    EXPECT_TRUE(shell.menu.isVisible());
    shell.menu.hide();
    QTest::mouseClick(editor.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, editor->height() - 5));
    EXPECT_FALSE(shell.menu.isVisible());

    choose("optIopt0");
    editor->showPage(2);
    GridView* rain = editor->gridView(GridId::Card14);
    const QPoint cell = rain->visualRect(rain->gridModel()->cellIndex(2, 2)).center();
    QTest::mouseClick(rain->viewport(), Qt::RightButton, Qt::NoModifier, cell);
    EXPECT_TRUE(shell.menu.isVisible());
    shell.menu.hide();

    editor->showPage(8);
    GridView* elements = editor->gridView(GridId::Card31);
    QTest::mouseClick(elements->viewport(), Qt::RightButton, Qt::NoModifier,
                      elements->visualRect(elements->gridModel()->cellIndex(2, 2)).center());
    EXPECT_FALSE(shell.menu.isVisible());
}

TEST_F(CardEditorTest, EachHelpLabelShowsItsTextTheSameEveryTime) {
    choose("optIopt1");
    editor->showPage(HelpPageIndex);
    HelpPage* help = editor->helpPage();
    for (int i = 0; i < HelpGroupCount; ++i) {
        QLabel* label = help->cardLabel(i);
        if (!label->isEnabled()) continue;
        const QString expected = QString::fromStdString(helpText(i)).replace('\r', '\n');
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_EQ(help->helpLabel()->text(), expected) << i;
        editor->deck().setText(Field::RoutingTitle, "changed " + std::to_string(i));
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_EQ(help->helpLabel()->text(), expected) << i;
    }
    // A disabled label (card 1.5 under option 1) does not change the text.
    const QString shown = help->helpLabel()->text();
    QTest::mouseClick(help->cardLabel(3), Qt::LeftButton);
    EXPECT_EQ(help->helpLabel()->text(), shown);
    help->showHelp(12);
    EXPECT_EQ(help->helpLabel()->text(), shown);
}

TEST_F(CardEditorTest, TheScrollBarMovesTheHelpTextUpwards) {
    choose("optIopt0");
    editor->showPage(HelpPageIndex);
    HelpPage* help = editor->helpPage();
    help->picture()->resize(400, 200);
    QTest::mouseClick(help->cardLabel(8), Qt::LeftButton);
    QScrollBar* bar = help->scrollBar();
    ASSERT_GT(bar->maximum(), 100);  // the long card 3.1 text does not fit
    const int top = help->helpLabel()->y();
    bar->setValue(80);
    EXPECT_EQ(help->helpLabel()->y(), top - 80);
    EXPECT_EQ(help->helpLabel()->x(), help->picture()->contentsRect().left());
    bar->setTracking(false);  // while dragging: the label follows the slider at once
    bar->setSliderDown(true);
    bar->setSliderPosition(30);
    EXPECT_EQ(help->helpLabel()->y(), top - 30);
    bar->setSliderDown(false);
    EXPECT_EQ(help->helpLabel()->y(), top - 30);
}

TEST_F(CardEditorTest, TheKeyboardScrollsTheHelpTextFromTheLastCardLabel) {
    choose("optIopt0");
    editor->showPage(HelpPageIndex);
    HelpPage* help = editor->helpPage();
    help->picture()->resize(400, 200);
    help->showHelp(8);
    const int top = help->helpLabel()->y();
    help->cardLabel(11)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), help->scrollBar());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    EXPECT_LT(help->helpLabel()->y(), top);
}

TEST_F(CardEditorTest, CardLabelsOpenTheirHelpByKeyboardAndByAssistiveTechnology) {
    choose("optIopt1");  // labels 1 to 5 are disabled
    editor->showPage(HelpPageIndex);
    HelpPage* help = editor->helpPage();
    const auto helpOf = [](int group) { return QString::fromStdString(helpText(group)).replace('\r', '\n'); };

    // Tab from the page tabs reaches the first card label, then skips the disabled ones.
    editor->tabs()->tabBar()->setFocus(Qt::OtherFocusReason);
    for (int presses = 0; presses < 6 && !qobject_cast<CardLabel*>(QApplication::focusWidget()); ++presses)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), help->cardLabel(0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(help->helpLabel()->text(), helpOf(0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), help->cardLabel(6));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(help->helpLabel()->text(), helpOf(6));

    // A click opens the help as before and leaves the focus where it was.
    QTest::mouseClick(help->cardLabel(8), Qt::LeftButton);
    EXPECT_EQ(help->helpLabel()->text(), helpOf(8));
    EXPECT_EQ(QApplication::focusWidget(), help->cardLabel(6));

    // A screen reader sees a link named by the card that it can press.
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(help->cardLabel(7));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_EQ(link->text(QAccessible::Name).toStdString(), pageCaption(7));
    EXPECT_TRUE(link->state().focusable);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(help->helpLabel()->text(), helpOf(7));
    QAccessibleInterface* disabled = QAccessible::queryAccessibleInterface(help->cardLabel(3));
    EXPECT_FALSE(disabled->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    disabled->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(help->helpLabel()->text(), helpOf(7));

    // Without the focus a card label is drawn as a plain label of the same style.
    QLabel plain(help->cardLabel(10)->text(), help->cardLabel(10)->parentWidget());
    plain.setStyleSheet(help->cardLabel(10)->styleSheet());
    plain.setWordWrap(true);
    plain.setGeometry(help->cardLabel(10)->geometry());
    ASSERT_TRUE(help->cardLabel(10)->isEnabled());
    EXPECT_TRUE(plain.grab().toImage() == help->cardLabel(10)->grab().toImage());
}

TEST(CardEditorDeck, DeleteOnAnNdpCellEndsTheElementsPairs) {
    rillo::testing::TestShell shell;
    rillo::testing::EditorTestHost host(shell);
    ASSERT_EQ(openDeck(shell.scripted, host, RILLO_EXAMPLES_DIR "/basin.sin"), OpenResult::Opened);
    CardEditor& editor = *host.editor;
    QApplication::setActiveWindow(&editor);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    QTest::mouseClick(editor.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    editor.showPage(Page::Card31);

    Deck& deck = editor.deck();
    Grid& elements = deck.card31();
    ASSERT_EQ(elements.value(Card31::Element, 3), "102");  // a detention basin with 6 pairs
    ASSERT_EQ(elements.value(Card31::NDP, 3), "6");
    ASSERT_EQ(elements.format(Card31::Tabular, 3).type, CellButton);
    ASSERT_EQ(deck.card31aIndex().value(1, 1), "102");

    GridView* view = editor.gridView(GridId::Card31);
    view->setFocus();
    elements.setActiveCell(Card31::NDP, 3);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(elements.value(Card31::JK, 3), "");
    EXPECT_EQ(elements.value(Card31::NDP, 3), "");
    EXPECT_NE(elements.format(Card31::Tabular, 3).type, CellButton);
    for (int r = 1; r <= IndexRows; ++r) EXPECT_NE(deck.card31aIndex().value(1, r), "102") << r;
    EXPECT_EQ(elements.value(Card31::Element, 3), "102");  // the element itself stays
    EXPECT_TRUE(deck.modified());
}

TEST_F(CardEditorTest, TheStoreOfTabularPairsIsNeverAvailableWhateverTheOption) {
    // A deck whose IOPT digit is neither 0 nor 1: neither option is chosen.
    editor->deck().setIopt(-1);
    ASSERT_FALSE(child<QRadioButton>("optIopt0")->isChecked());
    ASSERT_FALSE(child<QRadioButton>("optIopt1")->isChecked());
    QTest::mouseClick(child<QPushButton>("cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(editor->tabs()->isTabEnabled(9));
    EXPECT_FALSE(editor->helpPage()->cardLabel(9)->isEnabled());
}

TEST(CardEditorDeck, AFailedOpenLeavesNoEditorAndNothingToSave) {
    rillo::testing::TestShell shell;
    rillo::testing::EditorTestHost host(shell);
    const auto deckFile = [](const char* name, const QByteArray& contents) {
        const QString path =
            QDir::temp().filePath(QStringLiteral("rillo-editor-%1-%2.sin").arg(QCoreApplication::applicationPid()).arg(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        return path;
    };
    const QByteArray head = "   2   1   1   2\r\n   3   4\r\nWATERSHED   0\r\nT\r\n\r\n"
                            "      100  0 0  5.0    0   10                                                  0\r\n"
                            "    0    5\r\n";
    // Ends inside card 1.5, after five subcatchments.
    const QString bad = deckFile("bad", head + "    1    1    7\r\n    1    2    7\r\n    1    3    7\r\n"
                                               "    1    4    7\r\n    1    5    7\r\n");
    const QString good = deckFile("good", head + "    1    9    7\r\n\r\n    0\r\n    0    0\r\n"
                                                 "    0    7    7    1\r\n\r\n    0\r\n    0    0\r\nENDPROGRAM\r\n");
    EXPECT_EQ(openDeck(shell.scripted, host, bad.toStdString()), OpenResult::ReadError);
    EXPECT_EQ(host.editor, nullptr);  // File > Exit has no deck to ask about

    ASSERT_EQ(openDeck(shell.scripted, host, good.toStdString()), OpenResult::Opened);
    EXPECT_EQ(host.editor->deck().card15().lastDataRow(), 2);  // its one subcatchment, none of the failed deck's
    EXPECT_EQ(host.editor->deck().card15().value(2, 2), "9");
    EXPECT_FALSE(host.editor->deck().modified()) << "a deck just read holds what its file holds";
    QFile::remove(bad);
    QFile::remove(good);
}
