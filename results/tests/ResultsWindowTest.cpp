#include "HydrographPlot.h"
#include "HydrographPlotView.h"
#include "ReportTableModel.h"
#include "ResultsWindow.h"
#include "RunFixture.h"
#include "ScriptedUi.h"
#include "ShowResults.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QToolTip>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>
#include <QXmlStreamReader>
#include <QAccessible>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace rillo::results {
namespace {

using testing::cutAfterLines;
using testing::RunShape;
using testing::TempFolder;
using testing::writeRun;
using testing::writeText;

/// Waits until the files are read; the series the window ticked for its
/// first look are unticked unless kept, so a test plots only its own.
void waitLoaded(ResultsWindow& w, bool keepFirstLook = false) {
    if (w.isLoading()) {
        QSignalSpy spy(&w, &ResultsWindow::loaded);
        ASSERT_TRUE(spy.wait(30000));
    }
    if (!keepFirstLook)
        for (SeriesId id : w.ticked()) w.setTicked(id, false);
}

/// The series listed with a check box, by label.
QStringList listed(const ResultsWindow& w) {
    QStringList out;
    QTreeWidget* list = w.seriesList();
    for (int t = 0; t < list->topLevelItemCount(); ++t)
        for (int c = 0; c < list->topLevelItem(t)->childCount(); ++c)
            out << list->topLevelItem(t)->child(c)->text(0);
    return out;
}

SeriesId seriesOf(const ResultsWindow& w, SeriesFile file, model::SeriesKind kind, long number) {
    SeriesId id;
    EXPECT_TRUE(w.results().find(file, kind, number, id));
    return id;
}

TEST(ResultsWindow, ThePlotShowsTheValuesOfTheHydrographFiles) {
    TempFolder folder;
    const RunShape shape;
    const ResultsFiles files = writeRun(folder, shape);
    // What the files hold, read apart from the window.
    const model::Hydrographs sub = model::readHydrographsFile(files.sub);
    const model::Hydrographs gut = model::readHydrographsFile(files.gut);

    rillo::testing::ScriptedUi ui;
    ResultsWindow w(files, ui);
    w.show();
    waitLoaded(w, true);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(listed(w).size(), shape.hyetographs + shape.subcatchments + shape.elements);

    const SeriesId element = seriesOf(w, SeriesFile::Gut, model::SeriesKind::Flow, 103);
    const SeriesId subcatchment = seriesOf(w, SeriesFile::Sub, model::SeriesKind::Flow, 2);
    const SeriesId rain = seriesOf(w, SeriesFile::Sub, model::SeriesKind::Rain, 1);

    // It opens on the first hyetograph and the two elements with the highest peaks.
    std::vector<std::pair<double, long>> peaks;
    for (std::size_t c = 0; c < gut.series.size(); ++c) {
        if (gut.series[c].kind != model::SeriesKind::Flow) continue;
        double peak = 0;
        for (std::size_t step = 0; step < gut.steps(); ++step) peak = std::max(peak, gut.value(step, c));
        peaks.emplace_back(peak, gut.series[c].number);
    }
    std::sort(peaks.begin(), peaks.end(), std::greater<>());
    ASSERT_GE(peaks.size(), 2u);
    EXPECT_EQ(w.ticked(), (std::vector<SeriesId>{rain, seriesOf(w, SeriesFile::Gut, model::SeriesKind::Flow, peaks[0].second),
                                                 seriesOf(w, SeriesFile::Gut, model::SeriesKind::Flow, peaks[1].second)}));
    for (SeriesId id : w.ticked()) w.setTicked(id, false);
    ASSERT_TRUE(w.setTicked(element, true));
    ASSERT_TRUE(w.setTicked(subcatchment, true));
    ASSERT_TRUE(w.setTicked(rain, true));
    EXPECT_EQ(w.ticked(), (std::vector<SeriesId>{element, subcatchment, rain}));

    for (auto [id, file, number] : {std::tuple{element, &gut, 103L}, std::tuple{subcatchment, &sub, 2L}}) {
        const std::vector<PlotPoint> curve = w.plot()->points(id);
        const long column = file->flowColumn(number);
        ASSERT_EQ(curve.size(), file->steps());
        for (std::size_t s = 0; s < file->steps(); ++s) {
            ASSERT_DOUBLE_EQ(curve[s].x, file->hoursAt(s)) << s;
            ASSERT_DOUBLE_EQ(curve[s].y, file->value(s, static_cast<std::size_t>(column))) << s;
        }
    }
    // The rain: a bar over each step, hanging from the top of a reversed axis.
    const std::vector<PlotPoint> bars = w.plot()->points(rain);
    ASSERT_EQ(bars.size(), 2 * sub.steps());
    for (std::size_t s = 0; s < sub.steps(); ++s) {
        ASSERT_DOUBLE_EQ(bars[2 * s].x, sub.hoursAt(s) - shape.stepMinutes / 60.0);
        ASSERT_DOUBLE_EQ(bars[2 * s + 1].x, sub.hoursAt(s));
        ASSERT_DOUBLE_EQ(bars[2 * s + 1].y, sub.value(s, 0));
    }
    EXPECT_TRUE(w.plot()->rainAxisShown());
    EXPECT_EQ(w.plot()->rainRange().low, 0.0);
    // The flows keep below the bars: their axis reaches above the highest flow.
    double peak = 0;
    for (std::size_t s = 0; s < gut.steps(); ++s)
        peak = std::max({peak, gut.value(s, static_cast<std::size_t>(gut.flowColumn(103))),
                         sub.value(s, static_cast<std::size_t>(sub.flowColumn(2)))});
    EXPECT_GE(w.plot()->flowRange().high, 1.5 * peak);

    // Unticking removes the curve; the others stay as they were.
    w.setTicked(subcatchment, false);
    EXPECT_TRUE(w.plot()->points(subcatchment).empty());
    EXPECT_EQ(w.plot()->shown().size(), 2u);
    EXPECT_EQ(w.plot()->points(element).size(), gut.steps());
}

TEST(ResultsWindow, ClockTimeAndTheTooltipNameTheStepUnderThePointer) {
    TempFolder folder;
    const ResultsFiles files = writeRun(folder);
    rillo::testing::ScriptedUi ui;
    ResultsWindow w(files, ui);
    w.show();
    waitLoaded(w);
    HydrographPlot* plot = w.plot();
    // Before anything is ticked the time axis already spans the run.
    EXPECT_DOUBLE_EQ(plot->xRange().high, 10.0);
    const SeriesId element = seriesOf(w, SeriesFile::Gut, model::SeriesKind::Flow, 101);
    // Rain ticked first: its bars hang on an axis of their own, and the
    // pointer's time must still be read from the shared time axis.
    w.setTicked(seriesOf(w, SeriesFile::Sub, model::SeriesKind::Rain, 1), true);
    w.setTicked(element, true);

    plot->setTimeAxis(HydrographPlot::TimeAxis::Clock);
    const std::vector<PlotPoint> curve = plot->points(element);
    ASSERT_EQ(curve.size(), 120u);
    for (std::size_t s : {0u, 5u, 119u}) EXPECT_EQ(plot->stepAt(curve[s].x), s);
    EXPECT_DOUBLE_EQ(plot->xRange().low, 23.5);  // the storm starts at 23:30
    EXPECT_DOUBLE_EQ(plot->xRange().high, 33.5);
    plot->setTimeAxis(HydrographPlot::TimeAxis::Hours);
    EXPECT_DOUBLE_EQ(plot->points(element)[5].x, 0.5);

    // The pointer over the middle of the plot: the time and value of the
    // step there, 5 h into the run.
    QTest::qWait(50);
    const PlotRect area = plot->plotArea();
    const QPointF viewPoint(area.left + area.width / 2, area.top + area.height / 2);
    const std::size_t step = 59;
    const QString tip = w.plotView()->toolTipAt(viewPoint);
    EXPECT_TRUE(tip.startsWith(QString::fromStdString(w.results().clockAt(step)))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("Element 101: %1 cfs").arg(testing::flowValue(101, step), 0, 'g', 6)))
        << tip.toStdString();
    EXPECT_TRUE(w.plotView()->toolTipAt(QPointF(1, 1)).isEmpty());
    // Resting there shows it; off the plot, how to zoom and pan.
    QWidget* viewport = w.plotView();
    QHelpEvent rest(QEvent::ToolTip, viewPoint.toPoint(), viewport->mapToGlobal(viewPoint.toPoint()));
    QApplication::sendEvent(viewport, &rest);
    EXPECT_EQ(QToolTip::text(), tip);
    QHelpEvent offPlot(QEvent::ToolTip, QPoint(1, 1), viewport->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(viewport, &offPlot);
    EXPECT_EQ(QToolTip::text(), HydrographPlotView::helpText());

    // Zooming keeps its view when a series is ticked; Reset fits all again.
    w.plotView()->zoomAbout(viewPoint, 4);
    const double zoomedWidth = plot->xRange().span();
    EXPECT_LT(zoomedWidth, 3.0);
    w.setTicked(seriesOf(w, SeriesFile::Gut, model::SeriesKind::Flow, 102), true);
    EXPECT_DOUBLE_EQ(plot->xRange().span(), zoomedWidth);
    plot->resetView();
    EXPECT_DOUBLE_EQ(plot->xRange().high, 10.0);
}

TEST(ResultsWindow, TheMouseAndTheKeysZoomAndPanThePlot) {
    TempFolder folder;
    const ResultsFiles files = writeRun(folder);
    rillo::testing::ScriptedUi ui;
    ResultsWindow w(files, ui);
    w.resize(1000, 700);
    w.show();
    waitLoaded(w, true);
    HydrographPlotView* view = w.plotView();
    HydrographPlot* plot = w.plot();
    auto pointAt = [&](double fx, double fy) {
        const PlotRect a = plot->plotArea();
        return QPoint(static_cast<int>(std::lround(a.left + fx * a.width)), static_cast<int>(std::lround(a.top + fy * a.height)));
    };
    const ValueRange whole = plot->xRange();

    // A rectangle dragged over the middle half of the time: zoomed to it.
    QTest::mousePress(view, Qt::LeftButton, {}, pointAt(0.25, 0.2));
    QTest::mouseMove(view, pointAt(0.5, 0.5));
    QTest::mouseMove(view, pointAt(0.75, 0.8));
    QTest::mouseRelease(view, Qt::LeftButton, {}, pointAt(0.75, 0.8));
    EXPECT_TRUE(plot->userView());
    EXPECT_NEAR(plot->xRange().low, 2.5, 0.1);
    EXPECT_NEAR(plot->xRange().high, 7.5, 0.1);
    // Escape drops a rectangle being dragged.
    const ValueRange banded = plot->xRange();
    QTest::mousePress(view, Qt::LeftButton, {}, pointAt(0.2, 0.2));
    QTest::mouseMove(view, pointAt(0.6, 0.6));
    QTest::keyClick(view, Qt::Key_Escape);
    QTest::mouseRelease(view, Qt::LeftButton, {}, pointAt(0.6, 0.6));
    EXPECT_EQ(plot->xRange(), banded);
    // The right button zooms out twice as wide.
    QTest::mouseClick(view, Qt::RightButton, {}, pointAt(0.5, 0.5));
    EXPECT_NEAR(plot->xRange().span(), 10.0, 0.3);
    EXPECT_TRUE(view->hasFocus());

    // The arrow keys pan by a tenth, + and - zoom, Home shows it all.
    QTest::keyClick(view, Qt::Key_Home);
    EXPECT_FALSE(plot->userView());
    EXPECT_EQ(plot->xRange(), whole);
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_NEAR(plot->xRange().low, 1.0, 0.05);
    QTest::keyClick(view, Qt::Key_Left);
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_NEAR(plot->xRange().low, -1.0, 0.05);
    const ValueRange flow = plot->flowRange();
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_GT(plot->flowRange().low, flow.low);
    QTest::keyClick(view, Qt::Key_Home);
    QTest::keyClick(view, Qt::Key_Plus);
    EXPECT_NEAR(plot->xRange().span(), whole.span() / 1.25, 0.2);
    QTest::keyClick(view, Qt::Key_Minus);
    EXPECT_NEAR(plot->xRange().span(), whole.span(), 0.2);

    // The wheel zooms about the pointer.
    QTest::keyClick(view, Qt::Key_Home);
    const QPoint quarter = pointAt(0.25, 0.5);
    QWheelEvent wheel(quarter, view->mapToGlobal(quarter), {}, QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    EXPECT_NEAR(plot->xRange().span(), whole.span() / 1.25, 0.2);
    const PlotRect a = plot->plotArea();
    EXPECT_NEAR(plot->xRange().low + (quarter.x() - a.left) / a.width * plot->xRange().span(), 2.5, 0.1);

    // The middle button, or Shift with the left, drags the plot along.
    for (auto [button, modifiers] : {std::pair{Qt::MiddleButton, Qt::KeyboardModifiers{}},
                                     std::pair{Qt::LeftButton, Qt::KeyboardModifiers{Qt::ShiftModifier}}}) {
        QTest::keyClick(view, Qt::Key_Home);
        QTest::mousePress(view, button, modifiers, pointAt(0.6, 0.5));
        QTest::mouseMove(view, pointAt(0.4, 0.5));
        QTest::mouseRelease(view, button, modifiers, pointAt(0.4, 0.5));
        EXPECT_NEAR(plot->xRange().low, 2.0, 0.1) << button;
        EXPECT_NEAR(plot->xRange().span(), whole.span(), 1e-6);
    }

    // Assistive technology: a chart with its name and what it shows.
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(view);
    ASSERT_TRUE(iface);
    EXPECT_EQ(iface->role(), QAccessible::Chart);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Hydrograph plot"));
    const QString description = iface->text(QAccessible::Description);
    EXPECT_TRUE(description.contains(QStringLiteral("Shown: Hyetograph 1, Element"))) << description.toStdString();
    w.setTicked(w.ticked()[0], false);
    EXPECT_FALSE(iface->text(QAccessible::Description).contains(QStringLiteral("Hyetograph")));
}

TEST(ResultsWindow, ABadFileIsNamedWithItsLineAndNothingOfItIsPlotted) {
    TempFolder folder;
    const RunShape shape;
    const ResultsFiles files = writeRun(folder, shape);
    cutAfterLines(files.gut, 9 + shape.hyetographs + shape.elements + 40);
    writeText(files.sot, "Another program's output\n");
    {
        rillo::testing::ScriptedUi ui;
        ResultsWindow w(files, ui);
        w.show();
        waitLoaded(w);
        const auto messages = ui.messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find(files.gut + ", line " + std::to_string(9 + shape.hyetographs + shape.elements + 41)),
                  std::string::npos)
            << messages[0];
        EXPECT_NE(messages[0].find(files.sot + ", line 1"), std::string::npos) << messages[0];
        EXPECT_NE(messages[0].find("Exclamation"), std::string::npos);
        // No element is listed; the subcatchments, read whole, are.
        for (const QString& label : listed(w)) EXPECT_FALSE(label.startsWith(QStringLiteral("Element")));
        EXPECT_EQ(listed(w).size(), shape.hyetographs + shape.subcatchments);
        EXPECT_FALSE(w.setTicked(SeriesId{SeriesFile::Gut, 3}, true));
        EXPECT_TRUE(w.plot()->shown().empty());
        EXPECT_TRUE(w.notes().contains(QString::fromStdString(files.gut).toHtmlEscaped()));
        // The report's tab says why it is empty.
        EXPECT_EQ(w.tabs()->count(), 2);
        EXPECT_EQ(w.tabs()->tabText(1), QStringLiteral("Report"));
    }
    // Neither hydrograph file whole: nothing to tick, nothing plotted.
    cutAfterLines(files.sub, 3);
    rillo::testing::ScriptedUi ui;
    ResultsWindow w(files, ui);
    waitLoaded(w);
    EXPECT_TRUE(listed(w).isEmpty());
    EXPECT_TRUE(w.plot()->shown().empty());
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].find(files.sub + ", line 4"), std::string::npos) << ui.messages()[0];
}

TEST(ResultsWindow, AbsentHydrographFilesAreSaidWithoutAMessageBox) {
    TempFolder folder;
    const ResultsFiles files = writeRun(folder);
    std::filesystem::remove(files.sub);
    rillo::testing::ScriptedUi ui;
    ResultsWindow* w = showResults(files, ui);
    waitLoaded(*w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(w->notes().contains(QStringLiteral("basinsub.ssb is absent"))) << w->notes().toStdString();
    EXPECT_EQ(listed(*w).size(), 2 + 4);  // the rain of the element file, and its elements
    EXPECT_EQ(w->tabs()->count(), 4);     // hydrographs and the three tables
    w->close();
}

TEST(ResultsWindow, ClosedWhileReadingItLeavesTheReadersToFinishAlone) {
    TempFolder folder;
    RunShape shape;
    shape.subcatchments = 300;
    shape.elements = 300;
    shape.steps = 2880;
    const ResultsFiles files = writeRun(folder, shape);
    rillo::testing::ScriptedUi ui;
    {
        ResultsWindow* w = showResults(files, ui);
        EXPECT_TRUE(w->isLoading());
        w->close();  // deletes it
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QTest::qWait(100);
    // The next window reads the same files whole.
    ResultsWindow again(files, ui);
    waitLoaded(again);
    EXPECT_EQ(listed(again).size(), 2 + 300 + 300);
    EXPECT_TRUE(ui.messages().empty());
}

TEST(ResultsWindow, FindingANumberShowsOnlyTheSeriesThatHoldIt) {
    TempFolder folder;
    RunShape shape;
    shape.subcatchments = 12;
    const ResultsFiles files = writeRun(folder, shape);
    rillo::testing::ScriptedUi ui;
    ResultsWindow w(files, ui);
    waitLoaded(w);
    auto* find = w.findChild<QLineEdit*>();
    ASSERT_TRUE(find);
    QTest::keyClicks(find, "10");
    QStringList shown;
    QTreeWidget* list = w.seriesList();
    for (int t = 0; t < list->topLevelItemCount(); ++t)
        for (int c = 0; c < list->topLevelItem(t)->childCount(); ++c)
            if (!list->topLevelItem(t)->child(c)->isHidden()) shown << list->topLevelItem(t)->child(c)->text(0);
    EXPECT_EQ(shown, (QStringList{"Subcatchment 10", "Element 101", "Element 102", "Element 103", "Element 104"}));
    // A ticked series found and ticked stays plotted when the search is cleared.
    w.setTicked(seriesOf(w, SeriesFile::Sub, model::SeriesKind::Flow, 10), true);
    find->clear();
    EXPECT_EQ(w.ticked().size(), 1u);
    EXPECT_EQ(listed(w).size(), 2 + 12 + 4);
}

TEST(ResultsWindow, AVersion2ElementFileListsItsDepthsApartAndTicksThemOntoTheDepthAxis) {
    TempFolder folder;
    RunShape shape;
    shape.depths = true;
    const ResultsFiles files = writeRun(folder, shape);
    rillo::testing::ScriptedUi ui;
    ResultsWindow w(files, ui);
    waitLoaded(w, true);
    EXPECT_TRUE(ui.messages().empty());
    // The first look is of flows, as for a file of version 1.
    EXPECT_FALSE(w.plot()->depthAxisShown());
    QTreeWidget* list = w.seriesList();
    QTreeWidgetItem* depths = nullptr;
    for (int t = 0; t < list->topLevelItemCount(); ++t)
        if (list->topLevelItem(t)->text(0) == "Element depths (ft)") depths = list->topLevelItem(t);
    ASSERT_TRUE(depths);
    ASSERT_EQ(depths->childCount(), 4);
    EXPECT_EQ(depths->child(2)->text(0), "Element 103 depth");
    EXPECT_TRUE(listed(w).contains("Element 101 diverted"));
    depths->child(2)->setCheckState(0, Qt::Checked);  // as a click on its box does
    EXPECT_TRUE(w.plot()->depthAxisShown());
    const std::vector<SeriesId> ticked = w.ticked();
    EXPECT_NE(std::find(ticked.begin(), ticked.end(), seriesOf(w, SeriesFile::Gut, model::SeriesKind::Depth, 103)),
              ticked.end());
}

TEST(ResultsWindow, ExportsTheTickedSeriesAndThePlot) {
    TempFolder folder;
    const ResultsFiles files = writeRun(folder);
    rillo::testing::ScriptedUi ui;
    ResultsWindow w(files, ui);
    w.resize(900, 600);
    w.show();
    waitLoaded(w);

    // Nothing ticked: said, and no dialog.
    w.exportCsv();
    ASSERT_EQ(ui.dialogue().size(), 1u);
    EXPECT_NE(ui.dialogue()[0].find("Tick the series"), std::string::npos);
    ui.clearDialogue();

    w.setTicked(seriesOf(w, SeriesFile::Gut, model::SeriesKind::Flow, 104), true);
    w.setTicked(seriesOf(w, SeriesFile::Sub, model::SeriesKind::Flow, 1), true);
    const std::string csv = folder.file("chosen.csv");
    ui.fileName(csv);
    w.exportCsv();
    EXPECT_EQ(ui.lastFileRequest().fileName, "basin.csv");
    EXPECT_EQ(ui.lastFileRequest().initialDir, folder.file(""));
    const std::string text = testing::readText(csv);
    const std::string expectedStart = "Time (h),Clock time,Element 104 (cfs),Subcatchment 1 (cfs)\r\n0.08333333333333333,23:35,";
    EXPECT_EQ(text.substr(0, expectedStart.size()), expectedStart);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 121);

    const std::string png = folder.file("plot.png");
    ui.fileName(png);
    w.exportPng();
    const QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), w.plotView()->size() * w.plotView()->devicePixelRatio());

    const std::string svg = folder.file("plot.svg");
    ui.fileName(svg);
    w.exportSvg();
    const std::string drawing = testing::readText(svg);
    EXPECT_NE(drawing.find("<svg"), std::string::npos);
    EXPECT_NE(drawing.find("</svg>"), std::string::npos);
    // Well-formed XML, of the plot's size, with the plot's curves and legend.
    QXmlStreamReader xml(QByteArray::fromStdString(drawing));
    int polylines = 0;
    QStringList texts;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("svg")) {
            EXPECT_EQ(xml.attributes().value(QLatin1String("width")).toInt(), w.plotView()->width());
            EXPECT_EQ(xml.attributes().value(QLatin1String("height")).toInt(), w.plotView()->height());
        }
        if (xml.name() == QLatin1String("polyline")) ++polylines;
        if (xml.name() == QLatin1String("text")) texts << xml.readElementText();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(polylines, 2);
    EXPECT_TRUE(texts.contains(QStringLiteral("Element 104 (cfs)")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Subcatchment 1 (cfs)")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Test basin")));

    // A file that cannot be written: said, nothing else.
    ui.clearDialogue();
    ui.fileName(folder.file("missing/plot.png"));
    w.exportPng();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].find("could not be written"), std::string::npos);
    // A cancelled dialog ends quietly.
    ui.clearDialogue();
    ui.fileCancel();
    w.exportSvg();
    EXPECT_TRUE(ui.messages().empty());
}

TEST(ResultsWindow, ARefusedReportIsSaidInItsOwnWordsAndAnotherReportOpensInAWindowOfItsOwn) {
    TempFolder folder;
    // A folder name with quotes and an ampersand (names any system allows), as the message names it.
    const std::string odd = folder.file("run 'A' & B");
    std::filesystem::create_directory(odd);
    const std::string sot = odd + "/basin.sot";
    writeText(sot, "not a report\n");
    rillo::testing::ScriptedUi ui;
    auto* w = new ResultsWindow(resultsFilesFor(sot), ui);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    waitLoaded(*w);
    const std::string message = w->results().report().message;
    ASSERT_NE(message.find("'A' & B"), std::string::npos) << message;
    auto* label = w->tabs()->findChild<QLabel*>(QStringLiteral("reportProblem"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text().toStdString(), message);
    EXPECT_EQ(label->textFormat(), Qt::PlainText) << "no entities written out";

    // File > Open... on a report whose main output was named apart.
    const ResultsFiles other = writeRun(folder);
    ui.clearDialogue();
    ui.fileName(other.sot);
    ResultsWindow* opened = w->openReport();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(ui.lastFileRequest().title, "Open Results");
    EXPECT_EQ(ui.lastFileRequest().filter, "Rillo2000 Reports (*.sot)|*.sot|All Files (*.*)|*.*");
    EXPECT_EQ(opened->results().files().sot, other.sot);
    waitLoaded(*opened);
    EXPECT_EQ(opened->results().hydrographs(SeriesFile::Sub).state, LoadState::Loaded);
    opened->close();
    ui.fileCancel();
    EXPECT_EQ(w->openReport(), nullptr);
    w->close();
}

TEST(ReportTables, EveryTableIsShownAndSortsNumbersAsNumbers) {
    TempFolder folder;
    const ResultsFiles files = writeRun(folder);
    rillo::testing::ScriptedUi ui;
    ResultsWindow w(files, ui);
    waitLoaded(w);
    ASSERT_EQ(w.tabs()->count(), 4);
    EXPECT_EQ(w.tabs()->tabText(1), QStringLiteral("Peak flows and depths"));
    EXPECT_EQ(w.tabs()->tabText(2), QStringLiteral("Runoff continuity"));
    EXPECT_EQ(w.tabs()->tabText(3), QStringLiteral("Routing continuity"));

    auto* view = qobject_cast<QTableView*>(w.tabs()->widget(1));
    ASSERT_TRUE(view);
    auto* model = qobject_cast<ReportTableModel*>(view->model());
    ASSERT_TRUE(model);
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Peak flow (cfs)"));
    auto column = [&](int c) {
        QStringList out;
        for (int r = 0; r < model->rowCount(); ++r) out << model->data(model->index(r, c)).toString();
        return out;
    };
    // The report's order until a header is clicked.
    EXPECT_EQ(column(0), (QStringList{"101", "9", "1000", "20"}));

    view->sortByColumn(2, Qt::AscendingOrder);
    EXPECT_EQ(column(2), (QStringList{"9.75", "12.5", "100.25", ""}));
    EXPECT_EQ(column(0), (QStringList{"1000", "101", "9", "20"}));  // rows move whole
    view->sortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(column(0), (QStringList{"1000", "101", "20", "9"}));
    view->sortByColumn(3, Qt::AscendingOrder);
    EXPECT_EQ(column(3), (QStringList{"00:55", "01:35", "10:05", ""}));

    // The current cell follows its row.
    view->setCurrentIndex(model->index(0, 1));  // row of element 9
    EXPECT_EQ(model->data(view->currentIndex()).toString(), QStringLiteral("Pipe"));
    view->sortByColumn(0, Qt::AscendingOrder);
    EXPECT_EQ(model->data(model->index(view->currentIndex().row(), 0)).toString(), QStringLiteral("9"));
}

}  // namespace
}  // namespace rillo::results
