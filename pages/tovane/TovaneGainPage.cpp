#include "TovaneGainPage.h"

#include "CommandWords.h"
#include "Controls.h"
#include "Display.h"
#include "SoftTriggerPulse.h"

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


namespace {

struct ExposurePreset {
    const char* label; // right-aligned by leading blanks, which belong to the text
    int microseconds;  // what EXP receives
};

// Nominal shutter speeds. Below 1/8 s the values are power-of-two fractions
// of a second to the nearest microsecond (1/1000 carries 10^6/1024); the last
// entry, without a label, sends 0.
const ExposurePreset kExposurePresets[] = {
    {"1/1000000", 1},      {" 1/500000", 2},      {" 1/125000", 4},        {"  1/60000", 8},
    {"  1/30000", 15},     {"  1/15000", 61},     {"   1/8000", 122},      {"   1/4000", 244},
    {"   1/2000", 488},    {"   1/1000", 977},    {"    1/500", 1953},     {"    1/250", 3906},
    {"    1/125", 7813},   {"     1/60", 15625},  {"     1/30", 31250},    {"     1/15", 62500},
    {"      1/8", 125000}, {"      1/4", 250000}, {"      1/2", 500000},   {"        1s", 1000000},
    {"        2s", 2000000}, {"        4s", 4000000}, {"        8s", 8000000}, {"       15s", 15000000},
    {"       30s", 30000000}, {"       60s", 60000000}, {"", 0},
};

const char* const kFilterCells[] = {"00", "01", "02", "10", "11", "12", "20", "21", "22"};

const QStringList kTriggerSources = {"11P (0)", "7P (1)", "10P (2)", "Software (4)"};
const QStringList kAutoModes = {"0:Off", "1:Once", "2:Continuous"};

// An edit whose accessible name tells it apart from edits under the same
// caption (the two "Lower" edits, say).
QLineEdit* namedEdit(QWidget* parent, const QString& accessibleName)
{
    QLineEdit* edit = makeEdit(parent);
    edit->setAccessibleName(accessibleName);
    return edit;
}

QWidget* untitledGroup(QWidget* parent, QLayout* layout)
{
    return makeGroup(parent, QString(), layout);
}

} // namespace

CTovaneGainPage::CTovaneGainPage(PageContext context, QWidget* parent) : Page(context, parent)
{
    auto* left = new QVBoxLayout;
    left->addWidget(buildExposure());
    left->addWidget(buildGain());
    left->addWidget(buildBlackLevel());
    left->addStretch();

    auto* middle = new QVBoxLayout;
    middle->addWidget(buildAuto());
    middle->addStretch();

    auto* right = new QVBoxLayout;
    right->addLayout(makeRow({nullptr, makeRefreshButton()}));
    right->addWidget(buildTrigger());
    right->addWidget(buildSpecialTrigger());
    right->addWidget(buildSpatialFilter());
    right->addStretch();

    layOutColumns(this, {left, middle, right});

    declareBindings();
}

QWidget* CTovaneGainPage::buildExposure()
{
    m_exposureTime = makeEdit(this);
    m_exposurePreset = new QComboBox(this);
    m_exposurePreset->setAccessibleName(QStringLiteral("Exposure preset"));
    for (const ExposurePreset& preset : kExposurePresets)
        m_exposurePreset->addItem(QString::fromLatin1(preset.label), preset.microseconds);
    // No preset is claimed until the user picks one; the edit shows the camera's time.
    m_exposurePreset->setCurrentIndex(-1);

    auto* box = new QGridLayout;
    box->addWidget(makeLabel(this, QStringLiteral("ExposureTime"), m_exposureTime), 0, 0);
    box->addWidget(m_exposureTime, 0, 1);
    box->addWidget(m_exposurePreset, 0, 2);
    box->addWidget(new QLabel(QStringLiteral("--------"), this), 1, 1);
    return untitledGroup(this, box);
}

QWidget* CTovaneGainPage::buildGain()
{
    m_gainDb = makeEdit(this);
    m_gainStep = makeEdit(this);
    m_gain = makeSlider(this, 0, 0);
    m_minimumGain = new QPushButton(QStringLiteral("MinimumGain"), this);

    auto* box = new QGridLayout;
    box->addWidget(makeLabel(this, QStringLiteral("Gain"), m_gainDb), 0, 0);
    box->addWidget(m_gainDb, 0, 1);
    box->addWidget(new QLabel(QStringLiteral("dB"), this), 0, 2);
    box->addWidget(makeLabel(this, QStringLiteral("Step"), m_gainStep), 0, 3);
    box->addWidget(m_gainStep, 0, 4);
    box->addWidget(m_gain, 1, 0, 1, 5);
    box->addWidget(m_minimumGain, 2, 4);
    return untitledGroup(this, box);
}

QWidget* CTovaneGainPage::buildBlackLevel()
{
    m_blackLevel = makeEdit(this);
    m_blackLevelSlider = makeSlider(this, 0, 0);
    m_gainLowerMin = new QPushButton(QStringLiteral("GainLowerMin"), this);

    auto* box = new QGridLayout;
    box->addWidget(makeLabel(this, QStringLiteral("BlackLevel"), m_blackLevel), 0, 0);
    box->addWidget(m_blackLevel, 0, 1);
    box->addWidget(m_blackLevelSlider, 1, 0, 1, 3);
    box->addWidget(m_gainLowerMin, 2, 2);
    return untitledGroup(this, box);
}

QWidget* CTovaneGainPage::buildAuto()
{
    m_exposureAutoMode = makeList(this, kAutoModes);
    m_exposureLower = namedEdit(this, QStringLiteral("ExposureAuto Lower"));
    m_exposureUpper = namedEdit(this, QStringLiteral("ExposureAuto upper"));
    m_gainAutoMode = makeList(this, kAutoModes);
    m_gainLower = namedEdit(this, QStringLiteral("GainAuto Lower"));
    m_gainUpper = namedEdit(this, QStringLiteral("GainAuto upper"));
    m_gainAutoLevel = makeEdit(this);
    m_areaHighlight = new QCheckBox(QStringLiteral("AE/AGC Detect Area HighLight"), this);
    m_areaOffsetX = namedEdit(this, QStringLiteral("Area OffsetX"));
    m_areaWidth = namedEdit(this, QStringLiteral("Area Width"));
    m_areaOffsetY = namedEdit(this, QStringLiteral("Area OffsetY"));
    m_areaHeight = namedEdit(this, QStringLiteral("Area Height"));
    m_exposureSpeed = makeEdit(this);
    m_gainSpeed = makeEdit(this);

    auto* box = new QGridLayout;
    int row = 0;
    box->addWidget(makeLabel(this, QStringLiteral("ExposureAutoMode"), m_exposureAutoMode), row, 0, 1, 2);
    box->addWidget(m_exposureAutoMode, row++, 2, 1, 2);
    box->addWidget(new QLabel(QStringLiteral("Lower"), this), row, 0);
    box->addWidget(m_exposureLower, row, 1);
    box->addWidget(new QLabel(QStringLiteral("upper"), this), row, 2);
    box->addWidget(m_exposureUpper, row++, 3);
    box->addWidget(makeLabel(this, QStringLiteral("GainAutoMode"), m_gainAutoMode), row, 0, 1, 2);
    box->addWidget(m_gainAutoMode, row++, 2, 1, 2);
    box->addWidget(new QLabel(QStringLiteral("Lower"), this), row, 0);
    box->addWidget(m_gainLower, row, 1);
    box->addWidget(new QLabel(QStringLiteral("upper"), this), row, 2);
    box->addWidget(m_gainUpper, row++, 3);
    box->addWidget(makeLabel(this, QStringLiteral("GainAutoLevel(AE-TARGET)"), m_gainAutoLevel), row, 0, 1, 3);
    box->addWidget(m_gainAutoLevel, row++, 3);
    box->addWidget(m_areaHighlight, row++, 0, 1, 4);
    // The small sliders beside the area edits have no function of their own.
    const auto areaCell = [this](QLineEdit* edit) {
        auto* cell = new QVBoxLayout;
        cell->addWidget(edit);
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setAccessibleName(edit->accessibleName() + QStringLiteral(" slider"));
        QWidget::setTabOrder(edit, slider); // Tab reaches the slider under its edit next
        cell->addWidget(slider);
        return cell;
    };
    box->addWidget(new QLabel(QStringLiteral("OffsetX"), this), row, 0);
    box->addLayout(areaCell(m_areaOffsetX), row, 1);
    box->addWidget(new QLabel(QStringLiteral("Width"), this), row, 2);
    box->addLayout(areaCell(m_areaWidth), row++, 3);
    box->addWidget(new QLabel(QStringLiteral("OffsetY"), this), row, 0);
    box->addLayout(areaCell(m_areaOffsetY), row, 1);
    box->addWidget(new QLabel(QStringLiteral("Height"), this), row, 2);
    box->addLayout(areaCell(m_areaHeight), row++, 3);
    box->addWidget(makeLabel(this, QStringLiteral("AE Speed"), m_exposureSpeed), row, 0);
    box->addWidget(m_exposureSpeed, row, 1);
    box->addWidget(makeLabel(this, QStringLiteral("AGC Speed"), m_gainSpeed), row, 2);
    box->addWidget(m_gainSpeed, row++, 3);
    return untitledGroup(this, box);
}

QWidget* CTovaneGainPage::buildTrigger()
{
    m_triggerMode = new QCheckBox(QStringLiteral("TriggerMode"), this);
    m_triggerSource = makeList(this, kTriggerSources);
    m_fireSoftTrigger = new QPushButton(QStringLiteral("FireSoftTrigger"), this);
    m_pulseWidth = namedEdit(this, QStringLiteral("FireSoftTrigger width"));
    m_pulseWidth->setText(QString::number(kDefaultPulseWidthMs));
    m_exposureMode = makeList(this, {QStringLiteral("Edge"), QStringLiteral(" Width")});
    m_triggerInhibit = new QCheckBox(QStringLiteral("Trigger Inhibit"), this);
    m_triggerPolarity = new QCheckBox(QStringLiteral("Trigger Polarity"), this);
    m_triggerDelay = makeEdit(this);
    m_triggerRange = new QCheckBox(QStringLiteral("TriggerRange"), this);
    m_triggerRangeLowerLimit = namedEdit(this, QStringLiteral("TriggerRange Lower"));

    auto* box = new QGridLayout;
    box->addWidget(m_triggerMode, 0, 0);
    box->addWidget(makeLabel(this, QStringLiteral("Trigger Source"), m_triggerSource), 0, 1);
    box->addWidget(m_triggerSource, 0, 2);
    box->addWidget(m_fireSoftTrigger, 1, 0);
    box->addWidget(m_pulseWidth, 1, 1);
    box->addWidget(new QLabel(QStringLiteral("ms"), this), 1, 2);
    box->addWidget(makeLabel(this, QStringLiteral("ExposureMode"), m_exposureMode), 2, 0);
    box->addWidget(m_exposureMode, 2, 1);
    box->addWidget(m_triggerInhibit, 3, 0);
    box->addWidget(m_triggerPolarity, 3, 1);
    box->addWidget(makeLabel(this, QStringLiteral("Trigger Delay"), m_triggerDelay), 4, 0);
    box->addWidget(m_triggerDelay, 4, 1);
    box->addWidget(m_triggerRange, 5, 0);
    box->addWidget(m_triggerRangeLowerLimit, 5, 1);
    return makeGroup(this, QStringLiteral("Trigger"), box);
}

QWidget* CTovaneGainPage::buildSpecialTrigger()
{
    m_specialMode = makeList(this, {QStringLiteral("0:OFF"), QStringLiteral("1:Bulk"), QStringLiteral("2:Sequential")});
    m_specialMode->setAccessibleName(QStringLiteral("Special Trigger"));
    m_specialSource = makeList(this, kTriggerSources);
    m_frameCount = makeEdit(this);
    m_specialPolarity = new QCheckBox(QStringLiteral("Polarity"), this);

    auto* box = new QGridLayout;
    box->addWidget(m_specialMode, 0, 0);
    box->addWidget(makeLabel(this, QStringLiteral("TriggerSource"), m_specialSource), 0, 1);
    box->addWidget(m_specialSource, 0, 2);
    box->addWidget(makeLabel(this, QStringLiteral("NumberOfFrame"), m_frameCount), 1, 0);
    box->addWidget(m_frameCount, 1, 1);
    box->addWidget(m_specialPolarity, 1, 2);
    return makeGroup(this, QStringLiteral("Special Trigger"), box);
}

QWidget* CTovaneGainPage::buildSpatialFilter()
{
    m_filterEnable = new QCheckBox(QStringLiteral("Enable"), this);
    auto* box = new QGridLayout;
    box->addWidget(m_filterEnable, 0, 0, 1, 3);
    for (int cell = 0; cell < 9; ++cell) {
        m_coefficients[cell] = namedEdit(this, QStringLiteral("Coefficient %1").arg(QLatin1String(kFilterCells[cell])));
        box->addWidget(m_coefficients[cell], 1 + cell / 3, cell % 3);
    }
    return makeGroup(this, QStringLiteral("Spatial Filter"), box);
}

void CTovaneGainPage::declareBindings()
{
    auto& s = settingsAs<Settings>();
    // Gain: the slider streams GAIN-FINE without waiting while it moves, and
    // the decibel box follows it meanwhile; Enter in Step waits for the
    // camera and reads the whole decibels back.
    bind().slider(m_gain, *s.gainFine, QStringLiteral("Gain")).rangeFromCamera().readout(m_gainDb, scaledBy(0.1, "%3.2lf"));
    bind().edit(m_gainStep, *s.gainFine).thenRead({s.gain});
    bind().edit(m_gainDb, *s.gain);
    bind().action(m_minimumGain, [this] { sendMinimumGain(); });
    bind().action(m_gainLowerMin, [this] { sendGainLowerMin(); });

    bind().slider(m_blackLevelSlider, *s.blackLevel).rangeFromCamera();
    bind().edit(m_blackLevel, *s.blackLevel);

    // Exposure: the presets are a shortcut into the exposure time.
    bind().edit(m_exposureTime, *s.exposureTime);
    bind().combo(m_exposurePreset, *s.exposureTime, QStringLiteral("Exposure preset")).itemData().thenRead({s.exposureTime});

    // Auto
    bind().combo(m_exposureAutoMode, *s.exposureAuto);
    bind().combo(m_gainAutoMode, *s.gainAuto).send(SendMode::line());
    bind().edit(m_exposureLower, *s.exposureLower, QStringLiteral("Lower"));
    bind().edit(m_exposureUpper, *s.exposureUpper, QStringLiteral("upper"));
    bind().edit(m_gainLower, *s.gainLower, QStringLiteral("Lower"));
    bind().edit(m_gainUpper, *s.gainUpper, QStringLiteral("upper"));
    bind().edit(m_gainAutoLevel, *s.gainAutoLevel);
    bind().check(m_areaHighlight, *s.areaHighlight);
    bind().edit(m_areaWidth, *s.areaWidth, QStringLiteral("Width"));
    bind().edit(m_areaHeight, *s.areaHeight, QStringLiteral("Height"));
    bind().edit(m_areaOffsetX, *s.areaOffsetX, QStringLiteral("OffsetX"));
    bind().edit(m_areaOffsetY, *s.areaOffsetY, QStringLiteral("OffsetY"));
    bind().edit(m_exposureSpeed, *s.exposureSpeed);
    bind().edit(m_gainSpeed, *s.gainSpeed);

    // Trigger
    bind().check(m_triggerMode, *s.triggerMode);
    bind().combo(m_triggerSource, *s.triggerSource).choicesFromCamera().leadingNumber(" %d(");
    bind().combo(m_exposureMode, *s.exposureMode);
    bind().check(m_triggerInhibit, *s.triggerInhibit);
    bind().check(m_triggerPolarity, *s.triggerPolarity);
    bind().edit(m_triggerDelay, *s.triggerDelay);
    bind().check(m_triggerRange, *s.triggerRange);
    bind().edit(m_triggerRangeLowerLimit, *s.triggerRangeLowerLimit, QStringLiteral("TriggerRange"));
    bind().action(m_fireSoftTrigger, [this] { fireSoftTrigger(); });

    // Special trigger and filter
    bind().combo(m_specialMode, *s.specialMode).leadingNumber("%d:");
    bind().combo(m_specialSource, *s.specialSource).choicesFromCamera().leadingNumber(" %d(");
    bind().edit(m_frameCount, *s.frameCount);
    bind().check(m_specialPolarity, *s.specialPolarity);
    bind().check(m_filterEnable, *s.filterEnable);
    for (int cell = 0; cell < 9; ++cell)
        bind().edit(m_coefficients[cell], *s.coefficients[cell]).accept(Settings::kCoefficientMin, Settings::kCoefficientMax);
}

int CTovaneGainPage::sendMinimumGain()
{
    auto& s = settingsAs<Settings>();
    const int min = m_gain->minimum();
    // The slider and the Step edit show where the gain goes before it is
    // sent; a refusal brings back the camera's value.
    m_gain->setValue(min);
    m_gainStep->setText(QString::number(min));
    sendPath().set(*s.gainFine, min);
    sendPath().readBack(*s.gain);
    return min;
}

void CTovaneGainPage::sendGainLowerMin()
{
    // The automatic gain's lower limit counts whole decibels.
    const int lowerDb = sendMinimumGain() / 10;
    m_gainLower->setText(QString::number(lowerDb));
    sendPath().set(*settingsAs<Settings>().gainLower, lowerDb);
}

void CTovaneGainPage::fireSoftTrigger()
{
    if (const std::optional<int> widthMs = SoftTriggerPulse::widthFrom(sendPath(), m_pulseWidth))
        SoftTriggerPulse::fire(sendPath(), *settingsAs<Settings>().softTrigger, this, m_fireSoftTrigger, *widthMs);
}
