#pragma once

#include "Page.h"
#include "brevo/BrevoDSPSettings.h"

#include <QList>

class CellGrid;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class RadioGroup;

// The "DSP" tab of the Brevo panel: the look-up-table format with its
// binarization threshold and its five-point linear interpolation (built for
// all colours or for red, green or blue alone), the 3 x 3 colour linear
// matrix with hue and saturation presets, the 3 x 3 spatial filter and the
// sharpness.
//
// Levels are 12-bit (0 to 4095); matrix and filter coefficients are signed
// with 256 standing for 1.0; sharpness runs from 0 to 255. The colour matrix
// works only while the camera sends 24-bit RGB pixels; a camera without the
// spatial filter or the per-colour builds gets them disabled or hidden, and
// one without sharpness gets no sharpness controls.
class CBrevoCLDSPPage : public Page {
    Q_OBJECT
public:
    using Settings = BrevoDSPSettings;

    explicit CBrevoCLDSPPage(PageContext context, QWidget* parent = nullptr);

    static constexpr int kRgbPixelDepth = Settings::kRgbPixelDepth;
    static constexpr int kUnity = 256; // a coefficient of 1.0

    // The matrices the "Hue" and "Saturation" sliders fill, row by row.
    static QList<int> hueMatrix(int hue);
    static QList<int> saturationMatrix(int saturation);

private:
    QWidget* buildLut();
    QWidget* buildColourMatrix();
    QWidget* buildSpatialFilter();
    QWidget* buildSharpness();
    void declareBindings();
    // Groups and buttons that follow what the camera has.
    void followCamera();

    // "CR-TF": switching on only while the camera sends 24-bit pixels;
    // otherwise the notice, the box back to the camera's state and false
    // (nothing is sent).
    bool colourMatrixAllowed(int on);
    void presetMatrix(SliderNotification kind, const QList<int>& matrix);
    void resetColourMatrix();
    void resetSpatialFilter();
    // The up-down's steps: the sharpness they lead to is sent, and the
    // slider and the box show what the camera then holds.
    void stepSharpness(int steps);

    // "LUT"
    RadioGroup* m_format;
    QLineEdit* m_threshold;
    CellGrid* m_points;
    QPushButton* m_build;
    QList<QPushButton*> m_colourBuilds; // "BuildR", "BuildG", "BuildB"
    // "Color Matrix"
    QGroupBox* m_matrixGroup;
    QCheckBox* m_matrixEnable;
    CellGrid* m_matrix;
    QPushButton* m_matrixSet;
    QPushButton* m_matrixReset;
    QSlider* m_hue;
    QSlider* m_saturation;
    // "Spatial Filter"
    QGroupBox* m_filterGroup;
    QCheckBox* m_filterEnable;
    CellGrid* m_filter;
    QPushButton* m_filterSet;
    QPushButton* m_filterReset;
    // "Sharpness"
    QGroupBox* m_sharpnessGroup;
    QSlider* m_sharpness;
    QSpinBox* m_sharpnessBox;
};
