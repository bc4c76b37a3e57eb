// Writes the arguments it was given, as the platform layer reads them, one
// per line in UTF-8, to the file named by its first argument.

#include "Platform.h"

#include <QFile>

int main(int argc, char** argv) {
    const QStringList arguments = rillo::platform::commandLineArguments(argc, argv);
    if (arguments.size() < 2) return 2;
    QFile out(arguments.at(1));
    if (!out.open(QIODevice::WriteOnly)) return 3;
    for (qsizetype i = 2; i < arguments.size(); ++i) out.write(arguments.at(i).toUtf8() + '\n');
    return 0;
}
