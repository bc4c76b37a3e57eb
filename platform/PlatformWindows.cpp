#include "Platform.h"

#include <QProcess>

#include <windows.h>
#include <shellapi.h>

namespace rillo::platform {

QString executableName(const QString& baseName) { return baseName + QStringLiteral(".exe"); }

QSettings::Format settingsFormat() { return QSettings::NativeFormat; }

void hideConsoleWindow(QProcess& process) {
    process.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* arguments) { arguments->flags |= CREATE_NO_WINDOW; });
}

QStringList commandLineArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    QStringList list;
    if (!wide) {
        for (int i = 0; i < argc; ++i) list << QString::fromLocal8Bit(argv[i]);
        return list;
    }
    for (int i = 0; i < count; ++i) list << QString::fromWCharArray(wide[i]);
    LocalFree(wide);
    return list;
}

}  // namespace rillo::platform
