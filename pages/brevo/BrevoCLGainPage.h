#pragma once

#include "Page.h"
#include "brevo/BrevoGainSettings.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;

// The "Gain" tab of the Brevo panel: fine gain, black level and the red,
// green and blue fine gains, for the whole sensor ("Common") or for each
// sensor tap ("Individual Control"), with their decibel read-outs; automatic
// gain with its target level, black-level auto balance and automatic white
// balance. Sliders and edits write without waiting for the camera. While an
// automatic control runs, the page follows the camera every two seconds.
class CBrevoCLGainPage : public Page {
    Q_OBJECT
public:
    using Settings = BrevoGainSettings;

    explicit CBrevoCLGainPage(PageContext context, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    using Row = BrevoGainSettings::Row;
    static constexpr int kRowCount = BrevoGainSettings::kRowCount;
    static constexpr int kGroupCount = BrevoGainSettings::kTapCount;

    struct TapRow {
        QSlider* slider = nullptr;
        QLineEdit* edit = nullptr;
        QLabel* decibels = nullptr; // none on the black-level row
        // The first group's bindings follow the mode.
        QList<Binding*> bindings;
    };
    struct TapGroup {
        QGroupBox* box = nullptr;
        std::array<TapRow, kRowCount> rows;
    };

    QLayout* buildAutomaticControls();
    QGroupBox* buildGroup(int group);
    void declareBindings();

    void switchMode(bool individual);
    // The black-level ranges of the mode, and whether a running balance
    // locks the taps' black levels.
    void showBlackLevelsOfMode();
    void selectWhiteBalance(int index);
    // The application's white balance: one software-triggered frame.
    bool balanceByApplication();
    void pollAutomaticControls();

    QCheckBox* m_individualBox;
    QComboBox* m_agc;
    QComboBox* m_blackLevelAuto;
    QSlider* m_targetLevel;
    QComboBox* m_awb;
    std::array<TapGroup, kGroupCount> m_groups;
};
