#pragma once

#include <QByteArray>
#include <QString>

// Whether a title's video reaches the player still CSS-scrambled: the disc is copy protected
// and no descrambler (libdvdcss) is at hand. The player would show only noise then.
namespace ScrambleCheck {

// True when a 2048-byte DVD sector is a pack whose first packet carries scrambled audio or video.
bool sectorIsScrambled(const QByteArray& sector);

// Reads the first sectors of the title (numbered from 1) through libdvdread, which descrambles
// when it can. Sectors that a drive refuses count as scrambled when the drive reports a
// CSS-protected disc. False when the disc cannot be read here otherwise: the player says why.
bool titleIsScrambled(const QString& discFolder, int title);

} // namespace ScrambleCheck
