#pragma once

#include "common/LutSettings.h"

#include <array>

// The "DSP" page of a Brevo camera: the format, the threshold and the
// interpolation points every LUT page has (LutSettings) with builds for red,
// green or blue alone, the 3 x 3 colour linear matrix, the 3 x 3 spatial
// filter and the sharpness.
//
// The colour matrix works only while the camera sends 24-bit RGB pixels and
// is read only then. A camera without the spatial filter, without sharpness
// or without the single-colour builds has them unavailable.
class BrevoDSPSettings : public LutSettings {
    Q_OBJECT
public:
    BrevoDSPSettings(Connection& connection, const QString& title, const CatalogueContext& context);

    static constexpr int kRgbPixelDepth = 24;
    // Coefficients are 14-bit signed, 256 standing for 1.0.
    static constexpr int kCoefficientMin = -8192;
    static constexpr int kCoefficientMax = 8191;
    static constexpr int kMaxSharpness = 255;

    // Whether the camera knew the single-colour builds (HELP LIBR) at the last load.
    bool hasColourBuilds() const { return m_hasColourBuilds; }

    // Set on the General page; read here because it decides the matrix.
    Setting* pixelDepth = nullptr;
    Setting* matrixEnable = nullptr;
    std::array<Setting*, 9> matrix{}; // row-major: 00, 01, 02, 10, ... 22
    Setting* filterEnable = nullptr;
    std::array<Setting*, 9> filter{};
    Setting* sharpness = nullptr;
    std::array<const CameraCommand*, 3> colourBuilds{}; // red, green, blue

signals:
    // The load has asked the camera for the single-colour builds.
    void colourBuildsChecked();

private:
    bool m_sharpnessProbed = false;
    bool m_hasSharpness = true;
    bool m_hasColourBuilds = true;
};
