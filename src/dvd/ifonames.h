#pragma once

#include <QString>

// The texts the IFO reader gives to coded attribute values. A value outside a table reads "???".

// Name of a two-character language code, compared exactly: "en" -> "English", two blanks ->
// "Not Specified", anything not in the table -> "???".
QString LanguageName(const QString& code);
// Whether a stored code names a language at all: two letters. Unset codes (two 0xFF or zero
// bytes, blanks) do not.
bool IsLanguageCode(const QString& code);

QString VideoCodingName(int index);   // 0 "MPEG1", 1 "MPEG2"
QString VideoStandardName(int index); // 0 "NTSC", 1 "PAL"
QString DisplayAspectName(int index); // 0 "4:3", 3 "16:9"
// Picture size of the given standard ("NTSC" or "PAL"); empty for any other standard.
QString PictureSizeName(const QString& standard, int index);
QString AudioCodingName(int index);
QString AudioCodeExtensionName(int index);
