#include "GpioPage.h"

#include "ConnectorPicture.h"
#include "Controls.h"

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

namespace {

const QStringList kDirections = {QStringLiteral("IN"), QStringLiteral("OUT")};

// Strobe and pulse times are microseconds: whole, never negative.
constexpr int kMaxMicroseconds = INT_MAX;

QLabel* unitLabel(QWidget* parent)
{
    return new QLabel(QStringLiteral("us"), parent);
}

} // namespace

GpioPage::GpioPage(PageContext context, const QStringList& sources, QWidget* parent)
    : Page(context, parent), m_sources(sources)
{
    auto* left = new QVBoxLayout;
    left->addWidget(buildOutputs());
    left->addStretch();

    auto* right = new QVBoxLayout;
    right->addLayout(makeRow({nullptr, makeRefreshButton()}));
    right->addWidget(buildInputs());
    right->addWidget(buildDirections());
    right->addStretch();

    layOutColumns(this, {left, right});

    declareBindings();
}

QWidget* GpioPage::buildOutputs()
{
    auto* rows = new QGridLayout;
    rows->addWidget(new QLabel(QStringLiteral("GPO-SOURCE"), this), 0, 1);
    for (size_t i = 0; i < m_outputs.size(); ++i) {
        OutputRow& row = m_outputs[i];
        const QString pin = QString::fromLatin1(gpio().outputs[i].pin);
        row.source = makeList(this, m_sources);
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
        box->addWidget(new QLabel(QStringLiteral("(%1)").arg(QString::fromLatin1(gpio().outputs[i].pin)), this), line, 0);
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
    for (QLabel*& level : m_inputLevels) {
        level = new QLabel(this);
        box->addWidget(level);
    }
    return makeGroup(this, QStringLiteral("GPI"), box);
}

QWidget* GpioPage::buildDirections()
{
    auto* box = new QGridLayout;
    for (size_t i = 0; i < m_directionLists.size(); ++i) {
        const GpioSettings::Direction& direction = gpio().directions[i];
        m_directionLists[i] = makeList(this, kDirections);
        m_directionOutputs[i] = &m_outputs[size_t(direction.outputs - gpio().outputs.data())];
        box->addWidget(new QLabel(QStringLiteral("Pin %1").arg(QString::fromLatin1(direction.pin)), this), int(i), 0);
        box->addWidget(m_directionLists[i], int(i), 1);
    }
    return makeGroup(this, QStringLiteral("In/Out direction"), box);
}

void GpioPage::declareBindings()
{
    GpioSettings& s = gpio();
    for (size_t i = 0; i < m_outputs.size(); ++i) {
        const OutputRow& row = m_outputs[i];
        const GpioSettings::Output& output = s.outputs[i];
        bind().combo(row.source, *output.source);
        bind().check(row.inverter, *output.inverter);
        bind().edit(row.time, *output.time).accept(0, kMaxMicroseconds);
        bind().edit(row.delay, *output.delay).accept(0, kMaxMicroseconds);
        whenChanged(*output.source, [this] { showPinRoles(); });
        whenChanged(*output.inverter, [this] { showPinRoles(); });
    }
    for (size_t k = 0; k < m_userOutputs.size(); ++k)
        bind().check(m_userOutputs[k], *s.userOutputs[k]);
    bind().edit(m_cycle, *s.pulseCycle).accept(0, kMaxMicroseconds);
    bind().edit(m_duty, *s.pulseDuty).accept(0, kMaxMicroseconds);
    for (size_t i = 0; i < m_directionLists.size(); ++i) {
        const GpioSettings::Direction& direction = s.directions[i];
        const GpioSettings::Output& outputs = *direction.outputs;
        // A new direction may change what the camera reports for the pin's outputs.
        bind()
            .combo(m_directionLists[i], *direction.mode)
            .thenRead({outputs.inverter, outputs.source, outputs.time, outputs.delay});
        whenChanged(*direction.mode, [this, i] { showDirection(i); });
    }
    bind().action(m_read, [this] { gpio().readInputs(); });
    for (size_t i = 0; i < m_inputLevels.size(); ++i) {
        const GpioSettings::Input& input = s.inputs[i];
        bind().readout(m_inputLevels[i], *input.level, QStringLiteral("GPI-Pin (%1) = ").arg(QString::fromLatin1(input.pin)));
    }
}

void GpioPage::showDirection(size_t index)
{
    const GpioSettings::Direction& direction = gpio().directions[index];
    const bool output = direction.current() == GpioSettings::kOutput;
    const OutputRow& row = *m_directionOutputs[index];
    for (QWidget* control : std::initializer_list<QWidget*>{row.inverter, row.source, row.time, row.delay})
        control->setEnabled(output);
    if (direction.mode->isUnavailable())
        m_directionLists[index]->setCurrentIndex(direction.whenFixed);
    showPinRoles();
}

void GpioPage::showPinRoles()
{
    const GpioSettings& s = gpio();
    for (const GpioSettings::Output& output : s.outputs) {
        QString signal = m_sources.value(output.source->number().value_or(-1));
        if (output.inverter->number() == 1)
            signal += signal.isEmpty() ? QStringLiteral("inverted") : QStringLiteral(", inverted");
        m_picture->setPin(output.pin.toInt(), ConnectorPicture::PinUse::Output, signal);
    }
    for (const GpioSettings::Direction& direction : s.directions) {
        if (direction.current() != GpioSettings::kOutput)
            m_picture->setPin(direction.pin.toInt(), ConnectorPicture::PinUse::Input);
    }
    for (int pin : GpioSettings::kFixedInputs)
        m_picture->setPin(pin, ConnectorPicture::PinUse::Input);
}
