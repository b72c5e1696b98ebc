// SPDX-License-Identifier: Apache-2.0
#include "support/PictureColours.h"

#include <optional>

namespace PictureColours {

namespace {

struct SystemColour {
    quint32 index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The system colours that have a counterpart in the palette.
constexpr SystemColour SystemColours[] = {
    {1, QPalette::Active, QPalette::Window},           // desktop
    {2, QPalette::Active, QPalette::Highlight},        // active caption
    {3, QPalette::Inactive, QPalette::Highlight},      // inactive caption
    {4, QPalette::Active, QPalette::Window},           // menu
    {5, QPalette::Active, QPalette::Base},             // window
    {6, QPalette::Active, QPalette::Shadow},           // window frame
    {7, QPalette::Active, QPalette::WindowText},       // menu text
    {8, QPalette::Active, QPalette::Text},             // window text
    {9, QPalette::Active, QPalette::HighlightedText},  // caption text
    {12, QPalette::Active, QPalette::Window},          // application workspace
    {13, QPalette::Active, QPalette::Highlight},       // highlight
    {14, QPalette::Active, QPalette::HighlightedText}, // highlighted text
    {15, QPalette::Active, QPalette::Button},          // button face
    {16, QPalette::Active, QPalette::Dark},            // button shadow
    {17, QPalette::Disabled, QPalette::Text},          // grey text
    {18, QPalette::Active, QPalette::ButtonText},      // button text
    {20, QPalette::Active, QPalette::Light},           // button highlight
    {21, QPalette::Active, QPalette::Shadow},          // dark shadow
    {22, QPalette::Active, QPalette::Midlight},        // light
    {23, QPalette::Active, QPalette::ToolTipText},     // tooltip text
    {24, QPalette::Active, QPalette::ToolTipBase},     // tooltip background
};

quint32 toColourValue(const QColor& colour) {
    return static_cast<quint32>(colour.red()) | static_cast<quint32>(colour.green()) << 8 |
           static_cast<quint32>(colour.blue()) << 16;
}

std::optional<SystemColour> systemColour(quint32 index) {
    for (const SystemColour& entry : SystemColours) {
        if (entry.index == index)
            return entry;
    }
    return std::nullopt;
}

} // namespace

RGBParts SplitRGB(quint32 colour) {
    return {static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
            static_cast<int>(colour >> 16 & 0xFF)};
}

qint64 TranslateColour(quint32 colour, const QPalette& palette) {
    const quint32 kind = colour & 0xFF000000u;
    if (kind == 0)
        return colour;
    if (kind != SystemColourFlag)
        return -1;
    const std::optional<SystemColour> entry = systemColour(colour & 0x00FFFFFFu);
    if (!entry)
        return -1;
    return toColourValue(palette.color(entry->group, entry->role));
}

void ReplaceColour(QImage& picture, qint64 keyColour, qint64 replacementColour) {
    if (keyColour < 0 || replacementColour < 0 || picture.isNull())
        return;
    const RGBParts key = SplitRGB(static_cast<quint32>(keyColour));
    const RGBParts replacement = SplitRGB(static_cast<quint32>(replacementColour));
    QImage pixels = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                      : QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            const QRgb pixel = line[x];
            if (qRed(pixel) == key.Red && qGreen(pixel) == key.Green && qBlue(pixel) == key.Blue)
                line[x] =
                    qRgba(replacement.Red, replacement.Green, replacement.Blue, qAlpha(pixel));
        }
    }
    picture = pixels;
}

} // namespace PictureColours
