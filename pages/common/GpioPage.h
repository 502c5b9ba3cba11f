#pragma once

#include "Page.h"
#include "common/GpioSettings.h"

#include <QStringList>

#include <array>

class ConnectorPicture;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// The "GPIO" tab as both families have it: which signal leaves each output
// pin (4, 6, 9, 7) and whether it is inverted, the three user outputs, the
// pulse generator, strobe time and delay per pin, the direction of the
// bidirectional pins 7 and 4, and the levels read on the inputs 7, 10, 11
// and 4. A picture of the connector shows what each pin does now.
//
// Pins 7 and 4 have their output controls live only while they are outputs;
// choosing a direction reads that pin's output values again. A camera that
// cannot switch them (it refuses GPIO-MODE) has pin 7 as an input and pin 4
// as an output, and its direction lists are greyed.
//
// The families differ in their list of output sources and in when the inputs
// are read (GpioSettings.h); each family's page passes its list.
class GpioPage : public Page {
    Q_OBJECT
protected:
    // sources: the GPO-SOURCE items; an item's index is the value the camera
    // takes for it.
    GpioPage(PageContext context, const QStringList& sources, QWidget* parent);

private:
    struct OutputRow {
        QComboBox* source = nullptr;
        QCheckBox* inverter = nullptr;
        QLineEdit* time = nullptr;
        QLineEdit* delay = nullptr;
    };

    GpioSettings& gpio() const { return settingsAs<GpioSettings>(); }

    QWidget* buildOutputs();
    QWidget* buildUserOutputs();
    QWidget* buildPulseGenerator();
    QWidget* buildStrobe();
    QWidget* buildInputs();
    QWidget* buildDirections();
    void declareBindings();

    // Enables the pin's output controls exactly when it is an output; a
    // greyed list shows what the pin is on a camera that cannot switch it.
    void showDirection(size_t index);
    void showPinRoles();

    QStringList m_sources;
    std::array<OutputRow, 4> m_outputs{};            // pins 4, 6, 9, 7
    std::array<QComboBox*, 2> m_directionLists{};    // pins 7, 4
    std::array<OutputRow*, 2> m_directionOutputs{};  // their output rows
    std::array<QCheckBox*, 3> m_userOutputs{};
    QLineEdit* m_cycle = nullptr;
    QLineEdit* m_duty = nullptr;
    QPushButton* m_read = nullptr;
    std::array<QLabel*, 4> m_inputLevels{}; // pins 7, 10, 11, 4
    ConnectorPicture* m_picture = nullptr;
};
