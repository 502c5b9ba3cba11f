#include "TovaneShadingPage.h"

#include "CommandWords.h"
#include "Controls.h"
#include "OperationProgress.h"
#include "Link.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kPeak = 1;
constexpr int kAverage = 2;

} // namespace

CTovaneShadingPage::CTovaneShadingPage(PageContext context, QWidget* parent) : Page(context, parent)
{
    buildLayout();
    declareBindings();
}

void CTovaneShadingPage::buildLayout()
{
    auto* detectionLabel = new QLabel(QStringLiteral("Detection"), this);
    m_peak = new QPushButton(QStringLiteral("PeakMode"), this);
    m_average = new QPushButton(QStringLiteral("AverageMode"), this);
    m_patternCheck = new QCheckBox(QStringLiteral("ShadingPatternCheck"), this);
    m_slots = makeList(this, {});
    QLabel* slotsLabel = makeLabel(this, QStringLiteral("PatternSelect"), m_slots);
    m_save = new QPushButton(QStringLiteral("Save"), this);
    m_load = new QPushButton(QStringLiteral("Load"), this);
    m_correction = new QCheckBox(QStringLiteral("Shading Correction"), this);
    m_detectAndSavePeak = new QPushButton(QStringLiteral("Detect&&Save(PeakMode)"), this);
    m_detectAndSaveAverage = new QPushButton(QStringLiteral("Detect&&Save(AverageMode)"), this);
    m_progress = new OperationProgress(this);

    auto* grid = new QGridLayout;
    grid->addWidget(detectionLabel, 0, 0);
    grid->addWidget(m_peak, 0, 1);
    grid->addWidget(m_average, 0, 2);
    grid->addWidget(m_patternCheck, 1, 1, 1, 2);
    grid->addWidget(slotsLabel, 2, 0);
    grid->addWidget(m_slots, 2, 1);
    grid->addWidget(m_save, 2, 2);
    grid->addWidget(m_load, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("Max is "), this), 2, 4);
    grid->addWidget(m_correction, 3, 1, 1, 2);
    grid->addWidget(m_detectAndSavePeak, 4, 1);
    grid->addWidget(m_detectAndSaveAverage, 4, 2);
    grid->addWidget(m_progress, 5, 0, 1, 5);
    grid->setColumnStretch(5, 1);

    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addStretch();
}

void CTovaneShadingPage::declareBindings()
{
    auto& s = settingsAs<Settings>();
    bind().action(m_peak, [this] { detect(kPeak); });
    bind().action(m_average, [this] { detect(kAverage); });
    bind().action(m_detectAndSavePeak, [this] { detectAndSave(kPeak, m_detectAndSavePeak); });
    bind().action(m_detectAndSaveAverage, [this] { detectAndSave(kAverage, m_detectAndSaveAverage); });
    bind().check(m_patternCheck, *s.patternCheck);
    bind().check(m_correction, *s.correction);
    // The slot list holds 0, 1, 2 ... in order: the selected index is the slot.
    bind().numbered({m_slots}, *s.patternSlots, "%d");
    bind().button(m_save, *s.savePattern).selectedIndexOf(m_slots).disabledWhileSending();
    bind().button(m_load, *s.loadPattern).selectedIndexOf(m_slots);
}

std::optional<LongOperation::Outcome> CTovaneShadingPage::detect(int mode)
{
    RunningButton running(mode == kAverage ? m_average : m_peak);
    LongOperation operation(connection(), this);
    // A start the camera refuses is reported, and there is nothing to wait for.
    const CameraCommand& detection = *settingsAs<Settings>().detection;
    if (sendPath().command(setLine(cmd::SHADING_DETECTION, mode), detection.mode) == SetOutcome::Refused)
        return std::nullopt;
    const LongOperation::Outcome outcome = operation.pollUntil(
        cmd::SHADING_DETECTION, {.pauseMs = kPollPauseMs,
                                 .maxPolls = kMaxPolls,
                                 .beforePause = [&running](int polls) {
                                     // The seconds waited after the first poll: PeakMode(1), PeakMode(2) ...
                                     if (polls > 0)
                                         running.showProgress(QStringLiteral("%1(%2)").arg(running.caption()).arg(polls));
                                 },
                                 .progress = m_progress});
    if (outcome == LongOperation::Outcome::Stopped)
        sendPath().command(setLine(cmd::SHADING_DETECTION, 0), detection.mode); // the camera's own "stop"
    return outcome;
}

void CTovaneShadingPage::detectAndSave(int mode, QPushButton* pressed)
{
    const RunningButton running(pressed);
    // Only a pattern the camera finished detecting is stored (the page is
    // still there then); Save runs as its button does, disabled meanwhile.
    if (detect(mode) == LongOperation::Outcome::Finished)
        m_save->click();
}
