#include "BrevoCLExposurePage.h"

#include "CommandWords.h"
#include "Connection.h"
#include "Controls.h"
#include "Display.h"
#include "Link.h"
#include "Scan.h"
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

QStringList frameCounts()
{
    QStringList counts;
    for (int frames = 2; frames <= 16; ++frames)
        counts << QString::number(frames);
    return counts;
}

// These three words are set with a carriage return of their own, so the
// camera receives an empty line after the setting.
LineForValue withOwnCarriageReturn(const char* word)
{
    return [word](int value) -> std::optional<QByteArray> { return setLine(word, value) + '\r'; };
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
    declareLoad();
    pollWhileShown([this] {
        if (m_autoExposure != 0)
            m_exposureTimeBinding->show(QueryInt(connection(), cmd::EXP));
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
    m_exposureTimeBinding = &bind().edit(m_exposureTime, QStringLiteral("ExposureTime"), cmd::EXP);
    m_triggerDelayBinding = &bind().edit(m_triggerDelay, QStringLiteral("Trigger Delay"), cmd::TRG_DLY);
    m_lowerLimitBinding = &bind().edit(m_lowerLimit, QStringLiteral("Lower"), cmd::TRIGGER_RANGE_LOWERLIMIT);
    m_upperLimitBinding = &bind().edit(m_upperLimit, QStringLiteral("Upper"), cmd::TRIGGER_RANGE_UPPERLIMIT);

    bind().combo(m_autoExposureList, QStringLiteral("Auto Exposure"), cmd::AE).then([this](int index) {
        m_autoExposure = index;
    });
    bind().check(m_triggerMode, cmd::TRG_MODE);
    // Items read "7:Pin#7" or, from the camera, " 7(Pin#7)"; one that does
    // not begin with a number sends nothing.
    bind().combo(m_source, QStringLiteral("Source"), cmd::TRG_SRC).leadingNumber();
    bind().check(m_triggerPolarity, cmd::TRG_POL);
    bind().check(m_triggerControl, cmd::TRG_CTRL);
    bind()
        .combo(m_exposureModeList, QStringLiteral("EXP-MODE"), cmd::EXP_MODE)
        .line(withOwnCarriageReturn(cmd::EXP_MODE))
        .before([this](int index) { m_exposureMode = index; });
    bind().check(m_triggerInhibit, cmd::TRG_INH).line(withOwnCarriageReturn(cmd::TRG_INH));
    bind().check(m_triggerShift, cmd::TRG_SHIFT).line(withOwnCarriageReturn(cmd::TRG_SHIFT));
    bind().check(m_triggerRange, cmd::TRIGGER_RANGE);
    bind().action(m_fireSoftTrigger, [this] { fireSoftTrigger(); });

    bind().combo(m_specialMode, QStringLiteral("Special Trigger Mode"), cmd::SP_TRG_MODE).leadingNumber();
    bind().combo(m_frameCount, QStringLiteral("Number of frames"), cmd::SP_TRG_F_CNT).leadingNumber();
    bind().combo(m_specialSource, QStringLiteral("Trigger source"), cmd::SP_TRG_SRC).leadingNumber();
    bind().check(m_specialPolarity, cmd::SP_TRG_POL);
}

void CBrevoCLExposurePage::declareLoad()
{
    load()
        .number(cmd::AE,
                [this](int mode) {
                    selectIndex(m_autoExposureList, mode);
                    m_autoExposure = mode;
                })
        .number(cmd::EXP, *m_exposureTimeBinding)
        .number(cmd::TRG_DLY, *m_triggerDelayBinding)
        .check(cmd::TRG_MODE, m_triggerMode)
        .check(cmd::TRG_POL, m_triggerPolarity)
        .check(cmd::TRG_CTRL, m_triggerControl)
        // The camera's sources are " <n>(<name>)": the parenthesis right after
        // the number keeps 1 from selecting 17.
        .choices(cmd::TRG_SRC, m_source)
        .prefix(cmd::TRG_SRC, m_source, " %d(")
        .number(cmd::EXP_MODE,
                [this](int mode) {
                    selectIndex(m_exposureModeList, mode);
                    m_exposureMode = mode;
                })
        .check(cmd::TRG_INH, m_triggerInhibit)
        .check(cmd::TRG_SHIFT, m_triggerShift)
        .check(cmd::TRIGGER_RANGE, m_triggerRange)
        .number(cmd::TRIGGER_RANGE_LOWERLIMIT, *m_lowerLimitBinding)
        .number(cmd::TRIGGER_RANGE_UPPERLIMIT, *m_upperLimitBinding)
        .prefix(cmd::SP_TRG_MODE, m_specialMode, "%d:")
        .choices(cmd::SP_TRG_SRC, m_specialSource)
        .prefix(cmd::SP_TRG_SRC, m_specialSource, " %d(")
        .prefix(cmd::SP_TRG_F_CNT, m_frameCount, "%d")
        .check(cmd::SP_TRG_POL, m_specialPolarity);
}

void CBrevoCLExposurePage::fireSoftTrigger()
{
    if (m_exposureMode == 0) {
        // An edge: the camera starts the exposure itself; nothing to wait for.
        StreamLine(connection(), setLine(cmd::TRG_SOFT, 1));
        return;
    }
    SoftTriggerPulse::fire(connection(), this, m_fireSoftTrigger, SoftTriggerPulse::widthFrom(m_pulseWidth->text()));
}
