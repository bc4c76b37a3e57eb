#include "AppPaths.h"

#include <QDir>
#include <QFileInfo>

namespace rillo::shell {

QString templatePath(const QString& applicationFolder) {
    const QDir folder(applicationFolder);
    const QString beside = QDir::cleanPath(folder.filePath(TemplateFileName));
    const QString shared =
        QDir::cleanPath(folder.filePath(QStringLiteral("../share/rillo2000/") + TemplateFileName));
    for (const QString& candidate : {beside, shared}) {
        if (QFileInfo(candidate).isFile()) return candidate;
    }
    return beside;
}

}  // namespace rillo::shell
