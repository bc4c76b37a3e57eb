#include "Pictures.h"

#include <QHash>

// The pictures live in the shell library's resources, which a static
// library has to register itself.
static void registerShellResources() { Q_INIT_RESOURCE(shell); }

namespace rillo::shell {

namespace {

void ensureResources() {
    static const bool registered = (registerShellResources(), true);
    (void)registered;
}

/// Freedesktop icon names for the keys the theme can serve.
const QHash<QString, QString>& themeNames() {
    static const QHash<QString, QString> names{
        {QStringLiteral("New"), QStringLiteral("document-new")},
        {QStringLiteral("Open"), QStringLiteral("document-open")},
        {QStringLiteral("Save"), QStringLiteral("document-save")},
        {QStringLiteral("Print"), QStringLiteral("document-print")},
        {QStringLiteral("Cut"), QStringLiteral("edit-cut")},
        {QStringLiteral("Copy"), QStringLiteral("edit-copy")},
        {QStringLiteral("Paste"), QStringLiteral("edit-paste")},
        {QStringLiteral("Left"), QStringLiteral("go-previous")},
        {QStringLiteral("Right"), QStringLiteral("go-next")},
    };
    return names;
}

}  // namespace

QStringList toolbarImageKeys() {
    return {QStringLiteral("New"),  QStringLiteral("Open"),  QStringLiteral("Save"), QStringLiteral("Print"),
            QStringLiteral("Cut"),  QStringLiteral("Copy"),  QStringLiteral("Paste"), QStringLiteral("Left"),
            QStringLiteral("Right"), QStringLiteral("Hand")};
}

QIcon toolbarImage(const QString& key) {
    if (!toolbarImageKeys().contains(key)) return {};
    ensureResources();
    const QIcon bundled(QStringLiteral(":/shell/icons/%1.svg").arg(key.toLower()));
    const QString themeName = themeNames().value(key);
    return themeName.isEmpty() ? bundled : QIcon::fromTheme(themeName, bundled);
}

QCursor dragCursor() {
    const QPixmap picture = toolbarImage(QStringLiteral("Hand")).pixmap(QSize(32, 32));
    if (picture.isNull()) return QCursor(Qt::OpenHandCursor);
    return QCursor(picture, 12, 4);
}

QIcon programIcon() {
    ensureResources();
    return QIcon(QStringLiteral(":/shell/art/rillo2000.svg"));
}

QPixmap artwork(const QString& name, const QSize& size) {
    ensureResources();
    return QIcon(QStringLiteral(":/shell/art/%1.svg").arg(name)).pixmap(size);
}

}  // namespace rillo::shell
