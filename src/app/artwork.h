#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn in code so the program folder needs no image files.
namespace Artwork {

// Picture of the Start or Stop image button in state 0 (normal), 1 (hot) or 2 (pressed),
// drawn into a 188 x 58 bitmap.
QPixmap startButton(int state);
QPixmap stopButton(int state);

QPixmap background(const QSize& size); // behind the task tree before a disc is opened
QPixmap avatar();                      // the disc picture on the background panel
QPixmap headerTile();                  // 16 x 17 tile of the task tree's header
QIcon titleIcon();
QIcon chapterIcon();
QIcon commandIcon(const QString& name); // "open-dvd", "open-dir", "settings", "segment"
QIcon smallIcon(const QString& name);   // "help", "about", "web", "play", "pause", "stop"
QIcon applicationIcon();

} // namespace Artwork
