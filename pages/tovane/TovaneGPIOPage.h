#pragma once

#include "common/GpioPage.h"

// The "GPIO" tab of the Tovane panel: output sources and inversion per pin,
// user outputs, pulse generator, strobe per pin, pin directions, inputs (see
// GpioPage). The inputs are read only when the user presses "Read".
class CTovaneGPIOPage : public GpioPage {
    Q_OBJECT
public:
    using Settings = TovaneGpioSettings;

    explicit CTovaneGPIOPage(PageContext context, QWidget* parent = nullptr);
};
