#pragma once

#include "Catalogue.h"

#include <array>

// The "Gain" page of a Brevo camera: fine gain, black level and the red,
// green and blue fine gains, either common to the whole sensor or one set
// per sensor tap; the automatic gain with its target level, the black-level
// auto balance and the automatic white balance.
//
// Which of the two the page shows decides what it reads and what files keep:
// the common values, or those of the taps the sensor has.
class BrevoGainSettings : public PageSettings {
    Q_OBJECT
public:
    BrevoGainSettings(Connection& connection, const QString& title, const CatalogueContext& context);

    enum Row { GainRow, BlackLevelRow, RedRow, GreenRow, BlueRow, kRowCount };
    static constexpr int kTapCount = 4;

    Setting* targetLevel = nullptr;
    Setting* gainAuto = nullptr;
    Setting* whiteBalance = nullptr;   // a mono camera has none
    Setting* blackLevelAuto = nullptr; // nor has a one-tap camera
    std::array<Setting*, kRowCount> common{};
    std::array<std::array<Setting*, kRowCount>, kTapCount> taps{}; // taps[0] is tap 1

    // The white balance done by the application switches the camera to one
    // software-triggered frame from source 0. The trigger is the Exposure
    // page's; files leave these out here.
    Setting* triggerSource = nullptr;
    Setting* triggerMode = nullptr;
    const CameraCommand* softTrigger = nullptr;

    // One set of values per tap instead of the common one.
    bool individual() const { return m_individual; }
    void setIndividual(bool individual) { m_individual = individual; }
    // The setting a row of a group stands for now: the first group is the
    // common one unless the taps are shown one by one.
    Setting& rowSetting(int group, Row row) const;

    // Follows the automatic controls that run: the first tap's gain while
    // the automatic gain runs, its red and blue gains while the white balance
    // does, then both modes. True while either still runs.
    bool readAutomaticResults();

private:
    void readRows(const std::array<Setting*, kRowCount>& rows);
    void readFirstTap(Row row);
    // How many tap groups the sensor's tap count lets the page read.
    int tapGroupsRead() const;

    int m_sensorTaps = 0;
    bool m_individual = false;
};
