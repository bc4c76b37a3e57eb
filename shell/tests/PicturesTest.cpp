// The program's pictures come from PNGs rendered from their drawings when
// the program is built: every one is there, at the sizes the windows ask
// for, and shows something.

#include "Pictures.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>

using namespace rillo::shell;

namespace {

/// Pixels that are neither see-through nor the same as the first.
bool showsSomething(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    bool varied = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            opaque += qAlpha(image.pixel(x, y)) > 0;
            varied = varied || image.pixel(x, y) != image.pixel(0, 0);
        }
    return opaque > image.width() * image.height() / 10 && varied;
}

TEST(Pictures, EveryToolbarImageAndTheProgramIconAreThereAtEverySize) {
    for (const QString& key : toolbarImageKeys()) {
        const QIcon icon = toolbarImage(key);
        ASSERT_FALSE(icon.isNull()) << key.toStdString();
        for (int size : {16, 24, 32}) {
            const QPixmap pixmap = icon.pixmap(QSize(size, size));
            EXPECT_EQ(pixmap.size(), QSize(size, size)) << key.toStdString();
            EXPECT_TRUE(showsSomething(pixmap)) << key.toStdString() << " at " << size;
        }
    }
    EXPECT_TRUE(toolbarImage(QStringLiteral("Nothing")).isNull());
    const QList<QSize> sizes = programIcon().availableSizes();
    for (int size : {16, 32, 48, 256}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    EXPECT_TRUE(showsSomething(programIcon().pixmap(QSize(48, 48))));
    EXPECT_FALSE(dragCursor().pixmap().isNull());
}

TEST(Pictures, ArtworkKeepsItsShapeAtTheSizeAWindowAsks) {
    const struct {
        const char* name;
        QSize asked;
        QSize got;
    } cases[] = {
        {"cover", {360, 240}, {360, 240}}, {"about", {150, 110}, {150, 110}}, {"splash", {180, 180}, {180, 180}},
        {"splash", {48, 48}, {48, 48}},    {"rain", {64, 64}, {64, 64}},      {"pipe", {72, 72}, {72, 72}},
        {"cover", {180, 180}, {180, 120}},  // smaller than drawn, in its own proportions
    };
    for (const auto& c : cases) {
        const QPixmap picture = artwork(QString::fromLatin1(c.name), c.asked);
        EXPECT_EQ(picture.size(), c.got) << c.name;
        EXPECT_TRUE(showsSomething(picture)) << c.name;
    }
    EXPECT_TRUE(artwork(QStringLiteral("nothing"), QSize(64, 64)).isNull());
    QLabel label;
    showArtwork(&label, QStringLiteral("rain"), QSize(72, 72));
    EXPECT_EQ(label.pixmap().size(), QSize(72, 72));
    EXPECT_EQ(label.accessibleName(), QStringLiteral("Rain falling from a cloud"));
}

}  // namespace
