#pragma once

#include "Catalogue.h"

#include <array>

// The "Color" page of a Tovane camera: the automatic white balance's mode,
// the fine gains of the red, green and blue channels, and the rectangle in
// which the white balance measures, which the camera can highlight in its
// image. A mono camera lacks all of them.
class TovaneColorSettings : public PageSettings {
    Q_OBJECT
public:
    TovaneColorSettings(Connection& connection, const QString& title, const CatalogueContext& context);

    enum Channel { Red, Green, Blue, ChannelCount };
    // The sides of the measuring rectangle in the order the camera is asked
    // for them.
    enum Side { Width, Height, OffsetX, OffsetY, SideCount };

    Setting* balanceMode = nullptr;
    std::array<Setting*, ChannelCount> gains{};
    Setting* areaHighlight = nullptr;
    std::array<Setting*, SideCount> area{};

private:
    bool m_rangesRead = false;
};
