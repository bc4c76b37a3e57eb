// A deck built from the template through the windows as a user builds it:
// File > New, the option, the fields, keys typed into the grids, an
// element's pairs typed into the pairs dialog, File > Save; then the written
// file is opened again and read back.
#include "CardEditor.h"
#include "CoverWindow.h"
#include "DeckReader.h"
#include "GridTableModel.h"
#include "GridView.h"
#include "MainWindow.h"
#include "NumberText.h"
#include "PairsDialog.h"
#include "ScriptedUi.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sstream>

using namespace rillo;
using namespace rillo::shell;
using rillo::testing::ScriptedUi;

namespace {

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QFile::copy(QStringLiteral(RILLO_TEMPLATE), folder.filePath(QStringLiteral("blank.sin"))));
        window = std::make_unique<MainWindow>(&ui);
        window->setApplicationFolder(folder.path());
        window->resize(1400, 950);
        window->show();
        window->loadCover();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override {
        // No closing question about what a test typed.
        if (window->editorWindow()) window->editorWindow()->deck().markSaved();
        window.reset();
    }

    CardEditor& editor() { return *window->editorWindow(); }

    /// Keys as typed: each goes to whichever widget has the focus then.
    static void type(const QString& text) {
        for (const QChar c : text)
            if (QWidget* w = focused()) QTest::keyClick(w, c.toLatin1());
    }
    static void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        if (QWidget* w = focused()) QTest::keyClick(w, k, modifiers);
    }
    static QWidget* focused() {
        QWidget* w = QApplication::focusWidget();
        if (!w) ADD_FAILURE() << "no widget has the focus";
        return w;
    }
    static void click(GridView* view, int col, int row) {
        const QModelIndex cell = view->gridModel()->cellIndex(col, row);
        view->scrollTo(cell);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(cell).center());
    }
    /// Clicks a cell and types one value into it and each cell after it,
    /// with Tab between them and after the last.
    static void typeAlong(GridView* view, int col, int row, const QStringList& values) {
        click(view, col, row);
        ASSERT_EQ(view->grid().activeCol(), col);
        ASSERT_EQ(view->grid().activeRow(), row);
        for (const QString& value : values) {
            type(value);
            key(Qt::Key_Tab);
        }
    }
    void typeField(const char* name, const QString& text) {
        auto* edit = editor().findChild<QLineEdit*>(QLatin1String(name));
        ASSERT_NE(edit, nullptr) << name;
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    void typePairs(PairsDialog& dialog) {
        QApplication::setActiveWindow(&dialog);
        GridView* pairs = dialog.view();
        Grid& g = pairs->grid();
        ASSERT_EQ(g.rowCount(), 4);  // captions, 8 values, 4 values, buttons
        EXPECT_EQ(g.value(1, 1), "Storage (acres/feet):");
        EXPECT_EQ(g.value(2, 1), "Discharge (cfs):");
        EXPECT_TRUE(g.format(5, 3).locked);
        typeAlong(pairs, 1, 2, {"0", "0", "0.5", "5", "1.2", "12", "2", "20", "3.1", "28", "4.5", "35"});
        EXPECT_EQ(g.value(4, 3), "35.000000");
        click(pairs, 1, g.rowCount());  // "&OK"
    }

    ScriptedUi ui;
    QTemporaryDir folder;
    std::unique_ptr<MainWindow> window;
};

std::vector<std::string> fileLines(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<std::string> lines;
    for (const QByteArray& line : file.readAll().split('\n')) lines.push_back(line.trimmed().toStdString());
    return lines;
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

}  // namespace

TEST_F(EndToEndTest, ADeckTypedFromTheTemplateIsWrittenAndReadBack) {
    // File > New opens the template; the user chooses option 0.
    window->menuItem(QStringLiteral("mnuFileNew"))->trigger();
    ASSERT_NE(window->editorWindow(), nullptr);
    QTest::mouseClick(editor().findChild<QRadioButton*>("optIopt0"), Qt::LeftButton);
    QTest::mouseClick(editor().findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    ASSERT_EQ(editor().tabs()->currentIndex(), 1);

    // Cards 1.1 to 1.3.
    typeField("txtTitle", "Mill Creek detention study");
    typeField("txtTitle2", "Typed through the windows");
    typeField("txtNstep", "72");
    typeField("txtNhr", "6");
    typeField("txtNmn", "0");
    typeField("txtDelt", "5.0");
    typeField("txtNrgag", "1");
    typeField("txtPctzer", "25");
    typeField("txtNhisto", "4");
    typeField("txtThisto", "15");

    // Card 1.4: one hyetograph of four depths.
    editor().showPage(2);
    GridView* rain = editor().gridView(GridId::Card14);
    typeAlong(rain, 1, 2, {"0.1", "0.5", "1.2", "0.3"});

    // Card 1.5: one subcatchment, every value in its normal range.
    editor().showPage(3);
    GridView* sub = editor().gridView(GridId::Card15);
    typeAlong(sub, 1, 2,
              {"1", "1", "101", "450", "12.5", "35", "0.015", "0.015", "0.25", "0.06", "0.25", "3", "0.5",
               "0.00115"});
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{});

    // Card 3.1: a pipe, a detention basin with 6 pairs and a pipe with an
    // overflow channel.
    editor().showPage(Page::Card31);
    GridView* elements = editor().gridView(GridId::Card31);
    Grid& c31 = editor().deck().card31();
    ASSERT_EQ(c31.rowCount(), 3);
    click(elements, 1, 3);  // "&Add Row", twice
    click(elements, 1, 4);
    ASSERT_EQ(c31.rowCount(), 5);

    typeAlong(elements, Card31::Element, 2, {"101", "102", "2", "2", "450", "0.005", "", "", "0.013", "2"});

    typeAlong(elements, Card31::Element, 3, {"102", "103", "1", "4", "380", "0.004", "2", "2", "0.035", "3"});
    click(elements, Card31::JK, 3);
    type("De");  // the special type's list: "Detention Basin"
    key(Qt::Key_Tab);
    EXPECT_EQ(c31.value(Card31::JK, 3), std::to_string(JkItem::Detention));
    ASSERT_EQ(c31.activeCol(), Card31::NDP);
    type("6");
    key(Qt::Key_Tab);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Rillo2000|None|You Must Enter Tabular Values for row 3\n"
                                                      "Press the \"Tabular\" Button at the end of the row |OK"});
    ASSERT_EQ(c31.activeCol(), Card31::Tabular);
    ASSERT_EQ(c31.format(Card31::Tabular, 3).type, CellButton);

    // The pairs dialog: six pairs typed into its grid, then "&OK".
    bool dialogSeen = false;
    QTimer::singleShot(0, window.get(), [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<PairsDialog*>(modal)) {
            dialogSeen = true;
            typePairs(*dialog);
        }
        if (modal && modal->isVisible()) modal->close();  // a failed OK must not hang the test
    });
    click(elements, Card31::Tabular, 3);
    ASSERT_TRUE(dialogSeen);
    // The window system gives the main window back its activation.
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(ui.messages().size(), 1u);  // OK found no empty cell

    typeAlong(elements, Card31::Element, 4, {"103", "0"});
    ASSERT_EQ(c31.activeCol(), Card31::Type);
    type("5");  // "5 = Pipe with overflow channel"
    key(Qt::Key_Tab);
    ASSERT_EQ(c31.rowCount(), 6);
    EXPECT_EQ(ui.messages().back(),
              "Rillo 2000|None|With Options 4 or 5 chosen for the Conveyance Element you must enter another card "
              "3.1 with the first five columns left blank.|OK");
    typeAlong(elements, Card31::FirstDimension, 4, {"3", "250", "0.004", "", "", "0.013", "3"});
    typeAlong(elements, Card31::FirstDimension, 5, {"20", "250", "0.004", "4", "4", "0.04", "2"});

    // File > Save to a new file; element 103 drains nowhere, which is meant.
    const QString path = folder.filePath(QStringLiteral("mill.sin"));
    ui.clearDialogue();
    ui.fileName(path.toStdString()).yes().yes();
    window->menuItem(QStringLiteral("mnuFileSave"))->trigger();
    EXPECT_EQ(ui.dialogue(),
              (std::vector<std::string>{
                  "save: Save Rillo File -> " + path.toStdString(),
                  "Warning|None|This conveyance element 103 is not connected to a  down stream element.  If this is "
                  "okay then press \"Yes\" to finish saving, or press no to change the data.|YesNo -> Yes",
                  "Rillo 2000|None|Save Complete!|OK", "Rillo 2000|None|Finished with this File?|YesNo -> Yes"}));
    EXPECT_EQ(window->editorWindow(), nullptr);
    EXPECT_TRUE(window->cover()->isVisible());

    // The file as written: the element lines and the basin's two lines of pairs.
    const std::vector<std::string> lines = fileLines(path);
    const auto at = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return words(l) == std::vector<std::string>{"0", "101", "102", "2", "2.", "450.", "0.005", "0.013", "2."};
    });
    ASSERT_NE(at, lines.end()) << ::testing::PrintToString(lines);
    const std::size_t e = static_cast<std::size_t>(at - lines.begin());
    ASSERT_GE(lines.size(), e + 7);
    EXPECT_EQ(words(lines[e + 1]),
              (std::vector<std::string>{"0", "102", "103", "6", "1", "4.", "380.", "0.004", "2.", "2.", "0.035", "3."}));
    EXPECT_EQ(words(lines[e + 2]), (std::vector<std::string>{"0.", "0.", "0.5", "5.", "1.2", "12.", "2.", "20."}));
    EXPECT_EQ(words(lines[e + 3]), (std::vector<std::string>{"3.1", "28.", "4.5", "35."}));
    EXPECT_EQ(words(lines[e + 4]), (std::vector<std::string>{"0", "103", "0", "5", "3.", "250.", "0.004", "0.013", "3."}));
    EXPECT_EQ(words(lines[e + 5]), (std::vector<std::string>{"20.", "250.", "0.004", "4.", "4.", "0.04", "2."}));
    EXPECT_EQ(lines[e + 6], "");

    // Opened again, the deck is as it was typed.
    ScriptedUi reader;
    HeadlessHost host;
    ASSERT_EQ(openDeck(reader, host, path.toStdString()), OpenResult::Opened)
        << ::testing::PrintToString(reader.dialogue());
    Deck& deck = host.deck();
    EXPECT_EQ(deck.iopt(), 0);
    EXPECT_EQ(deck.text(Field::Title), "Mill Creek detention study");
    EXPECT_EQ(deck.text(Field::SubTitle), "Typed through the windows");
    EXPECT_EQ(readNumber(deck.text(Field::Steps)), 72);
    EXPECT_EQ(readNumber(deck.text(Field::StartHour)), 6);
    EXPECT_EQ(readNumber(deck.text(Field::TimeStep)), 5.0);
    EXPECT_EQ(readNumber(deck.text(Field::ZeroDetentionPercent)), 25);
    EXPECT_EQ(readNumber(deck.text(Field::HyetographPoints)), 4);
    EXPECT_EQ(readNumber(deck.text(Field::HyetographInterval)), 15);
    const Grid& r14 = deck.card14();
    EXPECT_EQ((std::vector<double>{r14.number(1, 2), r14.number(2, 2), r14.number(3, 2), r14.number(4, 2)}),
              (std::vector<double>{0.1, 0.5, 1.2, 0.3}));
    const Grid& r15 = deck.card15();
    EXPECT_EQ(r15.lastDataRow(), 2);
    EXPECT_EQ(r15.number(3, 2), 101);
    EXPECT_DOUBLE_EQ(r15.number(8, 2), 0.015);
    EXPECT_DOUBLE_EQ(r15.number(14, 2), 0.00115);

    const Grid& r31 = deck.card31();
    EXPECT_EQ(r31.lastDataRow(), 5);
    EXPECT_EQ(r31.value(Card31::Element, 3), "102");
    EXPECT_EQ(r31.value(Card31::JK, 3), std::to_string(JkItem::Detention));
    EXPECT_EQ(r31.value(Card31::NDP, 3), "6");
    EXPECT_EQ(r31.format(Card31::Tabular, 3).type, CellButton);
    EXPECT_EQ(r31.value(Card31::Type, 4), "5");
    EXPECT_TRUE(deck.isOverflowRow(5));
    EXPECT_DOUBLE_EQ(r31.number(11, 5), 0.04);

    const Grid& index = deck.card31aIndex();
    ASSERT_EQ(index.value(1, 1), "102");
    EXPECT_EQ(index.number(3, 1), 2);
    const int first = static_cast<int>(index.number(2, 1));
    const Grid& store = deck.card31a();
    std::vector<double> values;
    for (int r = first; r < first + 2; ++r)
        for (int c = 1; c <= 8; ++c) values.push_back(store.number(c, r));
    values.resize(12);
    EXPECT_EQ(values, (std::vector<double>{0, 0, 0.5, 5, 1.2, 12, 2, 20, 3.1, 28, 4.5, 35}));
}
