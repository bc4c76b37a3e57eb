// Writes a picture of the results window of a run, as a user sees it after
// ticking a few series: by default the first hyetograph and the two element
// hydrographs with the highest peaks (subcatchments when no element was
// saved). Runs on any Qt platform, offscreen included.
//
//   rillo-results-screenshot FILE.sot OUT.png [--tick "Element 101"]... [--size 1100x720]

#include "ConsoleUi.h"
#include "HydrographPlot.h"
#include "ResultsWindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
#include <iostream>

using namespace rillo::results;

namespace {

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments();
    args.removeFirst();
    QStringList ticks;
    QSize size(1100, 720);
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--tick") && i + 1 < args.size()) {
            ticks << args[++i];
        } else if (args[i] == QLatin1String("--size") && i + 1 < args.size()) {
            const QStringList wh = args[++i].split(QLatin1Char('x'));
            if (wh.size() == 2) size = QSize(wh[0].toInt(), wh[1].toInt());
        } else {
            positional << args[i];
        }
    }
    if (positional.size() != 2 || !size.isValid()) {
        std::cerr << "usage: rillo-results-screenshot FILE.sot OUT.png [--tick LABEL]... [--size WxH]\n";
        return 2;
    }

    rillo::ConsoleUi ui(std::cerr);
    ResultsWindow window(resultsFilesFor(positional[0].toStdString()), ui);
    window.resize(size);
    window.show();
    if (window.isLoading()) {
        QEventLoop loop;
        QObject::connect(&window, &ResultsWindow::loaded, &loop, &QEventLoop::quit);
        loop.exec();
    }
    const RunResults& results = window.results();
    // The window opens with its first look ticked; named series replace it.
    if (!ticks.isEmpty()) {
        std::vector<SeriesId> chosen;
        for (SeriesId id : window.ticked()) window.setTicked(id, false);
        for (const QString& label : ticks) {
            const auto all = results.series();
            auto it = std::find_if(all.begin(), all.end(), [&](SeriesId id) { return QString::fromStdString(results.label(id)) == label; });
            if (it == all.end()) {
                std::cerr << "rillo-results-screenshot: no series \"" << label.toStdString() << "\" in this run\n";
                return 1;
            }
            chosen.push_back(*it);
        }
        for (SeriesId id : chosen) window.setTicked(id, true);
    }
    // Let the layout settle before the picture is taken.
    QTimer::singleShot(200, &app, &QApplication::quit);
    app.exec();
    if (!window.grab().save(positional[1], "PNG")) {
        std::cerr << "rillo-results-screenshot: cannot write " << positional[1].toStdString() << "\n";
        return 1;
    }
    std::cout << positional[1].toStdString() << "\n";
    return results.problems().empty() ? 0 : 1;
}
