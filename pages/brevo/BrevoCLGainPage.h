#pragma once

#include "Page.h"

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
    explicit CBrevoCLGainPage(PageContext context, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    enum Row { GainRow, BlackLevelRow, RedRow, GreenRow, BlueRow, kRowCount };
    static constexpr int kGroupCount = 4;

    struct TapRow {
        QSlider* slider = nullptr;
        QLineEdit* edit = nullptr;
        QLabel* decibels = nullptr; // none on the black-level row
        SliderBinding* sliding = nullptr;
        EditBinding* typing = nullptr;
    };
    struct TapGroup {
        QGroupBox* box = nullptr;
        std::array<TapRow, kRowCount> rows;
    };

    QLayout* buildAutomaticControls();
    QGroupBox* buildGroup(int group);
    void declareBindings();
    void declareLoad();

    // The word each row of a group sends now: the first group uses the
    // common words unless the taps are controlled one by one.
    QByteArray wordFor(int group, Row row) const;
    void useWordsOfMode();

    void switchMode(bool individual);
    void readGroup(int group);
    void readIndividualGroups();
    void readColour(int group, Row row);
    void selectWhiteBalance(int index);
    void pollAutomaticControls();

    int m_individual = 0;
    int m_blackLevelAutoMode = 0;
    int m_agcMode = 0;
    int m_awbMode = 0;

    QCheckBox* m_individualBox;
    QComboBox* m_agc;
    QComboBox* m_blackLevelAuto;
    QSlider* m_targetLevel;
    QComboBox* m_awb;
    std::array<TapGroup, kGroupCount> m_groups;
};
