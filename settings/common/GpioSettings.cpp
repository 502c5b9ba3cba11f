#include "GpioSettings.h"

#include "CommandWords.h"

namespace {

const char* const kOutputPins[] = {"4", "6", "9", "7"};
// The outputs the load reads in its first part: pin 7's are read only
// together with its direction.
constexpr size_t kOutputsReadFirst = 3;

// The bidirectional pins: their output row, and what they are on a camera
// that cannot switch them.
struct BidirectionalPin {
    const char* pin;
    size_t output;
    int whenFixed;
};
const BidirectionalPin kBidirectionalPins[] = {{"7", 3, GpioSettings::kInput}, {"4", 0, GpioSettings::kOutput}};

const char* const kInputPins[] = {"7", "10", "11", "4"};

} // namespace

int GpioSettings::Direction::current() const
{
    return mode->number().value_or(whenFixed) == kOutput ? kOutput : kInput;
}

// In the order the camera is read: the pulse generator, the sources,
// inversions, user outputs and strobes of pins 4, 6 and 9, then for pins 7
// and 4 the direction and that pin's four output values (pin 4's a second
// time), whatever the direction.
GpioSettings::GpioSettings(Connection& connection, const QString& title, bool readInputsWhenOpened)
    : PageSettings(connection, title)
{
    pulseCycle = &number(cmd::PULSE_CYCLE, QStringLiteral("Cycle"));
    pulseDuty = &number(cmd::PULSE_DUTY, QStringLiteral("Duty"));

    for (size_t i = 0; i < outputs.size(); ++i) {
        Output& output = outputs[i];
        output.pin = kOutputPins[i];
        const QString pin = QString::fromLatin1(output.pin);
        output.source = &declare(cmd::GPO_SRC, QStringLiteral("GPO-SOURCE (%1)").arg(pin)).indexed(output.pin);
        output.inverter = &declare(cmd::GPO_INV, QStringLiteral("Inverter(%1)").arg(pin)).indexed(output.pin);
        output.time = &declare(cmd::STROBE_TIME, QStringLiteral("Time (%1)").arg(pin)).indexed(output.pin);
        output.delay = &declare(cmd::STROBE_DELAY, QStringLiteral("Delay (%1)").arg(pin)).indexed(output.pin);
    }
    for (size_t i = 0; i < kOutputsReadFirst; ++i)
        readAt(*outputs[i].source);
    for (size_t i = 0; i < kOutputsReadFirst; ++i)
        readAt(*outputs[i].inverter);
    for (size_t k = 0; k < userOutputs.size(); ++k) {
        const QByteArray output = QByteArray::number(qulonglong(k + 1));
        userOutputs[k] = &declare(cmd::USER_OUTPUT, QStringLiteral("UserOutput %1").arg(k + 1)).indexed(output);
        readAt(*userOutputs[k]);
    }
    for (size_t i = 0; i < kOutputsReadFirst; ++i) {
        readAt(*outputs[i].time);
        readAt(*outputs[i].delay);
    }

    for (size_t i = 0; i < directions.size(); ++i) {
        Direction& direction = directions[i];
        direction.pin = kBidirectionalPins[i].pin;
        direction.outputs = &outputs[kBidirectionalPins[i].output];
        direction.whenFixed = kBidirectionalPins[i].whenFixed;
        direction.mode = &optionalNumber(cmd::GPIO_MODE, QStringLiteral("Pin %1").arg(QString::fromLatin1(direction.pin)))
                              .indexed(direction.pin);
        for (Setting* output : {direction.outputs->inverter, direction.outputs->source, direction.outputs->time,
                                direction.outputs->delay})
            readAt(*output);
    }

    for (size_t i = 0; i < inputs.size(); ++i) {
        inputs[i].pin = kInputPins[i];
        inputs[i].level = &declare(cmd::GPI, QStringLiteral("GPI-Pin (%1)").arg(QString::fromLatin1(kInputPins[i])))
                               .indexed(inputs[i].pin)
                               .readOnly();
    }
    if (readInputsWhenOpened) {
        step([this] {
            if (m_inputsRead)
                return;
            m_inputsRead = true;
            readInputs();
        });
    }
}

void GpioSettings::readInputs()
{
    for (const Input& input : inputs)
        read(*input.level);
}
