#include "BrevoCLShadingPage.h"

#include "Controls.h"
#include "OperationProgress.h"
#include "DialogUnits.h"
#include "Display.h"
#include "Link.h"
#include "Messages.h"
#include "RadioGroup.h"
#include "SendPath.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <climits>

namespace {

constexpr int kPeak = 1;
constexpr int kAverage = 2;

// The camera needs this long before it reports the mode it detects in.
constexpr int kModeSettleMs = 100;

const QString kStandby = QStringLiteral("Standby");
const QString kCorrectionOff = QStringLiteral("Shading Correction OFF");

} // namespace

CBrevoCLShadingPage::CBrevoCLShadingPage(PageContext context, QWidget* parent) : Page(context, parent)
{
    buildLayout();
    m_demoTimer = new PageTimer(connection(), this, [this] { demonstrationTick(); }, PageTimer::StopsWhen::PanelClosed);
    connect(m_demoTimer, &PageTimer::stoppedWithPage, this, &CBrevoCLShadingPage::stopDemonstration);
    declareBindings();
}

void CBrevoCLShadingPage::buildLayout()
{
    m_detection = new QPushButton(QStringLiteral("Detection"), this);
    m_modes = new RadioGroup(this, {{QStringLiteral("Peak Detection"), kPeak}, {QStringLiteral("Average Detection"), kAverage}});
    m_save = new QPushButton(QStringLiteral("Save"), this);
    m_slots = makeList(this, {});
    m_slots->setAccessibleName(QStringLiteral("Save slot"));
    m_detectAndSave = new QPushButton(QStringLiteral("Detect && Save"), this);
    m_correction = new QCheckBox(QStringLiteral("Correction"), this);
    m_select = new QPushButton(QStringLiteral("Select"), this);
    m_patterns = makeList(this, {});
    m_patterns->setAccessibleName(QStringLiteral("Select pattern"));
    m_demo = new QPushButton(QStringLiteral("Demo Start"), this);
    m_intervals = makeEdit(this);
    QLabel* intervalsLabel = makeLabel(this, QStringLiteral("Intervals"), m_intervals);
    m_status = new QLabel(kStandby, this);
    m_progress = new OperationProgress(this);

    auto* grid = new QGridLayout;
    grid->addWidget(m_detection, 0, 0);
    grid->addWidget(m_modes->button(0), 0, 1);
    grid->addWidget(m_modes->button(1), 0, 2);
    grid->addWidget(m_save, 1, 0);
    grid->addWidget(m_slots, 1, 1);
    grid->addWidget(m_detectAndSave, 1, 2);
    grid->addWidget(m_correction, 2, 0);
    grid->addWidget(m_select, 3, 0);
    grid->addWidget(m_patterns, 3, 1);
    grid->addWidget(m_demo, 4, 0);
    grid->addLayout(makeRow({intervalsLabel, m_intervals, new QLabel(QStringLiteral("ms"), this)}), 4, 1);
    grid->addWidget(m_status, 4, 2);
    grid->addWidget(m_progress, 5, 0, 1, 3);

    // The page is smaller than the others; its controls keep to its own
    // size in the top-left corner of the tab.
    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    column->addLayout(grid);
    column->addLayout(makeRow({nullptr, makeRefreshButton()}));
    column->addStretch();
    content->setMaximumSize(DialogUnits::standard().toPixels(384, 198));
    auto* page = new QGridLayout(this);
    page->addWidget(content, 0, 0);
    page->setColumnStretch(1, 1);
    page->setRowStretch(1, 1);
}

void CBrevoCLShadingPage::declareBindings()
{
    auto& s = settingsAs<Settings>();
    bind().check(m_correction, *s.correction).then([this](int on) { m_detection->setEnabled(on != 1); });
    bind().numbered({m_slots, m_patterns}, *s.patternSlots, "Pattern %d");
    connect(s.patternSlots, &Setting::rangeChanged, this, &CBrevoCLShadingPage::finishPatternLists);
    if (s.patternSlots->range())
        finishPatternLists();
    whenChanged(*s.patternInUse, [this] { selectPattern(); });
    bind().button(m_save, *s.savePattern).selectedIndexOf(m_slots).disabledWhileSending();
    // The last entry of the list is the camera's last detected, unsaved pattern.
    bind().action(m_select, [this, &s] {
        const int pattern = m_patterns->currentIndex();
        if (pattern < 0)
            return;
        const RunningButton running(m_select);
        sendPath().set(*s.patternInUse, pattern);
    });
    bind().action(m_detection, [this] { detect(); });
    bind().action(m_detectAndSave, [this] { detectAndSave(); });
    bind().action(m_demo, [this] { toggleDemonstration(); });
}

void CBrevoCLShadingPage::finishPatternLists()
{
    const int max = m_slots->count() - 1;
    m_patterns->addItem(QString::asprintf("Last detected %d", max + 1));
    m_slots->setCurrentIndex(0);
    selectPattern();
}

void CBrevoCLShadingPage::selectPattern()
{
    const std::optional<int> pattern = settingsAs<Settings>().patternInUse->number();
    selectIndex(m_patterns, pattern.value_or(-1));
}

void CBrevoCLShadingPage::OnInitDialog()
{
    LoadFromCamera();
    m_modes->show(kPeak);
    m_intervals->setText(QString::number(kDefaultIntervalMs));
}

bool CBrevoCLShadingPage::refusedForCorrection()
{
    Setting& correction = *settingsAs<Settings>().correction;
    pageSettings().read(correction);
    if (correction.number() != 1)
        return false;
    showMessage({.title = QStringLiteral("Detection Not Started"),
                 .text = QStringLiteral("Turn off the shading correction, and try again!")});
    return true;
}

std::optional<LongOperation::Outcome> CBrevoCLShadingPage::detect()
{
    if (refusedForCorrection())
        return std::nullopt;
    // Neither start can be pressed again while a detection runs; user
    // actions go out between its polls.
    const RunningButton running(m_detection);
    std::optional<RunningButton> alsoRunning;
    if (m_detectAndSave->isEnabled())
        alsoRunning.emplace(m_detectAndSave);
    const int mode = m_modes->checkedValue() == kAverage ? kAverage : kPeak;
    return runDetection(mode);
}

std::optional<LongOperation::Outcome> CBrevoCLShadingPage::runDetection(int mode)
{
    const CameraCommand& start = *settingsAs<Settings>().detection;
    LongOperation operation(connection(), this);
    const SetOutcome started = sendPath().command(start.line(mode), start.mode);
    if (!operation.ownerAlive())
        return LongOperation::Outcome::PageGone;
    if (started == SetOutcome::Refused) {
        // Nothing runs; a camera that refuses average detection lacks it.
        if (mode == kAverage)
            lacksAverageDetection();
        return std::nullopt;
    }
    if (mode != kAverage) {
        if (!operation.pause(kModeSettleMs))
            return operation.ending();
    } else {
        // The camera reports the mode it detects in once it has settled.
        const LongOperation::Polling once{
            .pauseMs = kModeSettleMs, .maxPolls = 1, .finished = [](int) { return true; }};
        if (const auto checked = operation.pollUntil(start.word, once); checked != LongOperation::Outcome::Finished)
            return checked;
        // A camera that lacks it still runs whatever it started.
        if (operation.lastValue() != kAverage)
            lacksAverageDetection();
    }
    const LongOperation::Outcome outcome =
        operation.pollUntil(start.word, {.pauseMs = kPollPauseMs, .maxPolls = kMaxPolls, .progress = m_progress});
    if (outcome == LongOperation::Outcome::Stopped)
        sendPath().command(start.line(0), start.mode); // the camera's own "stop"
    return outcome;
}

void CBrevoCLShadingPage::lacksAverageDetection()
{
    m_modes->buttonFor(kAverage)->setEnabled(false);
    m_modes->clear();
    showMessage({.title = QStringLiteral("Average Detection Not Supported"), .text = QStringLiteral("Command not supported!")});
}

void CBrevoCLShadingPage::detectAndSave()
{
    if (refusedForCorrection())
        return;
    const RunningButton running(m_detectAndSave);
    // Only a pattern the camera finished detecting is stored (the page is
    // still there then); Save runs as its button does, disabled meanwhile.
    if (detect() == LongOperation::Outcome::Finished)
        m_save->click();
}

void CBrevoCLShadingPage::toggleDemonstration()
{
    if (m_demoTimer->isActive())
        stopDemonstration();
    else
        startDemonstration();
}

void CBrevoCLShadingPage::startDemonstration()
{
    // An interval that is not a positive number would make the timer fire
    // without pause; nothing starts, and the user is told why.
    const QString typed = m_intervals->text();
    const std::optional<int> intervalMs = readWholeNumber(typed, 1, INT_MAX);
    markInvalidInput(m_intervals, !intervalMs);
    if (!intervalMs) {
        sendPath().rejectInput(
            QStringLiteral("Intervals: %1; the demonstration did not start").arg(whyNotWholeNumber(typed, 1, INT_MAX)));
        return;
    }
    m_demoStep = 1;
    sendPath().set(*settingsAs<Settings>().correction, 0);
    showDemonstrationState();
    m_demo->setText(QStringLiteral("Demo Stop"));
    m_demoTimer->start(*intervalMs);
}

void CBrevoCLShadingPage::stopDemonstration()
{
    m_demoTimer->stop();
    m_demo->setText(QStringLiteral("Demo Start"));
    m_status->setText(kStandby);
}

void CBrevoCLShadingPage::demonstrationTick()
{
    // Even steps switch the correction off; odd steps 1, 3, 5 load pattern 0,
    // 1, 2 and switch it on, unless the camera refused the pattern.
    auto& s = settingsAs<Settings>();
    if (m_demoStep % 2 == 0) {
        sendPath().set(*s.correction, 0);
    } else if (sendPath().set(*s.patternInUse, m_demoStep / 2) == SetOutcome::Accepted) {
        sendPath().set(*s.correction, 1);
    }
    showDemonstrationState();
    m_demoStep = (m_demoStep + 1) % 6;
}

void CBrevoCLShadingPage::showDemonstrationState()
{
    // The camera's state, which is the step's own unless the camera refused it.
    auto& s = settingsAs<Settings>();
    const std::optional<int> on = s.correction->number();
    const std::optional<int> pattern = s.patternInUse->number();
    if (!on)
        m_status->setText(QStringLiteral("Shading Correction %1").arg(kNotRead));
    else if (*on != 1)
        m_status->setText(kCorrectionOff);
    else if (pattern)
        m_status->setText(QStringLiteral("Shading Correction ON (Pattern %1)").arg(*pattern));
    else
        m_status->setText(QStringLiteral("Shading Correction ON"));
}
