#include "GpioPage.h"

#include "CommandWords.h"
#include "ConnectorPicture.h"
#include "Controls.h"
#include "Display.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <climits>
#include <span>

namespace {

// The output pins in the order of their rows, and the pins whose outputs the
// load reads directly: pin 7's are read only together with its direction.
const char* const kOutputPins[] = {"4", "6", "9", "7"};
constexpr size_t kRowsLoadedDirectly = 3;

// The input pins and how their labels read before and after a read.
struct InputPin {
    const char* pin;
    const char* unread;
    const char* format;
};
const InputPin kInputPins[] = {
    {"7", "GPI-Pin (7) =    ", "GPI-Pin (7) = %d"},
    {"10", "GPI-Pin (10) =    ", "GPI-Pin (10) = %d"},
    {"11", "GPI-Pin (11) =    ", "GPI-Pin (11) = %d"},
    {"4", "GPI-Pin (4) =    ", "GPI-Pin (4) = %d"},
};
// Inputs only, whatever the camera's directions.
const int kFixedInputs[] = {10, 11};

// The bidirectional pins: their output row, and what they are on a camera
// that cannot switch them.
struct BidirectionalPin {
    const char* pin;
    size_t outputRow;
    int directionWhenFixed;
};
const BidirectionalPin kBidirectionalPins[] = {{"7", 3, 0}, {"4", 0, 1}};

constexpr int kOutput = 1;
const QStringList kDirections = {QStringLiteral("IN"), QStringLiteral("OUT")};

// Strobe and pulse times are microseconds: whole, never negative.
constexpr int kMaxMicroseconds = INT_MAX;

QByteArray withIndex(const char* word, const QByteArray& index)
{
    return QByteArray(word) + ' ' + index;
}

QLabel* unitLabel(QWidget* parent)
{
    return new QLabel(QStringLiteral("us"), parent);
}

} // namespace

GpioPage::GpioPage(PageContext context, const QStringList& sources, QWidget* parent)
    : Page(context, parent), m_inputReads(context.connection)
{
    for (size_t i = 0; i < m_directions.size(); ++i) {
        DirectionRow& row = m_directions[i];
        row.pin = kBidirectionalPins[i].pin;
        row.outputs = &m_outputs[kBidirectionalPins[i].outputRow];
        row.directionWhenFixed = kBidirectionalPins[i].directionWhenFixed;
        row.direction = row.directionWhenFixed;
        row.outputReads = std::make_unique<LoadPlan>(context.connection);
    }

    auto* left = new QVBoxLayout;
    left->addWidget(buildOutputs(sources));
    left->addStretch();

    auto* right = new QVBoxLayout;
    right->addLayout(makeRow({nullptr, makeRefreshButton()}));
    right->addWidget(buildInputs());
    right->addWidget(buildDirections());
    right->addStretch();

    layOutColumns(this, {left, right});

    declareBindings();
    declareLoad();
    for (const OutputRow& row : m_outputs) {
        connect(row.source, &QComboBox::currentIndexChanged, this, &GpioPage::showPinRoles);
        connect(row.inverter, &QCheckBox::toggled, this, &GpioPage::showPinRoles);
    }
    showPinRoles();
}

QWidget* GpioPage::buildOutputs(const QStringList& sources)
{
    auto* rows = new QGridLayout;
    rows->addWidget(new QLabel(QStringLiteral("GPO-SOURCE"), this), 0, 1);
    for (size_t i = 0; i < m_outputs.size(); ++i) {
        OutputRow& row = m_outputs[i];
        row.pin = kOutputPins[i];
        const QString pin = QString::fromLatin1(row.pin);
        row.source = makeList(this, sources);
        row.inverter = new QCheckBox(QStringLiteral("Inverter(%1)").arg(pin), this);
        const int line = int(i) + 1;
        rows->addWidget(new QLabel(QStringLiteral("(%1)").arg(pin), this), line, 0);
        rows->addWidget(row.source, line, 1);
        rows->addWidget(row.inverter, line, 2);
    }
    m_picture = new ConnectorPicture(this);

    auto* top = new QHBoxLayout;
    top->addLayout(rows);
    top->addWidget(m_picture, 1);

    auto* groups = new QHBoxLayout;
    groups->addWidget(buildUserOutputs());
    groups->addWidget(buildPulseGenerator());
    groups->addWidget(buildStrobe());

    auto* box = new QVBoxLayout;
    box->addLayout(top);
    box->addLayout(groups);
    return makeGroup(this, QStringLiteral("GPO"), box);
}

QWidget* GpioPage::buildUserOutputs()
{
    auto* box = new QVBoxLayout;
    for (size_t k = 0; k < m_userOutputs.size(); ++k) {
        m_userOutputs[k] = new QCheckBox(QStringLiteral("UserOutput %1").arg(k + 1), this);
        box->addWidget(m_userOutputs[k]);
    }
    box->addStretch();
    return makeGroup(this, QStringLiteral("UserOutput"), box);
}

QWidget* GpioPage::buildPulseGenerator()
{
    m_cycle = makeEdit(this);
    m_duty = makeEdit(this);
    auto* box = new QGridLayout;
    box->addWidget(makeLabel(this, QStringLiteral("Cycle"), m_cycle), 0, 0);
    box->addWidget(m_cycle, 0, 1);
    box->addWidget(unitLabel(this), 0, 2);
    box->addWidget(makeLabel(this, QStringLiteral("Duty"), m_duty), 1, 0);
    box->addWidget(m_duty, 1, 1);
    box->addWidget(unitLabel(this), 1, 2);
    box->setRowStretch(2, 1);
    return makeGroup(this, QStringLiteral("Pulse Generator"), box);
}

QWidget* GpioPage::buildStrobe()
{
    auto* box = new QGridLayout;
    box->addWidget(new QLabel(QStringLiteral("Time"), this), 0, 1);
    box->addWidget(new QLabel(QStringLiteral("Delay"), this), 0, 3);
    for (size_t i = 0; i < m_outputs.size(); ++i) {
        OutputRow& row = m_outputs[i];
        row.time = makeEdit(this);
        row.delay = makeEdit(this);
        const int line = int(i) + 1;
        box->addWidget(new QLabel(QStringLiteral("(%1)").arg(QString::fromLatin1(row.pin)), this), line, 0);
        box->addWidget(row.time, line, 1);
        box->addWidget(unitLabel(this), line, 2);
        box->addWidget(row.delay, line, 3);
        box->addWidget(unitLabel(this), line, 4);
    }
    return makeGroup(this, QStringLiteral("Strobe"), box);
}

QWidget* GpioPage::buildInputs()
{
    m_read = new QPushButton(QStringLiteral("Read"), this);
    auto* box = new QVBoxLayout;
    box->addWidget(m_read, 0, Qt::AlignLeft);
    for (size_t i = 0; i < m_inputLevels.size(); ++i) {
        m_inputLevels[i] = new QLabel(QString::fromLatin1(kInputPins[i].unread), this);
        box->addWidget(m_inputLevels[i]);
    }
    return makeGroup(this, QStringLiteral("GPI"), box);
}

QWidget* GpioPage::buildDirections()
{
    auto* box = new QGridLayout;
    for (size_t i = 0; i < m_directions.size(); ++i) {
        DirectionRow& row = m_directions[i];
        row.list = makeList(this, kDirections);
        box->addWidget(new QLabel(QStringLiteral("Pin %1").arg(QString::fromLatin1(row.pin)), this), int(i), 0);
        box->addWidget(row.list, int(i), 1);
    }
    return makeGroup(this, QStringLiteral("In/Out direction"), box);
}

void GpioPage::declareBindings()
{
    for (OutputRow& row : m_outputs) {
        const QString pin = QString::fromLatin1(row.pin);
        bind().combo(row.source, QStringLiteral("GPO-SOURCE (%1)").arg(pin), cmd::GPO_SRC).indexed(row.pin);
        bind().check(row.inverter, cmd::GPO_INV).indexed(row.pin);
        row.timeBinding = &bind()
                               .edit(row.time, QStringLiteral("Time (%1)").arg(pin), cmd::STROBE_TIME)
                               .indexed(row.pin)
                               .accept(0, kMaxMicroseconds);
        row.delayBinding = &bind()
                                .edit(row.delay, QStringLiteral("Delay (%1)").arg(pin), cmd::STROBE_DELAY)
                                .indexed(row.pin)
                                .accept(0, kMaxMicroseconds);
    }
    for (size_t k = 0; k < m_userOutputs.size(); ++k)
        bind().check(m_userOutputs[k], cmd::USER_OUTPUT).indexed(QByteArray::number(qulonglong(k + 1)));
    m_cycleBinding = &bind().edit(m_cycle, QStringLiteral("Cycle"), cmd::PULSE_CYCLE).accept(0, kMaxMicroseconds);
    m_dutyBinding = &bind().edit(m_duty, QStringLiteral("Duty"), cmd::PULSE_DUTY).accept(0, kMaxMicroseconds);
    for (DirectionRow& row : m_directions) {
        // The output block follows the direction the list shows afterwards.
        bind()
            .combo(row.list, QStringLiteral("Pin %1").arg(QString::fromLatin1(row.pin)), cmd::GPIO_MODE)
            .indexed(row.pin)
            .then([this, &row](int) { refreshOutputs(row, row.list->currentIndex()); });
    }
    bind().action(m_read, [this] { readInputs(); });
}

void GpioPage::declareLoad()
{
    load().number(cmd::PULSE_CYCLE, *m_cycleBinding).number(cmd::PULSE_DUTY, *m_dutyBinding);
    const auto loadedDirectly = std::span(m_outputs).first(kRowsLoadedDirectly);
    for (const OutputRow& row : loadedDirectly)
        load().index(withIndex(cmd::GPO_SRC, row.pin), row.source);
    for (const OutputRow& row : loadedDirectly)
        load().check(withIndex(cmd::GPO_INV, row.pin), row.inverter);
    for (size_t k = 0; k < m_userOutputs.size(); ++k)
        load().check(withIndex(cmd::USER_OUTPUT, QByteArray::number(qulonglong(k + 1))), m_userOutputs[k]);
    for (const OutputRow& row : loadedDirectly) {
        load()
            .number(withIndex(cmd::STROBE_TIME, row.pin), *row.timeBinding)
            .number(withIndex(cmd::STROBE_DELAY, row.pin), *row.delayBinding);
    }

    for (DirectionRow& row : m_directions) {
        const OutputRow& outputs = *row.outputs;
        row.outputReads->check(withIndex(cmd::GPO_INV, row.pin), outputs.inverter)
            .index(withIndex(cmd::GPO_SRC, row.pin), outputs.source)
            .number(withIndex(cmd::STROBE_TIME, row.pin), *outputs.timeBinding)
            .number(withIndex(cmd::STROBE_DELAY, row.pin), *outputs.delayBinding);
        load().optional(
            withIndex(cmd::GPIO_MODE, row.pin),
            [this, &row](int direction) {
                row.list->setEnabled(true);
                selectIndex(row.list, direction);
                refreshOutputs(row, direction);
            },
            [this, &row] {
                // The greyed list shows what the pin is on such a camera.
                row.list->setEnabled(false);
                selectIndex(row.list, row.directionWhenFixed);
                refreshOutputs(row, row.directionWhenFixed);
            });
    }

    for (size_t i = 0; i < m_inputLevels.size(); ++i)
        m_inputReads.number(withIndex(cmd::GPI, kInputPins[i].pin), m_inputLevels[i], printedAs(kInputPins[i].format));
}

void GpioPage::readInputs()
{
    m_inputReads.run();
}

void GpioPage::refreshOutputs(DirectionRow& row, int direction)
{
    row.direction = direction;
    const bool output = direction == kOutput;
    const OutputRow& outputs = *row.outputs;
    for (QWidget* control : std::initializer_list<QWidget*>{outputs.inverter, outputs.source, outputs.time, outputs.delay})
        control->setEnabled(output);
    row.outputReads->run();
    showPinRoles();
}

void GpioPage::showPinRoles()
{
    for (const OutputRow& row : m_outputs) {
        QString signal = row.source->currentText();
        if (row.inverter->isChecked())
            signal += signal.isEmpty() ? QStringLiteral("inverted") : QStringLiteral(", inverted");
        m_picture->setPin(row.pin.toInt(), ConnectorPicture::PinUse::Output, signal);
    }
    for (const DirectionRow& row : m_directions) {
        if (row.direction != kOutput)
            m_picture->setPin(row.pin.toInt(), ConnectorPicture::PinUse::Input);
    }
    for (int pin : kFixedInputs)
        m_picture->setPin(pin, ConnectorPicture::PinUse::Input);
}
