#include "BrevoCLGainPage.h"

#include "Connection.h"
#include "Controls.h"
#include "DialogUnits.h"
#include "Display.h"
#include "Link.h"
#include "SendPath.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kGainMax = 502;
// 256 is a colour gain of one.
constexpr int kColourMin = 256;
constexpr int kColourMax = 4095;
constexpr int kBlackLevelTrimMin = -128;
constexpr int kBlackLevelTrimMax = 127;
constexpr int kBlackLevelMax = 1023;
constexpr int kTargetLevelMax = 16393;
// A black-level auto balance that runs continuously owns the black levels.
constexpr int kContinuous = 2;

// The white balance is then done by the application on a software-triggered frame.
constexpr int kWhiteBalanceByApp = 3;
constexpr int kTriggerSettleMs = 100;

const QStringList kAutoModes = {QStringLiteral("0:OFF"), QStringLiteral("1:Once"), QStringLiteral("2:Continuous")};
const QStringList kWhiteBalanceModes = {QStringLiteral("0:OFF"), QStringLiteral("1:Once"), QStringLiteral("2:Undefined"),
                                        QStringLiteral("3:ByApp")};

const char* const kRowCaptions[] = {"Gain-fine", "BlackLevel", "RGain-fine", "GGain-fine", "BGain-fine"};
const char* const kGroupTitles[] = {"Common/tap1", "Right/tap2", "tap3", "tap4"};

// 0.0359 dB per fine gain step.
const Format kGainDecibels = scaledBy(0.0359, "%3.2lfdB");

// A colour gain has no decibel value at 0 or below (the logarithm is not
// finite there); the read-out then keeps what it showed.
QString colourDecibels(int value)
{
    if (value <= 0)
        return {};
    return QString::asprintf("%3.2lfdB", 20.0 * std::log10(value / double(kColourMin)));
}

// The name a row's controls are found by: the row's caption, preceded by the
// group's title in the tap groups that share it ("Right/tap2 Gain-fine").
// The first group's title changes with the mode, so its rows go by caption.
QString captionOf(int group, int row)
{
    const QString name = QString::fromLatin1(kRowCaptions[row]);
    return group == 0 ? name : QStringLiteral("%1 %2").arg(QString::fromLatin1(kGroupTitles[group]), name);
}

} // namespace

CBrevoCLGainPage::CBrevoCLGainPage(PageContext context, QWidget* parent) : Page(context, parent)
{
    auto* groups = new QGridLayout;
    for (int group = 0; group < kGroupCount; ++group)
        groups->addWidget(buildGroup(group), group / 2, group % 2);

    auto* page = new QVBoxLayout(this);
    page->addLayout(buildAutomaticControls());
    page->addLayout(groups);
    page->addStretch();

    pollWhileShown([this] { pollAutomaticControls(); });
    declareBindings();
}

QLayout* CBrevoCLGainPage::buildAutomaticControls()
{
    m_individualBox = new QCheckBox(QStringLiteral("Individual Control"), this);
    m_agc = makeEditableList(this, kAutoModes);
    m_blackLevelAuto = makeEditableList(this, kAutoModes);
    m_targetLevel = makeSlider(this, 0, kTargetLevelMax, 1);
    m_targetLevel->setMinimumWidth(DialogUnits::standard().toPixelsX(120));
    m_awb = makeEditableList(this, kWhiteBalanceModes);

    auto* grid = new QGridLayout;
    grid->addWidget(makeLabel(this, QStringLiteral("Auto Gain Control"), m_agc), 0, 0);
    grid->addWidget(m_agc, 0, 1);
    grid->addWidget(makeLabel(this, QStringLiteral("Black Level Auto Balance"), m_blackLevelAuto), 0, 2);
    grid->addWidget(m_blackLevelAuto, 0, 3);
    grid->addWidget(makeLabel(this, QStringLiteral("Target Level"), m_targetLevel), 1, 0);
    grid->addWidget(m_targetLevel, 1, 1);
    grid->addWidget(makeLabel(this, QStringLiteral("Auto White Balance"), m_awb), 1, 2);
    grid->addWidget(m_awb, 1, 3);
    grid->setColumnStretch(4, 1);

    auto* column = new QVBoxLayout;
    column->addLayout(makeRow({m_individualBox, nullptr, makeRefreshButton()}));
    column->addLayout(grid);
    return column;
}

QGroupBox* CBrevoCLGainPage::buildGroup(int group)
{
    TapGroup& tap = m_groups[group];
    auto* grid = new QGridLayout;
    for (int row = 0; row < kRowCount; ++row) {
        TapRow& controls = tap.rows[row];
        const bool gain = row == Settings::GainRow;
        const bool blackLevel = row == Settings::BlackLevelRow;
        const int min = gain || blackLevel ? 0 : kColourMin;
        const int max = gain ? kGainMax : blackLevel ? kBlackLevelMax : kColourMax;
        controls.slider = makeSlider(this, min, max, 1);
        controls.slider->setMinimumWidth(DialogUnits::standard().toPixelsX(90));
        controls.edit = makeEdit(this);
        controls.edit->setMaximumWidth(controls.edit->minimumWidth());
        grid->addWidget(makeLabel(this, QString::fromLatin1(kRowCaptions[row])), row, 0);
        grid->addWidget(controls.slider, row, 1);
        grid->addWidget(controls.edit, row, 2);
        if (!blackLevel) {
            controls.decibels = new QLabel(this);
            controls.decibels->setMinimumWidth(controls.decibels->fontMetrics().horizontalAdvance(QStringLiteral("-00.00dB")));
            controls.decibels->setAccessibleName(captionOf(group, row) + QStringLiteral(" dB"));
            grid->addWidget(controls.decibels, row, 3);
        }
    }
    grid->setColumnStretch(1, 1);
    tap.box = makeGroup(this, QString::fromLatin1(kGroupTitles[group]), grid);
    if (group != 0) {
        // The first group keeps its place and size whichever groups are shown.
        QSizePolicy policy = tap.box->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        tap.box->setSizePolicy(policy);
        tap.box->hide();
    }
    return tap.box;
}

void CBrevoCLGainPage::declareBindings()
{
    auto& s = settingsAs<Settings>();
    for (int group = 0; group < kGroupCount; ++group) {
        for (int row = 0; row < kRowCount; ++row) {
            TapRow& controls = m_groups[group].rows[row];
            const QString caption = captionOf(group, row);
            Setting& setting = s.rowSetting(group, Row(row));
            // Both write without waiting for the camera.
            controls.bindings << &bind().slider(controls.slider, setting, caption);
            controls.bindings << &bind().edit(controls.edit, setting, caption).send(SendMode::line());
            if (row == Settings::GainRow)
                controls.bindings << &bind().readout(controls.decibels, setting, kGainDecibels);
            else if (row != Settings::BlackLevelRow)
                controls.bindings << &bind().readout(controls.decibels, setting, Format(colourDecibels));
        }
    }
    bind().slider(m_targetLevel, *s.targetLevel);

    bind().combo(m_agc, *s.gainAuto).send(SendMode::line()).then([this](int mode) {
        if (mode != 0)
            polling()->start();
    });
    bind().combo(m_blackLevelAuto, *s.blackLevelAuto).send(SendMode::line());
    whenChanged(*s.blackLevelAuto, [this] { showBlackLevelsOfMode(); });
    bind().combo(m_awb, *s.whiteBalance).onActivated([this](int index) { selectWhiteBalance(index); });
    bind().action(m_individualBox, [this] { switchMode(m_individualBox->isChecked()); });
}

void CBrevoCLGainPage::OnInitDialog()
{
    // With one tap there is nothing to control tap by tap.
    m_individualBox->setVisible(sensorTaps() != 1);
    showBlackLevelsOfMode();
    Page::OnInitDialog();
}

void CBrevoCLGainPage::switchMode(bool individual)
{
    auto& s = settingsAs<Settings>();
    s.setIndividual(individual);
    m_groups[0].box->setTitle(individual ? QStringLiteral("Left/tap1") : QStringLiteral("Common"));
    for (int group = 1; group < kGroupCount; ++group)
        m_groups[group].box->setVisible(individual);
    for (int row = 0; row < kRowCount; ++row) {
        for (Binding* binding : std::as_const(m_groups[0].rows[row].bindings))
            binding->rebind(s.rowSetting(0, Row(row)));
    }
    showBlackLevelsOfMode();
    LoadFromCamera();
}

void CBrevoCLGainPage::showBlackLevelsOfMode()
{
    auto& s = settingsAs<Settings>();
    // Tap by tap the black levels are trims about the common level; a
    // balance that runs continuously owns them. The common level stays free.
    const bool individual = s.individual();
    const bool locked = individual && s.blackLevelAuto->number() == kContinuous;
    for (TapGroup& group : m_groups) {
        QSlider* blackLevel = group.rows[Settings::BlackLevelRow].slider;
        if (individual)
            blackLevel->setRange(kBlackLevelTrimMin, kBlackLevelTrimMax);
        else
            blackLevel->setRange(0, kBlackLevelMax);
        blackLevel->setEnabled(!locked);
    }
}

void CBrevoCLGainPage::selectWhiteBalance(int index)
{
    auto& s = settingsAs<Settings>();
    if (index == kWhiteBalanceByApp) {
        // The camera's own balance is off; the list shows the user's choice.
        if (balanceByApplication())
            m_awb->setCurrentIndex(kWhiteBalanceByApp);
        return;
    }
    if (sendPath().set(*s.whiteBalance, index) != SetOutcome::Accepted)
        return;
    sendPath().set(*s.triggerMode, 0);
    if (s.whiteBalance->number().value_or(0) != 0)
        polling()->start();
}

bool CBrevoCLGainPage::balanceByApplication()
{
    // The camera's balance is switched off and one frame is triggered by
    // software from source 0 for the application to measure. The sequence
    // stops at the first line the camera refuses.
    auto& s = settingsAs<Settings>();
    if (sendPath().set(*s.whiteBalance, 0) != SetOutcome::Accepted
        || sendPath().set(*s.triggerSource, 0) != SetOutcome::Accepted
        || sendPath().set(*s.triggerMode, 1) != SetOutcome::Accepted)
        return false;
    connection().pauseMs(kTriggerSettleMs);
    return sendPath().command(s.softTrigger->line(1), s.softTrigger->mode) == SetOutcome::Accepted;
}

void CBrevoCLGainPage::pollAutomaticControls()
{
    if (!settingsAs<Settings>().readAutomaticResults())
        polling()->stop();
}
