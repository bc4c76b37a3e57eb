// The program's entry: the command-line check runs without a window; every
// other start shows the splash window and then the main window.

#include "AppPaths.h"
#include "CheckCommand.h"
#include "Pictures.h"
#include "Platform.h"
#include "QtUi.h"
#include "ResultsWindow.h"
#include "ShowResults.h"
#include "StartUp.h"
#include "UiServices.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdlib>
#include <iostream>

namespace {

/// Whether a window can be shown: a display to talk to, or a platform
/// plugin that needs none.
bool hasDisplay(const QStringList& arguments) {
    const int platformArg = arguments.indexOf(QStringLiteral("-platform"));
    QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platformArg >= 0 && platformArg + 1 < arguments.size()) platform = arguments.at(platformArg + 1);
    if (platform.startsWith(QStringLiteral("offscreen")) || platform.startsWith(QStringLiteral("minimal")))
        return true;
#if defined(Q_OS_LINUX)
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QString::fromLatin1(rillo::AppVersion::title));
    QCoreApplication::setApplicationVersion(QString::fromStdString(rillo::AppVersion::text()));
    QCoreApplication::setOrganizationName(QString::fromLatin1(rillo::AppVersion::title));

    // Parsed before any application object exists, so that the check needs
    // no display. Qt's own options (-platform and the like) are left to the
    // application object.
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Rillo2000: edit, check and run RILLO model input decks."));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Displays help on commandline options."));
    const QCommandLineOption versionOption(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Displays version information."));
    const QCommandLineOption checkOption(
        QStringLiteral("check"),
        QStringLiteral("Reads DECK as File > Open does and runs the checks of File > Save, without a window."),
        QStringLiteral("DECK"));
    const QCommandLineOption outputOption(QStringLiteral("output"),
                                          QStringLiteral("With --check: also writes the deck to FILE."),
                                          QStringLiteral("FILE"));
    const QCommandLineOption yesOption(QStringLiteral("yes"),
                                       QStringLiteral("With --check: answers Yes to every question (default: No)."));
    const QCommandLineOption resultsOption(
        QStringLiteral("results"),
        QStringLiteral("Opens the results window on the run whose report is FILE (its .ssb files beside it)."),
        QStringLiteral("FILE.sot"));
    parser.addOptions({helpOption, versionOption, checkOption, outputOption, yesOption, resultsOption});
    parser.addPositionalArgument(QStringLiteral("DECK"), QStringLiteral("A deck to open."), QStringLiteral("[DECK]"));

    const QStringList arguments = rillo::platform::commandLineArguments(argc, argv);
    QStringList ours{arguments.value(0)};
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        // Qt's single-dash options with a value pass through to QApplication.
        static const QStringList qtOptions{QStringLiteral("-platform"), QStringLiteral("-style"),
                                           QStringLiteral("-display"), QStringLiteral("-qwindowgeometry")};
        if (qtOptions.contains(a)) {
            ++i;
            continue;
        }
        ours << a;
    }
    if (!parser.parse(ours)) {
        std::cerr << "Rillo2000: " << parser.errorText().toStdString() << "\n"
                  << "Try 'Rillo2000 --help'.\n";
        return 2;
    }
    if (parser.isSet(helpOption)) {
        const QCoreApplication core(argc, argv);  // the help names the program from it
        std::cout << parser.helpText().toStdString();
        return 0;
    }
    if (parser.isSet(versionOption)) {
        std::cout << rillo::AppVersion::title << " " << rillo::AppVersion::text() << "\n";
        return 0;
    }
    // One deck may be named to be opened (a double-clicked deck).
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1 || (!positional.isEmpty() && (parser.isSet(checkOption) || parser.isSet(resultsOption)))) {
        std::cerr << "Rillo2000: unexpected argument '" << positional.last().toStdString()
                  << "'.\nTry 'Rillo2000 --help'.\n";
        return 2;
    }
    if (parser.isSet(resultsOption) && parser.isSet(checkOption)) {
        std::cerr << "Rillo2000: --results and --check do not go together.\n";
        return 2;
    }
    if (parser.isSet(resultsOption) && !QFileInfo(parser.value(resultsOption)).isFile()) {
        std::cerr << "Rillo2000: " << parser.value(resultsOption).toStdString()
                  << ": the report cannot be opened (there is no such file).\n";
        return 2;
    }
    if (parser.isSet(checkOption)) {
        rillo::CheckRequest request;
        request.deck = parser.value(checkOption).toStdString();
        if (parser.isSet(outputOption)) request.output = parser.value(outputOption).toStdString();
        request.answerYes = parser.isSet(yesOption);
        return rillo::RunCheck(request, std::cerr);
    }
    if (parser.isSet(outputOption) || parser.isSet(yesOption)) {
        std::cerr << "Rillo2000: --output and --yes go with --check DECK.\n";
        return 2;
    }
    if (!hasDisplay(arguments)) {
        std::cerr << "Rillo2000 needs a graphical display (DISPLAY is not set); "
                     "use 'Rillo2000 --check DECK' to check a deck without one.\n";
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setWindowIcon(rillo::shell::programIcon());
    if (parser.isSet(resultsOption)) {
        // The results window alone; the program ends when it is closed.
        rillo::shell::QtUi ui;
        const auto files = rillo::results::resultsFilesFor(parser.value(resultsOption).toStdString());
        ui.setDialogParent(rillo::results::showResults(files, ui));
        return app.exec();
    }
    rillo::shell::StartUp startUp;
    startUp.begin(positional.value(0));
    return app.exec();
}
