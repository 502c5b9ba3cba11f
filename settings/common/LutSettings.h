#pragma once

#include "Catalogue.h"

#include <array>

// The look-up-table settings that the Tovane "LUT" page and the Brevo "DSP"
// page share: the table's format, the binarization threshold, and the five
// points of the linear-interpolation curve with the command that builds it.
//
// Levels are 12-bit. A point holds its input and its output level, read as
// "LINEAR-INTERPOLATION <k>" and set as "LINEAR-INTERPOLATION <k> <x> <y>";
// the page sends the points only when the user builds the curve, and files
// of settings keep them as those lines.
class LutSettings : public PageSettings {
    Q_OBJECT
public:
    static constexpr int kPoints = 5;
    static constexpr int kMaxLevel = 4095;

    Setting* format = nullptr;
    Setting* threshold = nullptr;
    std::array<Setting*, kPoints> points{}; // points 1 to 5
    const CameraCommand* build = nullptr;

protected:
    using PageSettings::PageSettings;

    // Declares the settings above where the page reads them: the format, the
    // threshold, then points 1 to 5.
    void declareLut();
};
