#pragma once
// The results window of one model run: a list of the saved hydrographs with
// check boxes, the plot of the ticked ones, every table of the report, and
// export of the plot (PNG, SVG) and of the ticked series (CSV).
//
// The report is read at once; the hydrograph files, which for a large run
// hold millions of values, are read whole on worker threads while the
// window is already up, and their series appear only once a file has been
// read and checked to its end.

#include "RunResults.h"

#include <QFutureWatcher>
#include <QMainWindow>
#include <QThreadPool>

#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace rillo {
class UiServices;
}

namespace rillo::results {

class HydrographPlot;
class HydrographPlotView;

class ResultsWindow : public QMainWindow {
    Q_OBJECT
public:
    /// `ui` must outlive the window; it asks for export file names and shows
    /// the message about refused files.
    ResultsWindow(const ResultsFiles& files, UiServices& ui, QWidget* parent = nullptr);
    ~ResultsWindow() override;

    const RunResults& results() const { return *results_; }
    bool isLoading() const { return pending_ > 0; }

    /// Ticks or unticks a series in the list (the plot follows); false when
    /// the list has no such series.
    bool setTicked(SeriesId id, bool ticked);
    /// The ticked series in the order they were ticked.
    std::vector<SeriesId> ticked() const;

    HydrographPlot* plot() const { return plot_; }
    HydrographPlotView* plotView() const { return view_; }
    QTreeWidget* seriesList() const { return list_; }
    QTabWidget* tabs() const { return tabs_; }
    /// The lines above the plot that say what was read, what is absent and what was refused.
    QString notes() const;

    /// Ask for a file name and write the plot or the ticked series there.
    void exportPng();
    void exportSvg();
    void exportCsv();

    /// Writers without a dialog; throw RuntimeError when the file cannot be written.
    void writePng(const std::string& path) const;
    void writeSvg(const std::string& path) const;
    void writeCsv(const std::string& path) const;

signals:
    /// Both hydrograph files have been read (or found absent or refused).
    void loaded();

private:
    void buildUi();
    void buildReportTabs();
    void startLoading();
    void fileRead();
    void fillList();
    void updateNotes();
    void itemChanged(QTreeWidgetItem* item, int column);
    void filterList(const QString& text);
    std::string askExportName(const std::string& title, const std::string& filter, const std::string& extension);

    UiServices& ui_;
    std::unique_ptr<RunResults> results_;
    /// The window's own readers: Qt's global pool stays free for painting,
    /// which draws on it too (image scaling) and would otherwise wait behind
    /// a reader until its file had been read.
    QThreadPool readers_;
    QFutureWatcher<HydrographLoad> subWatcher_;
    QFutureWatcher<HydrographLoad> gutWatcher_;
    int pending_ = 0;

    QLabel* notes_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QComboBox* timeAxis_ = nullptr;
    HydrographPlot* plot_ = nullptr;
    HydrographPlotView* view_ = nullptr;
};

}  // namespace rillo::results
