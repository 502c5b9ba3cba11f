#include "BrevoCLShadingPage.h"

#include "CommandWords.h"
#include "Controls.h"
#include "DialogUnits.h"
#include "Display.h"
#include "Link.h"
#include "Messages.h"
#include "RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int kPeak = 1;
constexpr int kAverage = 2;

// Every command of the page waits this long for its answer; starting a
// detection waits less.
constexpr double kTimeoutSeconds = 20.0;
constexpr double kDetectionStartTimeoutSeconds = 3.0;
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
    declareLoad();
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
    bind().check(m_correction, cmd::SHADING_CORRECTION)
        .send(SendMode::transact(kTimeoutSeconds))
        .then([this](int) { m_detection->setEnabled(!m_correction->isChecked()); });
    bind().button(m_save, cmd::SHADING_PATTERN_SAVE)
        .selectedIndexOf(m_slots)
        .send(SendMode::transact(kTimeoutSeconds))
        .disabledWhileSending();
    // The last entry of the list is the camera's last detected, unsaved pattern.
    bind().button(m_select, cmd::SHADING_PATTERN_LOAD)
        .selectedIndexOf(m_patterns)
        .send(SendMode::transact(kTimeoutSeconds))
        .disabledWhileSending();
    bind().action(m_detection, [this] { detect(); });
    bind().action(m_detectAndSave, [this] { detectAndSave(); });
    bind().action(m_demo, [this] { toggleDemonstration(); });
}

void CBrevoCLShadingPage::declareLoad()
{
    load()
        .check(cmd::SHADING_CORRECTION, m_correction)
        .number(cmd::SHADING_PATTERN_LOAD, [this](int pattern) { m_patternInUse = pattern; })
        .numbered(cmd::SHADING_PATTERN_SAVE, {m_slots, m_patterns}, "Pattern %d", [this](int max) {
            finishPatternLists(max);
        });
}

void CBrevoCLShadingPage::finishPatternLists(int max)
{
    m_patterns->addItem(QString::asprintf("Last detected %d", max + 1));
    m_slots->setCurrentIndex(0);
    selectIndex(m_patterns, m_patternInUse);
}

void CBrevoCLShadingPage::OnInitDialog()
{
    LoadFromCamera();
    m_modes->show(kPeak);
    m_intervals->setText(QString::number(kDefaultIntervalMs));
}

bool CBrevoCLShadingPage::refusedForCorrection()
{
    if (QueryInt(connection(), cmd::SHADING_CORRECTION) != 1)
        return false;
    showMessage(QStringLiteral("Turn off the shading correction, and try again!"));
    return true;
}

std::optional<LongOperation::Outcome> CBrevoCLShadingPage::detect()
{
    if (refusedForCorrection())
        return std::nullopt;
    const RunningButton running(m_detection);
    if (m_status->text() == LongOperation::notFinishedText())
        m_status->setText(kStandby);
    const LongOperation::Outcome outcome = runDetection(m_modes->checkedValue() == kAverage ? kAverage : kPeak);
    if (outcome == LongOperation::Outcome::GaveUp)
        m_status->setText(LongOperation::notFinishedText());
    return outcome;
}

LongOperation::Outcome CBrevoCLShadingPage::runDetection(int mode)
{
    LongOperation operation(connection(), this);
    Transact(connection(), setLine(cmd::SHADING_DETECTION, mode), kDetectionStartTimeoutSeconds);
    if (!operation.pause(kModeSettleMs))
        return operation.ending();
    if (mode == kAverage && QueryInt(connection(), cmd::SHADING_DETECTION) != kAverage) {
        // The camera lacks average detection; it still runs whatever it started.
        m_modes->buttonFor(kAverage)->setEnabled(false);
        m_modes->clear();
        showMessage(QStringLiteral("Command not supported!"));
    }
    return operation.pollUntil(cmd::SHADING_DETECTION, {.pauseMs = kPollPauseMs, .maxPolls = kMaxPolls});
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
    // without pause; nothing starts.
    const std::optional<int> intervalMs = readWholeNumber(m_intervals->text());
    if (!intervalMs || *intervalMs <= 0)
        return;
    m_demoStep = 1;
    m_correction->setChecked(false);
    Transact(connection(), setLine(cmd::SHADING_CORRECTION, 0), kTimeoutSeconds);
    m_status->setText(kCorrectionOff);
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
    // 1, 2 and switch it on. The answers are not examined.
    if (m_demoStep % 2 == 0) {
        Transact(connection(), setLine(cmd::SHADING_CORRECTION, 0), kTimeoutSeconds);
        m_status->setText(kCorrectionOff);
    } else {
        const int pattern = m_demoStep / 2;
        Transact(connection(), setLine(cmd::SHADING_PATTERN_LOAD, pattern), kTimeoutSeconds);
        Transact(connection(), setLine(cmd::SHADING_CORRECTION, 1), kTimeoutSeconds);
        m_status->setText(QStringLiteral("Shading Correction ON (Pattern %1)").arg(pattern));
    }
    m_demoStep = (m_demoStep + 1) % 6;
}
