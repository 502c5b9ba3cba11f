#pragma once

#include "Page.h"
#include "tovane/TovaneColorSettings.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSlider;

// The "Color" tab of the Tovane panel: white balance. The automatic
// white-balance mode (off, once, continuous; a one-time balance is "1:Once"),
// the fine gains of the red, green and blue channels, and the rectangle in
// which the automatic white balance measures, which the camera can highlight
// in its image. A mono camera refuses all of it: its controls read "N/A" and
// are greyed out.
class CTovaneColorPage : public Page {
    Q_OBJECT
public:
    using Settings = TovaneColorSettings;

    explicit CTovaneColorPage(PageContext context, QWidget* parent = nullptr);

private:
    using Side = Settings::Side;
    static constexpr int kChannels = Settings::ChannelCount;
    static constexpr int kSides = Settings::SideCount;

    QWidget* buildGains();
    QWidget* buildBalance();
    void declareBindings();

    std::array<QLineEdit*, kChannels> m_gainEdits{};
    std::array<QSlider*, kChannels> m_gainSliders{};
    QComboBox* m_balanceMode = nullptr;
    QCheckBox* m_areaHighlight = nullptr;
    std::array<QLineEdit*, kSides> m_areaEdits{};
    std::array<QSlider*, kSides> m_areaSliders{};
};
