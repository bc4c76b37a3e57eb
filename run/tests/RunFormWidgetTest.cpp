#include "EnvironmentGuard.h"
#include "ProcessEngine.h"
#include "RunForm.h"
#include "ScriptedUi.h"
#include "StandardComponents.h"
#include "TestFiles.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

namespace rillo::run {
namespace {

using testing::deckText;
using testing::exists;
using testing::testEngine;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

QAction* action(QWidget& form, const char* name) { return form.findChild<QAction*>(name); }

TEST(RunFormWindow, ShowsTheCaptionsAndMirrorsTheLogic) {
    TempFolder decks, app;
    writeFile(decks.file("basin.sin"), deckText('0'));
    rillo::testing::ScriptedUi ui;
    ComponentRegistry registry;
    RunForm form(ui, registry, QString::fromStdString(app.folder()));

    EXPECT_EQ(form.windowTitle(), "Rillo2000 Input/Output File Entry Form");
    EXPECT_EQ(form.hydrographButton->text(), " &KORVA Input File:");
    EXPECT_EQ(form.runButton->toolTip(), "Execute Rillo95b");
    EXPECT_EQ(form.findChild<QLabel*>("Label1")->text(),
              "Enter Output File Names as appropriate without extensions.                               "
              "(Extensions are assigned automaticaly)");
    ASSERT_NE(action(form, "mnuFileExit"), nullptr);
    ASSERT_NE(action(form, "mnuOptionClear"), nullptr);
    ASSERT_NE(action(form, "mnuAbout"), nullptr);

    EXPECT_TRUE(form.deckButton->isEnabled());
    EXPECT_FALSE(form.hydrographButton->isEnabled());
    EXPECT_FALSE(form.runButton->isEnabled());
    EXPECT_TRUE(form.deckName->isHidden());

    form.show();
    ui.fileName(decks.file("basin.sin"));
    QTest::mouseClick(form.deckButton, Qt::LeftButton);
    EXPECT_EQ(form.windowTitle(), "RILLO Run Modual File: basin.sin");
    EXPECT_FALSE(form.deckButton->isEnabled());
    EXPECT_TRUE(form.runButton->isEnabled());
    EXPECT_FALSE(form.deckName->isHidden());
    EXPECT_EQ(form.deckName->text(), "basin.sin");

    QTest::keyClicks(form.outputName, "main");
    EXPECT_EQ(form.logic().state().outputName.text, "main");

    action(form, "mnuOptionClear")->trigger();
    EXPECT_EQ(form.outputName->text(), "");
    EXPECT_TRUE(form.hydrographButton->isEnabled());
    EXPECT_TRUE(form.deckName->isHidden());

    int aboutShown = 0;
    form.logic().setAboutHook([&aboutShown] { ++aboutShown; });
    action(form, "mnuAbout")->trigger();
    EXPECT_EQ(aboutShown, 1);

    action(form, "mnuFileExit")->trigger();
    EXPECT_FALSE(form.isVisible());
}

using Environment = rillo::testing::EnvironmentGuard;

/// The run form over the stand-in model program, with a deck chosen.
class RunFormWithEngine : public ::testing::Test {
protected:
    RunFormWithEngine() {
        environment.set("RILLO_ENGINE", testEngine());
        environment.set("RILLO_TEST_ENGINE_RECORD", app.file("record.txt"));
        addStandardComponents(registry);
        // A program that will not end is killed soon after Stop.
        registry.addEngine(ComponentRegistry::standardEngine, [](const ComponentContext& context) {
            auto engine = std::make_unique<ProcessEngine>(context.ui, context.applicationFolder);
            engine->setGracePeriod(200);
            return engine;
        });
        writeFile(decks.file("basin.sin"), deckText('0'));
    }
    void openForm() {
        form = std::make_unique<RunForm>(ui, registry, QString::fromStdString(app.folder()));
        form->show();
        ui.fileName(decks.file("basin.sin"));
        QTest::mouseClick(form->deckButton, Qt::LeftButton);
    }
    bool waitUntilTheRunHasEnded() {
        return QTest::qWaitFor([this] { return !form->logic().state().running; }, 20000);
    }
    std::size_t count(const std::string& message) const {
        const auto m = ui.messages();
        return static_cast<std::size_t>(std::count(m.begin(), m.end(), message));
    }

    Environment environment;
    TempFolder decks, app;
    rillo::testing::ScriptedUi ui;
    ComponentRegistry registry;
    std::unique_ptr<RunForm> form;
};

TEST_F(RunFormWithEngine, DoubleClickOnRunRunsTheModelOnce) {
    environment.set("RILLO_TEST_ENGINE_STEPS", "3");
    environment.set("RILLO_TEST_ENGINE_STEP_MS", "100");
    openForm();
    // Both clicks are waiting in the queue, as when the user double-clicks.
    const QPointF centre = QRectF(form->runButton->rect()).center();
    for (int click = 0; click < 2; ++click) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(form->runButton, new QMouseEvent(type, centre, form->runButton->mapToGlobal(centre),
                                                                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    }
    ui.no();  // "Run another input file?"
    EXPECT_TRUE(QTest::qWaitFor([this] { return count("Rillo2000|None|Run another input file?|YesNo -> No") > 0; },
                                20000));
    QTest::qWait(500);  // time for a second run to show itself
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Rillo2000|None|Program Completed|OK",
                                                       "Rillo2000|None|Run another input file?|YesNo -> No"}));
    EXPECT_FALSE(form->isVisible());
}

TEST_F(RunFormWithEngine, CompletedRunShowsItsProgressAndKeepsTheDialogue) {
    environment.set("RILLO_TEST_ENGINE_STEPS", "5");
    environment.set("RILLO_TEST_ENGINE_STEP_MS", "50");
    openForm();
    EXPECT_TRUE(form->progressBar->isHidden());
    EXPECT_TRUE(form->stopButton->isHidden());
    EXPECT_TRUE(form->resultsButton->isHidden()) << "nobody to show results";

    int shownResults = 0;
    form->logic().setResultsHook([&shownResults](const rillo::run::RunPaths&) { ++shownResults; });
    EXPECT_FALSE(form->resultsButton->isHidden());
    EXPECT_FALSE(form->resultsButton->isEnabled());

    ui.yes();  // "Run another input file?"
    QTest::mouseClick(form->runButton, Qt::LeftButton);
    EXPECT_FALSE(form->progressBar->isHidden());
    EXPECT_FALSE(form->stopButton->isHidden());
    EXPECT_FALSE(form->runButton->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([this] { return form->progressLabel->text().startsWith("Step "); }, 20000));
    EXPECT_EQ(form->progressBar->maximum(), 5);
    ASSERT_TRUE(waitUntilTheRunHasEnded());

    EXPECT_EQ(ui.dialogue(), (std::vector<std::string>{"open: Get RILLO file -> " + decks.file("basin.sin"),
                                                       "Rillo2000|None|Program Completed|OK",
                                                       "Rillo2000|None|Run another input file?|YesNo -> Yes"}));
    EXPECT_EQ(shownResults, 1);
    EXPECT_NE(readFile(decks.file("basin.sot")).find("output of"), std::string::npos);
    EXPECT_TRUE(form->progressBar->isHidden());
    EXPECT_TRUE(form->stopButton->isHidden());
    EXPECT_TRUE(form->deckButton->isEnabled());
    QTest::mouseClick(form->resultsButton, Qt::LeftButton);
    EXPECT_EQ(shownResults, 2);
}

TEST_F(RunFormWithEngine, StopEndsASlowRunLeavesNoOutputAndReenablesTheForm) {
    environment.set("RILLO_TEST_ENGINE_STEPS", "400");
    environment.set("RILLO_TEST_ENGINE_STEP_MS", "50");
    openForm();
    QTest::mouseClick(form->runButton, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return form->progressLabel->text().startsWith("Step "); }, 20000));
    EXPECT_TRUE(exists(decks.file("basin.sot"))) << "the engine has begun its outputs";
    QTest::mouseClick(form->stopButton, Qt::LeftButton);
    ASSERT_TRUE(waitUntilTheRunHasEnded());

    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Rillo2000|Information|The model run was stopped. The output "
                                                       "files it had begun were removed.|OK"}));
    for (const char* output : {"basin.sot", "basinsub.ssb", "basingut.ssb"})
        EXPECT_FALSE(exists(decks.file(output))) << output;
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->runButton->isEnabled());
    EXPECT_TRUE(form->outputName->isEnabled());
    EXPECT_TRUE(form->progressBar->isHidden());
    EXPECT_EQ(form->deckName->text(), "basin.sin");
}

TEST_F(RunFormWithEngine, EscapeStopsAHungRunAndClosingDuringARunAsksFirst) {
    environment.set("RILLO_TEST_ENGINE_HANG", "1");
    openForm();
    QTest::mouseClick(form->runButton, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return exists(decks.file("basin.sot")); }, 20000));
    // No step count from this engine: a busy indicator.
    EXPECT_EQ(form->progressBar->maximum(), 0);
    EXPECT_FALSE(form->progressBar->isHidden());

    QTest::keyClick(form.get(), Qt::Key_Escape);
    ASSERT_TRUE(waitUntilTheRunHasEnded()) << "killed after the grace period";
    EXPECT_TRUE(form->isVisible()) << "Escape stopped the run, it did not close the form";
    EXPECT_FALSE(exists(decks.file("basin.sot")));

    // Closing asks; No keeps the run and the form, Yes ends both.
    ui.clearDialogue();
    ui.yes();  // the stopped run's log is there: overwrite it
    QTest::mouseClick(form->runButton, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return exists(decks.file("basin.sot")); }, 20000));
    ui.no();
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->logic().state().running);
    ui.yes();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->logic().state().running);
    EXPECT_FALSE(exists(decks.file("basin.sot")));
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{
                                 "File Exists|Information|The output file already exists Do you want to "
                                 "overwrite?\n" + decks.file("basin.sot.log") + "|YesNo -> Yes",
                                 "Rillo2000|Question|A model run is going. Stop it and close the form?|YesNo -> No",
                                 "Rillo2000|Question|A model run is going. Stop it and close the form?|YesNo -> Yes"}));
}

TEST(RunFormWindow, TheTextBoxesStayInPlaceWhenTheFileLabelsAppear) {
    TempFolder decks, app;
    writeFile(decks.file("basin.sin"), deckText('1'));  // asks for a hydrograph file too
    writeFile(decks.file("storm.kvd"), "hydrographs\n");
    rillo::testing::ScriptedUi ui;
    ComponentRegistry registry;
    RunForm form(ui, registry, QString::fromStdString(app.folder()));
    form.show();
    QCoreApplication::processEvents();
    const auto places = [&] {
        std::vector<QRect> rects;
        for (QWidget* w : {static_cast<QWidget*>(form.outputName), static_cast<QWidget*>(form.subcatchmentName),
                           static_cast<QWidget*>(form.gutterName), static_cast<QWidget*>(form.deckButton),
                           static_cast<QWidget*>(form.hydrographButton)})
            rects.push_back(QRect(w->mapTo(&form, QPoint(0, 0)), w->size()));
        return rects;
    };
    const std::vector<QRect> before = places();

    ui.fileName(decks.file("basin.sin"));
    QTest::mouseClick(form.deckButton, Qt::LeftButton);
    ASSERT_TRUE(form.deckCaption->isVisible());
    QCoreApplication::processEvents();
    EXPECT_EQ(places(), before);

    ui.fileName(decks.file("storm.kvd"));
    QTest::mouseClick(form.hydrographButton, Qt::LeftButton);
    ASSERT_TRUE(form.hydrographCaption->isVisible());
    QCoreApplication::processEvents();
    EXPECT_EQ(places(), before);
}

}  // namespace
}  // namespace rillo::run
