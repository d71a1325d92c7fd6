#pragma once

#include <QString>

// The window caption and the program-name label, from the product name and version.
namespace ProductTexts {
inline constexpr char ProductName[] = "Kelvo Ripvale";
QString windowCaption(const QString& version); // "Kelvo Ripvale V2.0"
QString programNameLabel();                    // "Ripvale": after the first blank
} // namespace ProductTexts
