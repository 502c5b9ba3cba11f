#pragma once

#include "common/GpioPage.h"

// The "GPIO" tab of the Brevo panel: output sources and inversion per pin,
// user outputs, pulse generator, strobe per pin, pin directions, inputs (see
// GpioPage). The Brevo page reads the inputs once more after its load when
// it opens; "Refresh" reads the settings only.
class CBrevoCLGPIOPage : public GpioPage {
    Q_OBJECT
public:
    using Settings = BrevoGpioSettings;

    explicit CBrevoCLGPIOPage(PageContext context, QWidget* parent = nullptr);
};
