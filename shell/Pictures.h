#pragma once
// The program's pictures: the toolbar's image list (from the desktop's icon
// theme, with bundled drawings where the theme has none) and the artwork of
// the splash, start and About windows.

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QStringList>

class QLabel;

namespace rillo::shell {

/// The image list's keys, in order; picture 10 ("Hand") is the drag cursor.
QStringList toolbarImageKeys();
/// The image for a key, 16 x 16 and larger; a null icon for an unknown key.
QIcon toolbarImage(const QString& key);
/// Picture 10 of the image list as a mouse cursor.
QCursor dragCursor();
/// The program's own icon (also installed for the desktop).
QIcon programIcon();
/// Artwork from the program's resources ("splash", "cover", "about", ...).
QPixmap artwork(const QString& name, const QSize& size);
/// Shows artwork in a label and names the picture for assistive technology.
void showArtwork(QLabel* label, const QString& name, const QSize& size);

}  // namespace rillo::shell
