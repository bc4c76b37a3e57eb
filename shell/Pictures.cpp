#include "Pictures.h"

#include <QHash>
#include <QLabel>

// The pictures live in the shell library's resources, which a static
// library has to register itself. They are PNG files rendered from the
// drawings in resources/ when the program is built, each at several sizes.
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

/// An icon from the PNGs of one drawing, one file per size.
QIcon renderedIcon(const QString& stem, std::initializer_list<int> sizes) {
    ensureResources();
    QIcon icon;
    for (int size : sizes) icon.addFile(QStringLiteral(":/shell/%1-%2.png").arg(stem).arg(size), QSize(size, size));
    return icon;
}

}  // namespace

QStringList toolbarImageKeys() {
    return {QStringLiteral("New"),  QStringLiteral("Open"),  QStringLiteral("Save"), QStringLiteral("Print"),
            QStringLiteral("Cut"),  QStringLiteral("Copy"),  QStringLiteral("Paste"), QStringLiteral("Left"),
            QStringLiteral("Right"), QStringLiteral("Hand")};
}

QIcon toolbarImage(const QString& key) {
    if (!toolbarImageKeys().contains(key)) return {};
    const QIcon bundled = renderedIcon(QStringLiteral("icons/") + key.toLower(), {16, 24, 32, 48, 64});
    const QString themeName = themeNames().value(key);
    return themeName.isEmpty() ? bundled : QIcon::fromTheme(themeName, bundled);
}

QCursor dragCursor() {
    const QPixmap picture = toolbarImage(QStringLiteral("Hand")).pixmap(QSize(32, 32));
    if (picture.isNull()) return QCursor(Qt::OpenHandCursor);
    return QCursor(picture, 12, 4);
}

QIcon programIcon() {
    return renderedIcon(QStringLiteral("art/rillo2000"), {16, 24, 32, 48, 64, 128, 256});
}

QPixmap artwork(const QString& name, const QSize& size) {
    ensureResources();
    // The file's own size and its @2x sibling for high-density screens; a
    // smaller size is scaled down from them, keeping the drawing's shape.
    return QIcon(QStringLiteral(":/shell/art/%1.png").arg(name)).pixmap(size);
}

void showArtwork(QLabel* label, const QString& name, const QSize& size) {
    // What each drawing shows, as a screen reader reads it.
    static const QHash<QString, QString> descriptions{
        {QStringLiteral("splash"), QStringLiteral("Nordal District logo: rain falling from a cloud onto water")},
        {QStringLiteral("cover"), QStringLiteral("A watershed: hills, a stream and a culvert under rain clouds")},
        {QStringLiteral("about"), QStringLiteral("A culvert at the water's edge")},
        {QStringLiteral("rain"), QStringLiteral("Rain falling from a cloud")},
        {QStringLiteral("pipe"), QStringLiteral("A pipe discharging water")},
    };
    label->setPixmap(artwork(name, size));
    label->setAccessibleName(descriptions.value(name, name));
}

}  // namespace rillo::shell
