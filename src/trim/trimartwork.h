#pragma once

#include <QIcon>
#include <QPixmap>

// The time editor's pictures, drawn in code.
namespace TrimArtwork {

QPixmap startThumb(); // 10 x 22: the left half of a pointer whose tip points down
QPixmap endThumb();   // 10 x 22: the right half
QPixmap range();      // 73 x 13, stretched between the thumbs
QIcon widenEarlier(); // glyph of the button that moves the start one second earlier
QIcon widenLater();

} // namespace TrimArtwork
