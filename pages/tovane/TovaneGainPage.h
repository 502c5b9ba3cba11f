#pragma once

#include "Page.h"
#include "tovane/TovaneGainSettings.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;

// The "Gain" tab of the Tovane panel: gain and black level, and everything
// that decides how a frame is exposed: exposure time with preset shutter
// speeds, automatic exposure and gain, the trigger, the special (multi-frame)
// trigger, a software trigger pulse, and the 3 x 3 spatial filter.
//
// The gain slider, the Step edit and GAIN-FINE count tenths of a decibel;
// GAIN and AGC-LOWER count whole decibels.
class CTovaneGainPage : public Page {
    Q_OBJECT
public:
    using Settings = TovaneGainSettings;

    explicit CTovaneGainPage(PageContext context, QWidget* parent = nullptr);

    // The software-trigger pulse width the page starts with.
    static constexpr int kDefaultPulseWidthMs = 100;

private:
    QWidget* buildExposure();
    QWidget* buildGain();
    QWidget* buildBlackLevel();
    QWidget* buildAuto();
    QWidget* buildTrigger();
    QWidget* buildSpecialTrigger();
    QWidget* buildSpatialFilter();
    void declareBindings();

    // Sends the gain slider's lower end and reads the whole decibels back;
    // returns that minimum.
    int sendMinimumGain();
    void sendGainLowerMin();
    void fireSoftTrigger();

    // Exposure
    QLineEdit* m_exposureTime;
    QComboBox* m_exposurePreset;
    // Gain and black level
    QLineEdit* m_gainDb;
    QLineEdit* m_gainStep;
    QSlider* m_gain;
    QPushButton* m_minimumGain;
    QLineEdit* m_blackLevel;
    QSlider* m_blackLevelSlider;
    QPushButton* m_gainLowerMin;
    // Auto
    QComboBox* m_exposureAutoMode;
    QLineEdit* m_exposureLower;
    QLineEdit* m_exposureUpper;
    QComboBox* m_gainAutoMode;
    QLineEdit* m_gainLower;
    QLineEdit* m_gainUpper;
    QLineEdit* m_gainAutoLevel;
    QCheckBox* m_areaHighlight;
    QLineEdit* m_areaOffsetX;
    QLineEdit* m_areaWidth;
    QLineEdit* m_areaOffsetY;
    QLineEdit* m_areaHeight;
    QLineEdit* m_exposureSpeed;
    QLineEdit* m_gainSpeed;
    // "Trigger"
    QCheckBox* m_triggerMode;
    QComboBox* m_triggerSource;
    QPushButton* m_fireSoftTrigger;
    QLineEdit* m_pulseWidth;
    QComboBox* m_exposureMode;
    QCheckBox* m_triggerInhibit;
    QCheckBox* m_triggerPolarity;
    QLineEdit* m_triggerDelay;
    QCheckBox* m_triggerRange;
    QLineEdit* m_triggerRangeLowerLimit;
    // "Special Trigger"
    QComboBox* m_specialMode;
    QComboBox* m_specialSource;
    QLineEdit* m_frameCount;
    QCheckBox* m_specialPolarity;
    // "Spatial Filter"
    QCheckBox* m_filterEnable;
    std::array<QLineEdit*, 9> m_coefficients{}; // row-major: 00, 01, 02, 10, ... 22
};
