#pragma once

#include "Page.h"

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
    explicit CBrevoCLExposurePage(PageContext context, QWidget* parent = nullptr);

private:
    QWidget* buildExposure();
    QWidget* buildTrigger();
    QWidget* buildSpecialTrigger();
    void declareBindings();
    void declareLoad();

    // "Fire SoftTrigger": an edge, or a pulse of the typed width.
    void fireSoftTrigger();

    // The selected "EXP-MODE" item (0 edge, 1 pulse width): how the software
    // trigger fires.
    int m_exposureMode = 0;
    // The selected "Auto Exposure" item: not 0 while the poll reads EXP.
    int m_autoExposure = 0;

    // "Exposure"
    QComboBox* m_autoExposureList;
    QLineEdit* m_exposureTime;
    EditBinding* m_exposureTimeBinding = nullptr;
    // "Trigger"
    QCheckBox* m_triggerMode;
    QComboBox* m_source;
    QPushButton* m_fireSoftTrigger;
    QLineEdit* m_pulseWidth;
    QLineEdit* m_triggerDelay;
    EditBinding* m_triggerDelayBinding = nullptr;
    QCheckBox* m_triggerPolarity;
    QCheckBox* m_triggerControl;
    QComboBox* m_exposureModeList;
    QCheckBox* m_triggerInhibit;
    QCheckBox* m_triggerShift;
    QCheckBox* m_triggerRange;
    QLineEdit* m_lowerLimit;
    QLineEdit* m_upperLimit;
    EditBinding* m_lowerLimitBinding = nullptr;
    EditBinding* m_upperLimitBinding = nullptr;
    // "Special Trigger Mode"
    QComboBox* m_specialMode;
    QComboBox* m_frameCount;
    QComboBox* m_specialSource;
    QCheckBox* m_specialPolarity;
};
