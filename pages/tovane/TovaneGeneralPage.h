#pragma once

#include "Page.h"
#include "tovane/TovaneGeneralSettings.h"

#include <QList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class RadioGroup;

// The "General" tab of the Tovane panel: identity, image geometry, frame
// rate, temperature and power status, user sets, test chart, Camera Link
// taps and base clock, and the camera's serial speed.
//
// The user-defined name, the default user set and the base clock are only
// shown; the lists and buttons that show them go back to the camera's value
// when the user picks another.
class CTovaneGeneralPage : public Page {
    Q_OBJECT
public:
    using Settings = TovaneGeneralSettings;

    explicit CTovaneGeneralPage(PageContext context, QWidget* parent = nullptr);

private:
    QWidget* buildCameraInfo();
    QWidget* buildImageInfo();
    QWidget* buildFrameRate();
    QWidget* buildUserSets();
    QWidget* buildCameraLink();
    QWidget* buildBaudRates();
    QWidget* buildUnusedDefectControls();
    void declareBindings();
    // The list shows the item whose value the setting holds, none when it
    // holds another or none, and goes back to it when the user picks one.
    void showOnly(QComboBox* list, Setting& setting, const QList<int>& values);
    void showBaseClock();

    // "CameraInfo"
    QLabel* m_vendor;
    QLabel* m_model;
    QLabel* m_version;
    QLabel* m_manufacturer;
    QLabel* m_serialNumber;
    QLineEdit* m_userDefinedName;
    // "ImageInfo"
    QLabel* m_width;
    QLabel* m_height;
    QLineEdit* m_offsetX;
    QLineEdit* m_offsetY;
    QComboBox* m_pixelDepth;
    QCheckBox* m_hBinning;
    QCheckBox* m_vBinning;
    QCheckBox* m_reverseX;
    QCheckBox* m_reverseY;
    // "Framerate"
    QCheckBox* m_frameRateAuto;
    QLineEdit* m_frameRate;
    QLineEdit* m_actualFrameRate;
    // "Temperature", "PowerStatus", "TestChart"
    QLabel* m_temperature;
    QLabel* m_powerStatus;
    RadioGroup* m_testChart;
    // "Userset"
    QComboBox* m_usersetSelector;
    QPushButton* m_usersetLoad;
    QPushButton* m_usersetSave;
    QComboBox* m_usersetDefault;
    // "CameraLink"
    QComboBox* m_cameraLinkTaps;
    RadioGroup* m_baseClock;
    // "Baudrate"
    QComboBox* m_normalBaudRate;
    QComboBox* m_temporaryBaudRate;
    QComboBox* m_expandedBaudRate;
    QPushButton* m_reboot;
};
