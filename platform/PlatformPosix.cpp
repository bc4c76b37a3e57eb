#include "Platform.h"

#include <QProcess>

namespace rillo::platform {

QString executableName(const QString& baseName) { return baseName; }

QSettings::Format settingsFormat() { return QSettings::IniFormat; }

void hideConsoleWindow(QProcess&) {}

QStringList commandLineArguments(int argc, char** argv) {
    QStringList list;
    for (int i = 0; i < argc; ++i) list << QString::fromLocal8Bit(argv[i]);
    return list;
}

}  // namespace rillo::platform
