#include "BrevoCLExposurePage.h"

#include "Controls.h"
#include "Link.h"
#include "SendPath.h"
#include "SoftTriggerPulse.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The trigger sources the camera usually offers; its own list replaces them
// at load.
const QStringList kTriggerSources = {"0:SoftTrigger", "7:Pin#7", "10:Pin#10", "11:Pin#11",
                                     "101:CC1",       "102:CC2", "103:CC3",   "104:CC4"};

constexpr int kDefaultPulseWidthMs = 100;

// The special trigger captures 2 to 16 frames.
QList<int> frameCountValues()
{
    QList<int> values;
    for (int frames = 2; frames <= 16; ++frames)
        values << frames;
    return values;
}

QStringList frameCounts()
{
    QStringList counts;
    for (int frames : frameCountValues())
        counts << QString::number(frames);
    return counts;
}

} // namespace

CBrevoCLExposurePage::CBrevoCLExposurePage(PageContext context, QWidget* parent) : Page(context, parent)
{
    auto* left = new QVBoxLayout;
    left->addWidget(buildExposure());
    left->addWidget(buildSpecialTrigger());
    left->addStretch();

    auto* right = new QVBoxLayout;
    right->addLayout(makeRow({nullptr, makeRefreshButton()}));
    right->addWidget(buildTrigger());
    right->addStretch();

    layOutColumns(this, {left, right});

    m_pulseWidth->setText(QString::number(kDefaultPulseWidthMs));
    declareBindings();
    // While the camera controls the exposure, the time follows it.
    pollWhileShown([this] {
        auto& s = settingsAs<Settings>();
        if (s.autoExposure->number().value_or(0) != 0)
            pageSettings().read(*s.exposureTime);
    });
}

QWidget* CBrevoCLExposurePage::buildExposure()
{
    m_autoExposureList = makeEditableList(this, {"0:OFF", "1:Once", "2:Continuous"});
    m_exposureTime = makeEdit(this);
    auto* box = new QGridLayout;
    box->addWidget(makeLabel(this, QStringLiteral("Auto Exposure"), m_autoExposureList), 0, 0);
    box->addWidget(m_autoExposureList, 0, 1);
    box->addWidget(makeLabel(this, QStringLiteral("ExposureTime"), m_exposureTime), 1, 0);
    box->addWidget(m_exposureTime, 1, 1);
    return makeGroup(this, QStringLiteral("Exposure"), box);
}

QWidget* CBrevoCLExposurePage::buildTrigger()
{
    m_triggerMode = new QCheckBox(QStringLiteral("TriggerMode"), this);
    m_source = makeEditableList(this, kTriggerSources);
    m_fireSoftTrigger = new QPushButton(QStringLiteral("Fire SoftTrigger"), this);
    m_pulseWidth = makeEdit(this);
    m_pulseWidth->setAccessibleName(QStringLiteral("SoftTrigger width"));
    m_triggerDelay = makeEdit(this);
    m_triggerPolarity = new QCheckBox(QStringLiteral("TriggerPolarity"), this);
    m_triggerControl = new QCheckBox(QStringLiteral("TriggerControl"), this);
    m_exposureModeList = makeEditableList(this, {"0:Edge", "1:PulseWidth"});
    m_triggerInhibit = new QCheckBox(QStringLiteral("Trigger Inhibit"), this);
    m_triggerShift = new QCheckBox(QStringLiteral("TriggerShift"), this);
    m_triggerRange = new QCheckBox(QStringLiteral("TriggerRange"), this);
    m_lowerLimit = makeEdit(this);
    m_upperLimit = makeEdit(this);

    auto* box = new QGridLayout;
    box->addWidget(m_triggerMode, 0, 0, 1, 3);
    box->addWidget(makeLabel(this, QStringLiteral("Source"), m_source), 1, 0);
    box->addWidget(m_source, 1, 1, 1, 2);
    box->addWidget(m_fireSoftTrigger, 2, 0);
    box->addWidget(m_pulseWidth, 2, 1);
    box->addWidget(new QLabel(QStringLiteral("ms"), this), 2, 2);
    box->addWidget(makeLabel(this, QStringLiteral("Trigger Delay"), m_triggerDelay), 3, 0);
    box->addWidget(m_triggerDelay, 3, 1);
    box->addWidget(m_triggerPolarity, 4, 0, 1, 3);
    box->addWidget(m_triggerControl, 5, 0, 1, 3);
    box->addWidget(makeLabel(this, QStringLiteral("EXP-MODE"), m_exposureModeList), 6, 0);
    box->addWidget(m_exposureModeList, 6, 1, 1, 2);
    box->addWidget(m_triggerInhibit, 7, 0, 1, 3);
    box->addWidget(m_triggerShift, 8, 0, 1, 3);
    box->addWidget(m_triggerRange, 9, 0, 1, 3);
    box->addWidget(makeLabel(this, QStringLiteral("Lower"), m_lowerLimit), 10, 0);
    box->addWidget(m_lowerLimit, 10, 1);
    box->addWidget(makeLabel(this, QStringLiteral("Upper"), m_upperLimit), 11, 0);
    box->addWidget(m_upperLimit, 11, 1);
    return makeGroup(this, QStringLiteral("Trigger"), box);
}

QWidget* CBrevoCLExposurePage::buildSpecialTrigger()
{
    m_specialMode = makeEditableList(this, {"0:OFF", "1:Bulk mode", "2:Sequential mode"});
    m_frameCount = makeEditableList(this, frameCounts());
    m_specialSource = makeEditableList(this, kTriggerSources);
    m_specialPolarity = new QCheckBox(QStringLiteral("Trigger Polarity"), this);
    auto* box = new QGridLayout;
    box->addWidget(makeLabel(this, QStringLiteral("Special Trigger Mode"), m_specialMode), 0, 0);
    box->addWidget(m_specialMode, 0, 1);
    box->addWidget(makeLabel(this, QStringLiteral("Number of frames"), m_frameCount), 1, 0);
    box->addWidget(m_frameCount, 1, 1);
    box->addWidget(makeLabel(this, QStringLiteral("Trigger source"), m_specialSource), 2, 0);
    box->addWidget(m_specialSource, 2, 1);
    box->addWidget(m_specialPolarity, 3, 0, 1, 2);
    return makeGroup(this, QStringLiteral("Special Trigger Mode"), box);
}

void CBrevoCLExposurePage::declareBindings()
{
    auto& s = settingsAs<Settings>();
    bind().combo(m_autoExposureList, *s.autoExposure);
    bind().edit(m_exposureTime, *s.exposureTime);
    bind().edit(m_triggerDelay, *s.triggerDelay);
    bind().edit(m_lowerLimit, *s.lowerLimit);
    bind().edit(m_upperLimit, *s.upperLimit);

    bind().check(m_triggerMode, *s.triggerMode);
    // The camera's sources are " <n>(<name>)": the parenthesis right after
    // the number keeps 1 from selecting 17. An item that does not begin with
    // a number sends nothing.
    bind().combo(m_source, *s.triggerSource).choicesFromCamera().leadingNumber(" %d(");
    bind().check(m_triggerPolarity, *s.triggerPolarity);
    bind().check(m_triggerControl, *s.triggerControl);
    bind().combo(m_exposureModeList, *s.exposureMode);
    bind().check(m_triggerInhibit, *s.triggerInhibit);
    bind().check(m_triggerShift, *s.triggerShift);
    bind().check(m_triggerRange, *s.triggerRange);
    bind().action(m_fireSoftTrigger, [this] { fireSoftTrigger(); });

    bind().combo(m_specialMode, *s.specialMode).leadingNumber("%d:");
    bind().combo(m_frameCount, *s.frameCount).values(frameCountValues());
    bind().combo(m_specialSource, *s.specialSource).choicesFromCamera().leadingNumber(" %d(");
    bind().check(m_specialPolarity, *s.specialPolarity);
}

void CBrevoCLExposurePage::fireSoftTrigger()
{
    auto& s = settingsAs<Settings>();
    // The exposure mode the camera holds decides: on an edge the camera
    // starts the exposure itself and nothing is awaited; in pulse-width mode
    // the trigger is held high for the typed width.
    if (s.exposureMode->number().value_or(0) == 0) {
        sendPath().command(s.softTrigger->line(1), SendMode::line());
        return;
    }
    if (const std::optional<int> widthMs = SoftTriggerPulse::widthFrom(sendPath(), m_pulseWidth))
        SoftTriggerPulse::fire(sendPath(), *s.softTrigger, this, m_fireSoftTrigger, *widthMs);
}
