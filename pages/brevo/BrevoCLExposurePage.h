#pragma once

#include "Page.h"
#include "brevo/BrevoExposureSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The "Exposure" tab of the Brevo panel: exposure time and auto exposure, the
// trigger (mode, source, delay, polarity, control, exposure mode, inhibit,
// shift, trigger range and its limits), the software trigger and the special
// trigger that captures a number of frames in bulk or in sequence. While the
// tab is shown and auto exposure is on, the exposure time is re-read every
// two seconds.
class CBrevoCLExposurePage : public Page {
    Q_OBJECT
public:
    using Settings = BrevoExposureSettings;

    explicit CBrevoCLExposurePage(PageContext context, QWidget* parent = nullptr);

private:
    QWidget* buildExposure();
    QWidget* buildTrigger();
    QWidget* buildSpecialTrigger();
    void declareBindings();

    // "Fire SoftTrigger": an edge, or a pulse of the typed width.
    void fireSoftTrigger();

    // "Exposure"
    QComboBox* m_autoExposureList;
    QLineEdit* m_exposureTime;
    // "Trigger"
    QCheckBox* m_triggerMode;
    QComboBox* m_source;
    QPushButton* m_fireSoftTrigger;
    QLineEdit* m_pulseWidth;
    QLineEdit* m_triggerDelay;
    QCheckBox* m_triggerPolarity;
    QCheckBox* m_triggerControl;
    QComboBox* m_exposureModeList;
    QCheckBox* m_triggerInhibit;
    QCheckBox* m_triggerShift;
    QCheckBox* m_triggerRange;
    QLineEdit* m_lowerLimit;
    QLineEdit* m_upperLimit;
    // "Special Trigger Mode"
    QComboBox* m_specialMode;
    QComboBox* m_frameCount;
    QComboBox* m_specialSource;
    QCheckBox* m_specialPolarity;
};
