#pragma once

#include "Page.h"
#include "brevo/BrevoGeneralSettings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class RadioGroup;

// The "General" tab of the Brevo panel: identity and temperature, region of
// interest, frame rate, user sets, serial speed, LED mode, test chart, pixel
// format and binning, sensor and Camera Link taps, the white-defect check and
// the VSUB adjustment.
class CBrevoCLGeneralPage : public Page {
    Q_OBJECT
public:
    using Settings = BrevoGeneralSettings;

    explicit CBrevoCLGeneralPage(PageContext context, QWidget* parent = nullptr);

private:
    QWidget* buildInformation();
    QWidget* buildRegionOfInterest();
    QWidget* buildFrameRate();
    QWidget* buildUserSets();
    QWidget* buildPixelFormat();
    QWidget* buildTaps();
    QWidget* buildDefectCheck();
    QLayout* buildSettingsColumn();
    QLayout* buildVsub();
    void declareBindings();

    void clearUserId();
    // Bright exposure and gain for the white-defect check, and the restore.
    // Each returns whether the bright exposure and gain are in force after it.
    void changeExposureGain(bool bright);
    bool brighten();
    bool restoreExposureGain();

    // The camera's exposure and gain before the defect check changed them.
    int m_savedExposure = 10;
    int m_savedGain = 0;

    // "Information"
    QLabel* m_vendor;
    QLabel* m_model;
    QLabel* m_version;
    QLabel* m_id;
    QLineEdit* m_userId;
    QPushButton* m_clearUserId;
    QLineEdit* m_manufacturer;
    QLineEdit* m_temperature;
    // "ROI"
    QLineEdit* m_width;
    QLineEdit* m_height;
    QLineEdit* m_offsetX;
    QLineEdit* m_offsetY;
    // "Framerate"
    QCheckBox* m_frameRateAuto;
    QLineEdit* m_frameRate;
    QLineEdit* m_actualFrameRate;
    // "Userset"
    QComboBox* m_usersetSelector;
    QPushButton* m_usersetLoad;
    QPushButton* m_usersetSave;
    QComboBox* m_usersetDefault;
    // Serial speed, LED, buttons, test chart
    QComboBox* m_baudRate;
    QComboBox* m_ledMode;
    QPushButton* m_factoryDefault;
    QPushButton* m_reset;
    RadioGroup* m_testChart;
    // "Pixel Format"
    QComboBox* m_pixelDepth;
    QCheckBox* m_hBinning;
    QCheckBox* m_vBinning;
    // "Taps"
    RadioGroup* m_sensorTaps;
    RadioGroup* m_cameraLinkTaps;
    // "Defect Pixel Check"
    QCheckBox* m_whiteDefectCheck;
    QCheckBox* m_changeExposureGain;
    // VSUB
    QCheckBox* m_vsubAdjust;
    QSlider* m_vsub;
    QLabel* m_vsubValue;
};
