// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QImage>
#include <QPalette>

// Colours as the system writes them: 0x00BBGGRR for a red, green, blue
// value, 0x800000NN for system colour NN (15 is the button face).
namespace PictureColours {

constexpr quint32 SystemColourFlag = 0x80000000u;
constexpr quint32 ButtonFace = SystemColourFlag | 15u;

struct RGBParts {
    int Red = 0;
    int Green = 0;
    int Blue = 0;
};

RGBParts SplitRGB(quint32 colour);

// The red, green, blue value of a colour, looking system colours up in the
// palette; -1 when the colour cannot be translated.
qint64 TranslateColour(quint32 colour, const QPalette& palette);

// Every pixel whose red, green and blue equal the key colour exactly takes
// the replacement colour; the fourth byte of each pixel is kept. A key or
// replacement of -1 changes nothing.
void ReplaceColour(QImage& picture, qint64 keyColour, qint64 replacementColour);

} // namespace PictureColours
