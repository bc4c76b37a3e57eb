#include "ResultsWindow.h"

#include "ShowResults.h"

#include "HydrographPlot.h"
#include "HydrographPlotView.h"
#include "ReportTableModel.h"
#include "SeriesCsv.h"
#include "UiServices.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <map>

namespace rillo::results {

namespace {

constexpr int FileRole = Qt::UserRole;
constexpr int ColumnRole = Qt::UserRole + 1;

QString fileName(const std::string& path) { return QFileInfo(QString::fromStdString(path)).fileName(); }

QString escaped(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

QString stepText(double minutes) {
    return minutes == 1.0 ? QStringLiteral("1 min") : QStringLiteral("%1 min").arg(minutes, 0, 'g', 6);
}

/// The run's base name: the report's path without ".sot".
std::string baseOf(const std::string& sot) {
    QFileInfo info(QString::fromStdString(sot));
    return (info.path() + QLatin1Char('/') + info.completeBaseName()).toStdString();
}

}  // namespace

ResultsWindow::ResultsWindow(const ResultsFiles& files, UiServices& ui, QWidget* parent)
    : QMainWindow(parent), ui_(ui), results_(std::make_unique<RunResults>(files)) {
    readers_.setMaxThreadCount(2);
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Rillo2000 Results - %1").arg(fileName(files.sot)));
    results_->setReport(loadReport(files.sot));
    buildUi();
    startLoading();
    resize(1100, 720);
}

ResultsWindow::~ResultsWindow() {
    // A reader still at work is waited for (the pool's end) and its result dropped.
    subWatcher_.disconnect();
    gutWatcher_.disconnect();
}

void ResultsWindow::buildUi() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    notes_ = new QLabel(central);
    notes_->setWordWrap(true);
    notes_->setTextFormat(Qt::RichText);
    notes_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(notes_);

    tabs_ = new QTabWidget(central);
    layout->addWidget(tabs_, 1);

    auto* splitter = new QSplitter(tabs_);
    auto* side = new QWidget(splitter);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    filter_ = new QLineEdit(side);
    filter_->setPlaceholderText(QStringLiteral("Find a number"));
    filter_->setClearButtonEnabled(true);
    for (QToolButton* clear : filter_->findChildren<QToolButton*>()) clear->setAccessibleName(QStringLiteral("Clear"));
    filter_->setAccessibleName(QStringLiteral("Find a series"));
    list_ = new QTreeWidget(side);
    list_->setHeaderLabel(QStringLiteral("Saved hydrographs"));
    list_->setAccessibleName(QStringLiteral("Saved hydrographs"));
    list_->setUniformRowHeights(true);
    sideLayout->addWidget(filter_);
    sideLayout->addWidget(list_, 1);
    view_ = new HydrographPlotView(*results_, splitter);
    plot_ = &view_->plot();
    view_->setAccessibleName(QStringLiteral("Hydrograph plot"));
    view_->setMinimumSize(400, 300);
    splitter->addWidget(side);
    splitter->addWidget(view_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 860});
    tabs_->addTab(splitter, QStringLiteral("&Hydrographs"));
    buildReportTabs();
    setCentralWidget(central);

    connect(list_, &QTreeWidget::itemChanged, this, &ResultsWindow::itemChanged);
    connect(filter_, &QLineEdit::textChanged, this, &ResultsWindow::filterList);

    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* open = fileMenu->addAction(QStringLiteral("&Open..."), this, &ResultsWindow::openReport);
    open->setObjectName(QStringLiteral("mnuOpen"));
    open->setShortcut(QKeySequence::Open);
    fileMenu->addSeparator();
    QAction* png = fileMenu->addAction(QStringLiteral("Export Plot as &PNG..."), this, &ResultsWindow::exportPng);
    QAction* svg = fileMenu->addAction(QStringLiteral("Export Plot as S&VG..."), this, &ResultsWindow::exportSvg);
    QAction* csv = fileMenu->addAction(QStringLiteral("Export Ticked Series as &CSV..."), this, &ResultsWindow::exportCsv);
    fileMenu->addSeparator();
    QAction* close = fileMenu->addAction(QStringLiteral("&Close"), this, &QWidget::close);
    close->setShortcut(QKeySequence::Close);
    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* reset = viewMenu->addAction(QStringLiteral("&Reset Zoom"), view_, &HydrographPlotView::resetView);
    QAction* untick = viewMenu->addAction(QStringLiteral("&Untick All"), this, [this] {
        for (SeriesId id : ticked()) setTicked(id, false);
    });

    QToolBar* bar = addToolBar(QStringLiteral("Results"));
    bar->setObjectName(QStringLiteral("resultsToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addAction(reset);
    bar->addAction(untick);
    bar->addSeparator();
    timeAxis_ = new QComboBox(bar);
    timeAxis_->addItems({QStringLiteral("Hours from start"), QStringLiteral("Clock time")});
    timeAxis_->setAccessibleName(QStringLiteral("Time axis"));
    timeAxis_->view()->setAccessibleName(QStringLiteral("Time axis"));
    timeAxis_->setToolTip(QStringLiteral("Time axis of the plot"));
    bar->addWidget(new QLabel(QStringLiteral(" Time: "), bar));
    bar->addWidget(timeAxis_);
    connect(timeAxis_, &QComboBox::currentIndexChanged, this, [this](int index) {
        plot_->setTimeAxis(index == 1 ? HydrographPlot::TimeAxis::Clock : HydrographPlot::TimeAxis::Hours);
    });
    bar->addSeparator();
    bar->addAction(png);
    bar->addAction(svg);
    bar->addAction(csv);
    if (auto* more = bar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More toolbar buttons"));
}

void ResultsWindow::buildReportTabs() {
    const ReportLoad& report = results_->report();
    if (report.state != LoadState::Loaded) {
        // Plain text: the message is shown as it is, quotes and all.
        auto* label = new QLabel(QString::fromStdString(report.message), tabs_);
        label->setObjectName(QStringLiteral("reportProblem"));
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        tabs_->addTab(label, QStringLiteral("Report"));
        return;
    }
    for (const model::ReportTable& table : report.tables) {
        auto* view = new QTableView(tabs_);
        auto* model = new ReportTableModel(table, view);
        view->setModel(model);
        // The report's own order until a header is clicked: with no sort
        // column, enabling sorting sorts nothing.
        view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        view->setSortingEnabled(true);
        // Columns as wide as their text, measured once on the first rows: a
        // peak table of a large run has thousands of rows alike in width.
        view->horizontalHeader()->setResizeContentsPrecision(200);
        view->resizeColumnsToContents();
        view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
        view->setAlternatingRowColors(true);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setAccessibleName(QString::fromStdString(table.title));
        QStringList columns;
        for (const std::string& header : table.headers) columns << QString::fromStdString(header);
        view->setAccessibleDescription(QStringLiteral("Columns: ") + columns.join(QStringLiteral(", ")));
        tabs_->addTab(view, QString::fromStdString(table.title));
    }
}

void ResultsWindow::startLoading() {
    const ResultsFiles& files = results_->files();
    auto start = [this](QFutureWatcher<HydrographLoad>& watcher, const std::string& path) {
        ++pending_;
        connect(&watcher, &QFutureWatcher<HydrographLoad>::finished, this, &ResultsWindow::fileRead);
        watcher.setFuture(QtConcurrent::run(&readers_, &loadHydrographFile, path));
    };
    start(subWatcher_, files.sub);
    start(gutWatcher_, files.gut);
    updateNotes();
}

void ResultsWindow::fileRead() {
    if (--pending_ > 0) return;
    // Taken in a fixed order, so that the same files always give the same
    // outcome whichever was read first.
    results_->setHydrographs(SeriesFile::Sub, subWatcher_.result());
    results_->setHydrographs(SeriesFile::Gut, gutWatcher_.result());
    fillList();
    updateNotes();
    plot_->resetView();  // the time axis spans the run
    if (ticked().empty())
        for (SeriesId id : results_->firstLook()) setTicked(id, true);
    if (!results_->hydrographs(SeriesFile::Sub).data && !results_->hydrographs(SeriesFile::Gut).data)
        tabs_->setCurrentIndex(tabs_->count() > 1 ? 1 : 0);
    plot_->setTitle({});
    for (SeriesFile f : {SeriesFile::Sub, SeriesFile::Gut})
        if (const auto& data = results_->hydrographs(f).data; data && plot_->title().empty())
            plot_->setTitle(QString::fromStdString(data->title1).trimmed().toStdString());
    emit loaded();

    const std::vector<std::string> problems = results_->problems();
    if (!problems.empty()) {
        std::string text = "These files of the run cannot be shown:";
        for (const std::string& p : problems) text += "\n\n" + p;
        ui_.message(text, {}, Icon::Exclamation);
    }
}

void ResultsWindow::fillList() {
    const QSignalBlocker block(list_);
    list_->clear();
    auto* rain = new QTreeWidgetItem(QStringList{QStringLiteral("Rainfall (in/hr)")});
    auto* subs = new QTreeWidgetItem(QStringList{QStringLiteral("Subcatchments (cfs)")});
    auto* elements = new QTreeWidgetItem(QStringList{QStringLiteral("Elements (cfs)")});
    std::map<SeriesFile, QList<QTreeWidgetItem*>> flows;
    QList<QTreeWidgetItem*> rains, depths;
    for (SeriesId id : results_->series()) {
        auto* item = new QTreeWidgetItem(QStringList{QString::fromStdString(results_->label(id))});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren);
        item->setCheckState(0, Qt::Unchecked);
        item->setData(0, FileRole, static_cast<int>(id.file));
        item->setData(0, ColumnRole, static_cast<qulonglong>(id.column));
        (results_->isRain(id) ? rains : results_->isDepth(id) ? depths : flows[id.file]).append(item);
    }
    auto group = [&](QTreeWidgetItem* top, const QList<QTreeWidgetItem*>& items, SeriesFile file, const QString& none) {
        top->setFlags(Qt::ItemIsEnabled);
        list_->addTopLevelItem(top);
        top->addChildren(items);
        if (items.isEmpty()) {
            const HydrographLoad& load = results_->hydrographs(file);
            top->setText(0, load.state == LoadState::Refused ? none + QStringLiteral(": refused (see above)")
                            : load.state == LoadState::Absent ? none + QStringLiteral(": not saved")
                                                              : none + QStringLiteral(": none in the file"));
            top->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
        }
        top->setExpanded(true);
    };
    if (!rains.isEmpty()) {
        list_->addTopLevelItem(rain);
        rain->setFlags(Qt::ItemIsEnabled);
        rain->addChildren(rains);
        rain->setExpanded(true);
    } else {
        delete rain;
    }
    group(subs, flows[SeriesFile::Sub], SeriesFile::Sub, QStringLiteral("Subcatchments"));
    group(elements, flows[SeriesFile::Gut], SeriesFile::Gut, QStringLiteral("Elements"));
    // Depths come in element files of version 2 only.
    if (!depths.isEmpty()) {
        auto* depthGroup = new QTreeWidgetItem(QStringList{QStringLiteral("Element depths (ft)")});
        depthGroup->setFlags(Qt::ItemIsEnabled);
        list_->addTopLevelItem(depthGroup);
        depthGroup->addChildren(depths);
        depthGroup->setExpanded(true);
    }
    filterList(filter_->text());
}

void ResultsWindow::updateNotes() {
    QStringList lines;
    const ReportLoad& report = results_->report();
    if (report.state == LoadState::Loaded)
        lines << QStringLiteral("Report %1: %2 table(s).").arg(fileName(report.path).toHtmlEscaped()).arg(report.tables.size());
    else
        lines << QStringLiteral("<span style='color:#b00000'><b>%1</b></span>").arg(escaped(report.message));
    const struct {
        SeriesFile file;
        const char* what;
    } kinds[] = {{SeriesFile::Sub, "subcatchment"}, {SeriesFile::Gut, "element"}};
    for (const auto& k : kinds) {
        const HydrographLoad& load = results_->hydrographs(k.file);
        const std::string& path = k.file == SeriesFile::Sub ? results_->files().sub : results_->files().gut;
        const QString name = fileName(path).toHtmlEscaped();
        if (isLoading()) {
            lines << QStringLiteral("Reading %1...").arg(name);
        } else if (load.state == LoadState::Absent) {
            lines << QStringLiteral("No %1 hydrographs were saved for this run (%2 is absent).")
                         .arg(QLatin1String(k.what), name);
        } else if (load.state == LoadState::Refused) {
            lines << QStringLiteral("<span style='color:#b00000'><b>%1</b> No %2 hydrograph is shown.</span>")
                         .arg(escaped(load.message), QLatin1String(k.what));
        } else {
            const model::Hydrographs& h = *load.data;
            lines << QStringLiteral("%1: %2 series, %3 steps of %4 from %5.")
                         .arg(name)
                         .arg(h.series.size())
                         .arg(h.steps())
                         .arg(stepText(h.stepMinutes))
                         .arg(QStringLiteral("%1:%2").arg(h.startHour, 2, 10, QLatin1Char('0')).arg(h.startMinute, 2, 10, QLatin1Char('0')));
        }
    }
    notes_->setText(lines.join(QStringLiteral("<br>")));
}

QString ResultsWindow::notes() const { return notes_->text(); }

void ResultsWindow::itemChanged(QTreeWidgetItem* item, int column) {
    if (column != 0 || !item->data(0, FileRole).isValid()) return;
    const SeriesId id{static_cast<SeriesFile>(item->data(0, FileRole).toInt()),
                      static_cast<std::size_t>(item->data(0, ColumnRole).toULongLong())};
    plot_->setShown(id, item->checkState(0) == Qt::Checked);
}

bool ResultsWindow::setTicked(SeriesId id, bool tick) {
    for (int t = 0; t < list_->topLevelItemCount(); ++t) {
        QTreeWidgetItem* top = list_->topLevelItem(t);
        for (int c = 0; c < top->childCount(); ++c) {
            QTreeWidgetItem* item = top->child(c);
            if (item->data(0, FileRole).toInt() == static_cast<int>(id.file) &&
                item->data(0, ColumnRole).toULongLong() == id.column) {
                item->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
                return true;
            }
        }
    }
    return false;
}

std::vector<SeriesId> ResultsWindow::ticked() const { return plot_->shown(); }

void ResultsWindow::filterList(const QString& text) {
    const QString wanted = text.trimmed();
    for (int t = 0; t < list_->topLevelItemCount(); ++t) {
        QTreeWidgetItem* top = list_->topLevelItem(t);
        for (int c = 0; c < top->childCount(); ++c) {
            QTreeWidgetItem* item = top->child(c);
            item->setHidden(!wanted.isEmpty() && !item->text(0).contains(wanted, Qt::CaseInsensitive));
        }
    }
}

std::string ResultsWindow::askExportName(const std::string& title, const std::string& filter,
                                         const std::string& extension) {

    FileDialogRequest request;
    request.title = title;
    request.filter = filter;
    request.flags = OverwritePrompt | PathMustExist | HideReadOnly;
    request.initialDir = folderOf(results_->files().sot);
    const std::string base = baseOf(results_->files().sot);
    request.fileName = base.substr(base.find_last_of('/') + 1) + extension;
    return ui_.saveFileName(request);
}

ResultsWindow* ResultsWindow::openReport() {
    ResultsWindow* opened = nullptr;
    trapErrors(ui_, [this, &opened] {
        FileDialogRequest request;
        request.title = "Open Results";
        request.filter = "Rillo2000 Reports (*.sot)|*.sot|All Files (*.*)|*.*";
        request.flags = FileMustExist | PathMustExist | HideReadOnly;
        request.initialDir = folderOf(results_->files().sot);
        const std::string path = ui_.openFileName(request);
        // A window of its own, beside this one, with the same parent.
        opened = showResults(resultsFilesFor(path), ui_, parentWidget());
    });
    return opened;
}

void ResultsWindow::exportPng() {
    trapErrors(ui_, [this] {
        writePng(askExportName("Export Plot as PNG", "PNG Images (*.png)|*.png|All Files (*.*)|*.*", ".png"));
    });
}

void ResultsWindow::exportSvg() {
    trapErrors(ui_, [this] {
        writeSvg(askExportName("Export Plot as SVG", "SVG Drawings (*.svg)|*.svg|All Files (*.*)|*.*", ".svg"));
    });
}

void ResultsWindow::exportCsv() {
    trapErrors(ui_, [this] {
        if (ticked().empty()) throw RuntimeError("Tick the series to export in the list first.");
        writeCsv(askExportName("Export Ticked Series as CSV", "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*", ".csv"));
    });
}

void ResultsWindow::writePng(const std::string& path) const {
    const QImage picture = view_->image();
    if (!picture.save(QString::fromStdString(path), "PNG"))
        throw RuntimeError("The plot could not be written to " + path + ".");
}

void ResultsWindow::writeSvg(const std::string& path) const {
    try {
        view_->writeSvg(path, windowTitle().toStdString());
    } catch (const std::runtime_error&) {
        throw RuntimeError("The plot could not be written to " + path + ".");
    }
}

void ResultsWindow::writeCsv(const std::string& path) const {
    try {
        writeSeriesCsvFile(path, *results_, ticked());
    } catch (const std::runtime_error& e) {
        throw RuntimeError(std::string("The series could not be written: ") + e.what() + ".");
    }
}

}  // namespace rillo::results
