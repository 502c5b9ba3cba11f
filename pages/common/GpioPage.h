#pragma once

#include "Page.h"

#include <QByteArray>
#include <QStringList>

#include <array>
#include <memory>

class ConnectorPicture;
class EditBinding;
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
// Pins 7 and 4 have their output controls live only while they are outputs.
// A camera that cannot switch them (it refuses GPIO-MODE) has pin 7 as an
// input and pin 4 as an output, and its direction lists are greyed.
//
// The families differ in their list of output sources and in when the inputs
// are read; each family's page passes its list and decides the latter.
class GpioPage : public Page {
    Q_OBJECT
protected:
    // sources: the GPO-SOURCE items; an item's index is the value the camera
    // takes for it.
    GpioPage(PageContext context, const QStringList& sources, QWidget* parent);

    // Reads the four input levels into their labels, as "Read" does.
    void readInputs();

private:
    struct OutputRow {
        QByteArray pin;
        QComboBox* source = nullptr;
        QCheckBox* inverter = nullptr;
        QLineEdit* time = nullptr;
        QLineEdit* delay = nullptr;
        EditBinding* timeBinding = nullptr;
        EditBinding* delayBinding = nullptr;
    };
    struct DirectionRow {
        QByteArray pin;
        OutputRow* outputs = nullptr;
        int directionWhenFixed = 0; // what the pin is on a camera that cannot switch it
        int direction = 0;          // 0 input, 1 output: as last read or chosen
        QComboBox* list = nullptr;
        std::unique_ptr<LoadPlan> outputReads;
    };

    QWidget* buildOutputs(const QStringList& sources);
    QWidget* buildUserOutputs();
    QWidget* buildPulseGenerator();
    QWidget* buildStrobe();
    QWidget* buildInputs();
    QWidget* buildDirections();
    void declareBindings();
    void declareLoad();

    // Enables the pin's output controls exactly when it is an output, then
    // reads its inversion, source, strobe time and delay back.
    void refreshOutputs(DirectionRow& row, int direction);
    void showPinRoles();

    std::array<OutputRow, 4> m_outputs;       // pins 4, 6, 9, 7
    std::array<DirectionRow, 2> m_directions; // pins 7, 4
    std::array<QCheckBox*, 3> m_userOutputs{};
    QLineEdit* m_cycle = nullptr;
    QLineEdit* m_duty = nullptr;
    EditBinding* m_cycleBinding = nullptr;
    EditBinding* m_dutyBinding = nullptr;
    QPushButton* m_read = nullptr;
    std::array<QLabel*, 4> m_inputLevels{}; // pins 7, 10, 11, 4
    LoadPlan m_inputReads;
    ConnectorPicture* m_picture = nullptr;
};
