#pragma once

#include "Catalogue.h"

#include <array>

// The "GPIO" page as both families have it: which signal leaves each output
// pin (4, 6, 9, 7) and whether it is inverted, the strobe time and delay per
// pin, the three user outputs, the pulse generator, the direction of the
// bidirectional pins 7 and 4, and the levels of the inputs 7, 10, 11 and 4.
//
// A camera that cannot switch pins 7 and 4 (it refuses GPIO-MODE) has pin 7
// as an input and pin 4 as an output. The input levels are only shown, read
// when the user asks (and, on a Brevo camera, once when the page opens).
class GpioSettings : public PageSettings {
    Q_OBJECT
public:
    // The settings of one output pin.
    struct Output {
        QByteArray pin;
        Setting* source = nullptr;   // GPO-SRC: the index of the signal
        Setting* inverter = nullptr; // GPO-INV: 1 inverted
        Setting* time = nullptr;     // STROBE-TIME, microseconds
        Setting* delay = nullptr;    // STROBE-DELAY, microseconds
    };
    // A pin that is an input or an output as its direction says.
    struct Direction {
        QByteArray pin;
        Output* outputs = nullptr;
        Setting* mode = nullptr; // GPIO-MODE: 0 input, 1 output
        int whenFixed = 0;       // what the pin is on a camera that cannot switch it
        // 0 input, 1 output: as the camera last gave it, or whenFixed.
        int current() const;
    };
    struct Input {
        QByteArray pin;
        Setting* level = nullptr;
    };

    static constexpr int kInput = 0;
    static constexpr int kOutput = 1;

    std::array<Output, 4> outputs;       // pins 4, 6, 9, 7
    std::array<Direction, 2> directions; // pins 7, 4
    std::array<Setting*, 3> userOutputs{};
    Setting* pulseCycle = nullptr;
    Setting* pulseDuty = nullptr;
    std::array<Input, 4> inputs; // pins 7, 10, 11, 4

    // The pins that are inputs whatever the camera's directions.
    static constexpr std::array<int, 2> kFixedInputs = {10, 11};

    // Reads the four input levels, as "Read" does.
    void readInputs();

protected:
    // readInputsWhenOpened: the first load reads the inputs after the
    // settings ("Refresh" does not).
    GpioSettings(Connection& connection, const QString& title, bool readInputsWhenOpened);

private:
    bool m_inputsRead = false;
};

// A Brevo camera's page reads the inputs when it opens.
class BrevoGpioSettings : public GpioSettings {
public:
    BrevoGpioSettings(Connection& connection, const QString& title, const CatalogueContext&)
        : GpioSettings(connection, title, true)
    {
    }
};

// A Tovane camera's page reads the inputs only when the user presses "Read".
class TovaneGpioSettings : public GpioSettings {
public:
    TovaneGpioSettings(Connection& connection, const QString& title, const CatalogueContext&)
        : GpioSettings(connection, title, false)
    {
    }
};
