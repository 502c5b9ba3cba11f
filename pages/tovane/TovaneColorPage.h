#pragma once

#include "Page.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSlider;
class SliderBinding;

// The "Color" tab of the Tovane panel: white balance. The automatic
// white-balance mode (off, once, continuous; a one-time balance is "1:Once"),
// the fine gains of the red, green and blue channels, and the rectangle in
// which the automatic white balance measures, which the camera can highlight
// in its image. A mono camera refuses all of it: its controls read "N/A" and
// are greyed out.
class CTovaneColorPage : public Page {
    Q_OBJECT
public:
    explicit CTovaneColorPage(PageContext context, QWidget* parent = nullptr);

protected:
    // Takes the area sliders' ranges from the camera, then loads.
    void OnInitDialog() override;

private:
    enum Channel { Red, Green, Blue, ChannelCount };
    // The sides of the measuring rectangle in reading order.
    enum Side { OffsetX, Width, OffsetY, Height, SideCount };

    QWidget* buildGains();
    QWidget* buildBalance();
    void declareBindings();
    void declareLoad();

    std::array<QLineEdit*, ChannelCount> m_gainEdits{};
    std::array<QSlider*, ChannelCount> m_gainSliders{};
    std::array<SliderBinding*, ChannelCount> m_gainBindings{};
    QComboBox* m_balanceMode = nullptr;
    QCheckBox* m_areaHighlight = nullptr;
    std::array<QLineEdit*, SideCount> m_areaEdits{};
    std::array<QSlider*, SideCount> m_areaSliders{};
    std::array<SliderBinding*, SideCount> m_areaBindings{};
    // Run once, at initialisation; "Refresh" does not re-read the ranges.
    LoadPlan m_areaRanges;
};
