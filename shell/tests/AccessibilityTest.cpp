// Every window as assistive technology sees it: the accessibility tree of
// each window is walked, and every element a user can operate must say what
// it is called and what it does; pictures and the frames that group controls
// are named too, and every grid is named and describes its columns.

#include "AboutWindow.h"
#include "BasicHelpWindow.h"
#include "CardEditor.h"
#include "CoverWindow.h"
#include "GridTableModel.h"
#include "GridView.h"
#include "HelpPage.h"
#include "MainWindow.h"
#include "PairsDialog.h"
#include "ResultsWindow.h"
#include "RunForm.h"
#include "ScriptedUi.h"
#include "SplashWindow.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <set>

using namespace rillo;
using namespace rillo::shell;
using rillo::testing::ScriptedUi;

namespace {

/// Roles that tell a user what operating the element does.
bool saysWhatItDoes(QAccessible::Role role) {
    static const std::set<QAccessible::Role> roles = {
        QAccessible::PushButton, QAccessible::Button,     QAccessible::CheckBox,     QAccessible::RadioButton,
        QAccessible::ComboBox,   QAccessible::EditableText, QAccessible::SpinBox,    QAccessible::Slider,
        QAccessible::ScrollBar,  QAccessible::Link,       QAccessible::PageTab,      QAccessible::PageTabList,
        QAccessible::MenuItem,   QAccessible::MenuBar,    QAccessible::PopupMenu,    QAccessible::ButtonMenu,
        QAccessible::ButtonDropDown, QAccessible::Table,  QAccessible::Cell,         QAccessible::ColumnHeader,
        QAccessible::RowHeader,  QAccessible::List,       QAccessible::ListItem,     QAccessible::ToolBar,
        QAccessible::Tree,       QAccessible::TreeItem,   QAccessible::Chart,        QAccessible::StaticText,
        QAccessible::Dialog,     QAccessible::Window,     QAccessible::ProgressBar,  QAccessible::StatusBar,
    };
    return roles.count(role) > 0;
}

bool isInteractive(QAccessibleInterface* iface) {
    // A widget that hands its focus on (a tab control to its tab bar) is
    // operated through that one.
    if (auto* widget = qobject_cast<QWidget*>(iface->object()); widget && widget->focusProxy()) return false;
    // A scroll bar of its own (not one of a scroll area's) is operated by mouse.
    if (iface->role() == QAccessible::ScrollBar && iface->object() && iface->object()->parent() &&
        !iface->object()->parent()->objectName().startsWith(QLatin1String("qt_scrollarea")))
        return true;
    const QAccessible::State state = iface->state();
    if (state.disabled && !state.focusable) return false;
    if (state.focusable) return true;
    const QAccessibleActionInterface* actions = iface->actionInterface();
    return actions && !actions->actionNames().isEmpty();
}

/// An access-key marker left in a name ("&Add Row"); "Job Titles & Steps" is fine.
bool hasAccessKeyMarker(const QString& name) {
    static const QRegularExpression marker(QStringLiteral("&[^ &]"));
    return marker.match(name).hasMatch();
}

bool hasInteractiveDescendant(QAccessibleInterface* iface, int depth = 0) {
    if (depth > 40) return false;
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (child && (isInteractive(child) || hasInteractiveDescendant(child, depth + 1))) return true;
    }
    return false;
}

class Walker {
public:
    QStringList problems;
    int elements = 0;
    int buttonCells = 0;
    int tables = 0;

    void walk(QAccessibleInterface* iface, const QString& path, int depth = 0) {
        if (!iface || depth > 60) return;
        ++elements;
        const QAccessible::Role role = iface->role();
        const QString name = iface->text(QAccessible::Name).trimmed();
        const QString where = path + QLatin1Char('/') + describe(iface);
        if (role == QAccessible::Table) {
            checkTable(iface, where);
            return;  // its cells are checked there
        }
        if (isInteractive(iface)) {
            if (name.isEmpty()) problems << where + QStringLiteral(": operable but has no name");
            if (!saysWhatItDoes(role))
                problems << where + QStringLiteral(": operable but its role (%1) does not say what it does").arg(role);
            if (hasAccessKeyMarker(name)) problems << where + QStringLiteral(": the name keeps its \"&\"");
        } else if (role == QAccessible::Graphic && name.isEmpty()) {
            problems << where + QStringLiteral(": picture without a name");
        } else if ((role == QAccessible::Border || role == QAccessible::Grouping) && name.isEmpty() &&
                   hasInteractiveDescendant(iface)) {
            problems << where + QStringLiteral(": frame of controls without a name");
        }
        for (int i = 0; i < iface->childCount(); ++i) walk(iface->child(i), where, depth + 1);
    }

private:
    static QString describe(QAccessibleInterface* iface) {
        QString id;
        if (QObject* o = iface->object()) id = o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : o->objectName();
        return QStringLiteral("%1[%2 \"%3\"]").arg(id).arg(iface->role()).arg(iface->text(QAccessible::Name));
    }

    void checkTable(QAccessibleInterface* table, const QString& where) {
        ++tables;
        if (table->text(QAccessible::Name).trimmed().isEmpty()) problems << where + QStringLiteral(": grid without a name");
        if (table->text(QAccessible::Description).trimmed().isEmpty())
            problems << where + QStringLiteral(": grid that does not describe its columns");
        QAccessibleTableInterface* t = table->tableInterface();
        if (!t) {
            problems << where + QStringLiteral(": grid without a table interface");
            return;
        }
        auto* view = qobject_cast<GridView*>(table->object());
        for (int r = 0; r < t->rowCount(); ++r)
            for (int c = 0; c < t->columnCount(); ++c) {
                QAccessibleInterface* cell = t->cellAt(r, c);
                const QString at = where + QStringLiteral(" cell %1,%2").arg(c + 1).arg(r + 1);
                if (!cell) {
                    problems << at + QStringLiteral(": no cell");
                    continue;
                }
                const bool isButton =
                    view && view->gridModel()->format(view->gridModel()->index(r, c)).type == CellButton;
                const QString name = cell->text(QAccessible::Name);
                QAccessibleActionInterface* actions = cell->actionInterface();
                const QStringList names = actions ? actions->actionNames() : QStringList();
                if (isButton) {
                    ++buttonCells;
                    if (cell->role() != QAccessible::Button && cell->role() != QAccessible::PushButton)
                        problems << at + QStringLiteral(": button cell \"%1\" is not a button").arg(name);
                    if (!cell->state().disabled && !names.contains(QAccessibleActionInterface::pressAction()))
                        problems << at + QStringLiteral(": button cell \"%1\" cannot be pressed").arg(name);
                    if (name.trimmed().isEmpty() || hasAccessKeyMarker(name))
                        problems << at + QStringLiteral(": button cell named \"%1\"").arg(name);
                } else if (!saysWhatItDoes(cell->role())) {
                    problems << at + QStringLiteral(": cell role %1").arg(cell->role());
                } else if (cell->tableCellInterface() && t->columnDescription(c).trimmed().isEmpty() &&
                           name.trimmed().isEmpty()) {
                    problems << at + QStringLiteral(": an empty cell in a column without a caption");
                }
            }
    }
};

QStringList problemsOf(QWidget* window, Walker* out = nullptr) {
    Walker walker;
    walker.walk(QAccessible::queryAccessibleInterface(window), window->objectName());
    if (out) *out = walker;
    return walker.problems;
}

class AccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(&ui);
        window->setApplicationFolder(QStringLiteral(RILLO_EXAMPLES_DIR));
        window->resize(1200, 900);
        window->show();
        window->loadCover();
    }
    void TearDown() override {
        // No closing question about what a test typed.
        if (window->editorWindow()) window->editorWindow()->deck().markSaved();
        window.reset();
    }
    CardEditor& openExample() {
        ui.fileName(RILLO_EXAMPLES_DIR "/basin.sin");
        window->fileOpen();
        CardEditor* editor = window->editorWindow();
        EXPECT_NE(editor, nullptr);
        editor->findChild<QRadioButton*>("optIopt0")->setChecked(true);
        editor->chooseOption();
        return *editor;
    }

    ScriptedUi ui;
    std::unique_ptr<MainWindow> window;
};

}  // namespace

TEST_F(AccessibilityTest, EveryOperableElementOfTheStartAndEditorWindowsIsNamedAndSaysWhatItDoes) {
    EXPECT_EQ(problemsOf(window.get()).join(QLatin1Char('\n')).toStdString(), "");

    CardEditor& editor = openExample();
    Walker walker;
    EXPECT_EQ(problemsOf(window.get(), &walker).join(QLatin1Char('\n')).toStdString(), "");
    // Every card grid and the hidden index grid; each card grid's "Add Row".
    EXPECT_GE(walker.tables, GridCount);
    EXPECT_GE(walker.buttonCells, GridCount - 1);
    (void)editor;
}

TEST_F(AccessibilityTest, ThePairsDialogAndTheSmallWindowsAreNamedToo) {
    CardEditor& editor = openExample();
    const Grid& card31 = editor.deck().card31();
    int special = 0;
    for (int r = 2; r < card31.rowCount() && !special; ++r)
        if (card31.number(Card31::NDP, r) > 0) special = r;
    ASSERT_NE(special, 0) << "the example has no special element";
    editor.deck().card31().setActiveCell(Card31::Tabular, special);
    PairsDialog dialog(editor.deck(), ui, window.get());
    ASSERT_TRUE(dialog.load(special));
    dialog.show();
    Walker walker;
    EXPECT_EQ(problemsOf(&dialog, &walker).join(QLatin1Char('\n')).toStdString(), "");
    EXPECT_EQ(walker.buttonCells, 2);  // "OK" and "Cancel"

    SplashWindow splash;
    splash.timer()->stop();
    AboutWindow about;
    BasicHelpWindow help;
    run::ComponentRegistry components;
    run::RunForm form(ui, components, QStringLiteral(RILLO_EXAMPLES_DIR));
    for (QWidget* w : std::initializer_list<QWidget*>{&splash, &about, &help, &form})
        EXPECT_EQ(problemsOf(w).join(QLatin1Char('\n')).toStdString(), "") << w->objectName().toStdString();
}

TEST_F(AccessibilityTest, TheResultsWindowOfARunIsNamedToo) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString base = folder.filePath(QStringLiteral("basin"));
    QProcess model;
    model.start(QStringLiteral(RILLO_MODEL_PROGRAM),
                {QStringLiteral(RILLO_EXAMPLES_DIR "/basin.sin"), base + QStringLiteral(".sot"),
                 base + QStringLiteral("sub.ssb"), base + QStringLiteral("gut.ssb"), QString()});
    ASSERT_TRUE(model.waitForFinished(60000));
    ASSERT_EQ(model.exitCode(), 0) << model.readAllStandardError().toStdString();

    results::ResultsWindow results(results::resultsFilesFor((base + QStringLiteral(".sot")).toStdString()), ui);
    results.show();
    if (results.isLoading()) {
        QSignalSpy loaded(&results, &results::ResultsWindow::loaded);
        ASSERT_TRUE(loaded.wait(30000));
    }
    EXPECT_EQ(problemsOf(&results).join(QLatin1Char('\n')).toStdString(), "");
}
