#pragma once
// What differs between Windows and the other systems, in one place: the
// rest of the program asks here instead of testing the platform itself.
// Each system has its own source file (PlatformWindows.cpp, PlatformPosix.cpp).

#include <QSettings>
#include <QString>
#include <QStringList>

class QProcess;

namespace rillo::platform {

/// A program's file name on this system: "rillo-model" or "rillo-model.exe".
QString executableName(const QString& baseName);

/// Where the settings live: the registry (HKEY_CURRENT_USER\Software\...) on
/// Windows, an INI file in the user's configuration folder elsewhere.
QSettings::Format settingsFormat();

/// Starts the process without a console window of its own, for a console
/// program run from a window (the model engine).
void hideConsoleWindow(QProcess& process);

/// The program's arguments, argv[0] first, whole: on Windows from the
/// command line as the system keeps it (UTF-16), so that file names outside
/// the ANSI code page arrive as they are.
QStringList commandLineArguments(int argc, char** argv);

}  // namespace rillo::platform
