#include "BrevoCLGeneralPage.h"

#include "Connection.h"
#include "Controls.h"
#include "DialogUnits.h"
#include "Display.h"
#include "Link.h"
#include "RadioGroup.h"
#include "SendPath.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {

const QList<int> kPixelDepths = {8, 10, 12, 24};

// The camera takes a moment before a new tap count reads back.
constexpr int kTapSettleMs = 50;
// ...and before the defect pattern selection is in force.
constexpr int kPatternSettleMs = 20;
// Exposure and gain under which white defects stand out.
constexpr int kDefectCheckExposure = 2000000;
constexpr int kDefectCheckGain = 18;

// "Default", "1" ... "16": the position is the user-set number.
QStringList userSetItems()
{
    QStringList items{QStringLiteral("Default")};
    for (int set = 1; set <= 16; ++set)
        items << QString::number(set);
    return items;
}

const Format kPerSecond = dividedBy(1000000.0, "%f");

} // namespace

CBrevoCLGeneralPage::CBrevoCLGeneralPage(PageContext context, QWidget* parent) : Page(context, parent)
{
    auto* left = new QVBoxLayout;
    left->addWidget(buildInformation());
    left->addWidget(buildRegionOfInterest());
    left->addWidget(buildFrameRate());
    left->addStretch();

    auto* middle = new QVBoxLayout;
    middle->addWidget(buildUserSets());
    middle->addLayout(buildSettingsColumn());
    middle->addStretch();

    auto* right = new QVBoxLayout;
    right->addLayout(makeRow({nullptr, makeRefreshButton()}));
    right->addWidget(buildPixelFormat());
    right->addWidget(buildTaps());
    right->addWidget(buildDefectCheck());
    right->addLayout(buildVsub());
    right->addStretch();

    layOutColumns(this, {left, middle, right});

    declareBindings();
}

QWidget* CBrevoCLGeneralPage::buildInformation()
{
    m_vendor = new QLabel(QStringLiteral("Vendor"), this);
    m_model = new QLabel(QStringLiteral("Model"), this);
    m_version = new QLabel(QStringLiteral("Version"), this);
    m_id = new QLabel(QStringLiteral("ID"), this);
    m_userId = makeEdit(this);
    m_clearUserId = new QPushButton(QStringLiteral("Clear"), this);
    m_manufacturer = makeEdit(this);
    m_temperature = makeEdit(this);

    auto* box = new QGridLayout;
    box->addWidget(m_vendor, 0, 0, 1, 3);
    box->addWidget(m_model, 1, 0, 1, 3);
    box->addWidget(m_version, 2, 0, 1, 3);
    box->addWidget(m_id, 3, 0, 1, 3);
    box->addWidget(makeLabel(this, QStringLiteral("User-ID"), m_userId), 4, 0);
    box->addWidget(m_userId, 4, 1);
    box->addWidget(m_clearUserId, 4, 2);
    box->addWidget(makeLabel(this, QStringLiteral("ManufacturerInfo="), m_manufacturer), 5, 0);
    box->addWidget(m_manufacturer, 5, 1, 1, 2);
    box->addWidget(makeLabel(this, QStringLiteral("Temperature"), m_temperature), 6, 0);
    box->addWidget(m_temperature, 6, 1);
    return makeGroup(this, QStringLiteral("Information"), box);
}

QWidget* CBrevoCLGeneralPage::buildRegionOfInterest()
{
    m_width = makeEdit(this);
    m_height = makeEdit(this);
    m_offsetX = makeEdit(this);
    m_offsetY = makeEdit(this);
    auto* box = new QGridLayout;
    box->addWidget(makeLabel(this, QStringLiteral("Width"), m_width), 0, 0);
    box->addWidget(m_width, 0, 1);
    box->addWidget(makeLabel(this, QStringLiteral("Height"), m_height), 0, 2);
    box->addWidget(m_height, 0, 3);
    box->addWidget(makeLabel(this, QStringLiteral("OffsetX"), m_offsetX), 1, 0);
    box->addWidget(m_offsetX, 1, 1);
    box->addWidget(makeLabel(this, QStringLiteral("OffsetY"), m_offsetY), 1, 2);
    box->addWidget(m_offsetY, 1, 3);
    return makeGroup(this, QStringLiteral("ROI"), box);
}

QWidget* CBrevoCLGeneralPage::buildFrameRate()
{
    m_frameRateAuto = new QCheckBox(QStringLiteral("FRATE-AUTO"), this);
    m_frameRate = makeEdit(this);
    m_actualFrameRate = makeReadOnlyEdit(this);
    auto* box = new QGridLayout;
    box->addWidget(m_frameRateAuto, 0, 0, 1, 3);
    box->addWidget(makeLabel(this, QStringLiteral("Frame Rate"), m_frameRate), 1, 0);
    box->addWidget(m_frameRate, 1, 1);
    box->addWidget(new QLabel(QStringLiteral("fps"), this), 1, 2);
    box->addWidget(makeLabel(this, QStringLiteral("Actual Frame rate"), m_actualFrameRate), 2, 0);
    box->addWidget(m_actualFrameRate, 2, 1);
    box->addWidget(new QLabel(QStringLiteral("fps"), this), 2, 2);
    return makeGroup(this, QStringLiteral("Framerate"), box);
}

QWidget* CBrevoCLGeneralPage::buildUserSets()
{
    m_usersetSelector = makeEditableList(this, userSetItems());
    m_usersetLoad = new QPushButton(QStringLiteral("Load"), this);
    m_usersetSave = new QPushButton(QStringLiteral("Save"), this);
    m_usersetDefault = makeEditableList(this, userSetItems());
    auto* box = new QGridLayout;
    box->addWidget(makeLabel(this, QStringLiteral("Userset selector"), m_usersetSelector), 0, 0);
    box->addWidget(m_usersetSelector, 0, 1);
    box->addLayout(makeRow({m_usersetLoad, m_usersetSave}), 1, 1);
    box->addWidget(makeLabel(this, QStringLiteral("Userset Default"), m_usersetDefault), 2, 0);
    box->addWidget(m_usersetDefault, 2, 1);
    return makeGroup(this, QStringLiteral("Userset"), box);
}

QLayout* CBrevoCLGeneralPage::buildSettingsColumn()
{
    m_baudRate = makeEditableList(this, {"9600", "14400", "19200", "38400", "57600", "115200"});
    m_ledMode = makeEditableList(this, {"0:OFF", "1:ON", "2:GPO1", "3:GPO2", "4:GPO3"});
    m_factoryDefault = new QPushButton(QStringLiteral("FactoryDefault"), this);
    m_reset = new QPushButton(QStringLiteral("Reset"), this);
    m_testChart = new RadioGroup(this, {{QStringLiteral("OFF"), 0}, {QStringLiteral("Gray"), 1}, {QStringLiteral("Color"), 2}});

    auto* box = new QGridLayout;
    box->addWidget(makeLabel(this, QStringLiteral("Baudrate"), m_baudRate), 0, 0);
    box->addWidget(m_baudRate, 0, 1);
    box->addWidget(makeLabel(this, QStringLiteral("LED-MODE"), m_ledMode), 1, 0);
    box->addWidget(m_ledMode, 1, 1);
    box->addLayout(makeRow({m_factoryDefault, m_reset, nullptr}), 2, 0, 1, 2);
    box->addWidget(new QLabel(QStringLiteral("Test Chart"), this), 3, 0);
    box->addLayout(makeRow({m_testChart->button(0), m_testChart->button(1), m_testChart->button(2), nullptr}), 3, 1);
    return box;
}

QWidget* CBrevoCLGeneralPage::buildPixelFormat()
{
    m_pixelDepth = makeEditableList(this, {"8", "10", "12", "24"});
    m_hBinning = new QCheckBox(QStringLiteral("H Binning"), this);
    m_vBinning = new QCheckBox(QStringLiteral("V Binning"), this);
    auto* box = new QVBoxLayout;
    box->addLayout(makeRow({makeLabel(this, QStringLiteral("PixelDepth="), m_pixelDepth), m_pixelDepth}));
    box->addLayout(makeRow({m_hBinning, m_vBinning, nullptr}));
    return makeGroup(this, QStringLiteral("Pixel Format"), box);
}

QWidget* CBrevoCLGeneralPage::buildTaps()
{
    m_sensorTaps = new RadioGroup(this, {{QStringLiteral("1"), 1}, {QStringLiteral("2"), 2}, {QStringLiteral("4"), 4}});
    m_cameraLinkTaps = new RadioGroup(this, {{QStringLiteral("1"), 1}, {QStringLiteral("2"), 2}});
    auto* box = new QGridLayout;
    box->addWidget(new QLabel(QStringLiteral("Sensor-Tap "), this), 0, 0);
    box->addLayout(makeRow({m_sensorTaps->button(0), m_sensorTaps->button(1), m_sensorTaps->button(2), nullptr}), 0, 1);
    box->addWidget(new QLabel(QStringLiteral("CameraLink-Tap "), this), 1, 0);
    box->addLayout(makeRow({m_cameraLinkTaps->button(0), m_cameraLinkTaps->button(1), nullptr}), 1, 1);
    for (int i = 0; i < m_sensorTaps->count(); ++i)
        m_sensorTaps->button(i)->setAccessibleName(QStringLiteral("Sensor-Tap %1").arg(m_sensorTaps->button(i)->text()));
    for (int i = 0; i < m_cameraLinkTaps->count(); ++i)
        m_cameraLinkTaps->button(i)->setAccessibleName(
            QStringLiteral("CameraLink-Tap %1").arg(m_cameraLinkTaps->button(i)->text()));
    return makeGroup(this, QStringLiteral("Taps"), box);
}

QWidget* CBrevoCLGeneralPage::buildDefectCheck()
{
    m_whiteDefectCheck = new QCheckBox(QStringLiteral("White Defect Check"), this);
    m_changeExposureGain = new QCheckBox(QStringLiteral("Change Exposure/Gain"), this);
    auto* box = new QVBoxLayout;
    box->addWidget(m_whiteDefectCheck);
    box->addWidget(m_changeExposureGain);
    return makeGroup(this, QStringLiteral("Defect Pixel Check"), box);
}

QLayout* CBrevoCLGeneralPage::buildVsub()
{
    m_vsubAdjust = new QCheckBox(QStringLiteral("VSUB Adjust"), this);
    m_vsub = makeSlider(this, 0, 127, 1);
    m_vsub->setMinimumWidth(DialogUnits::standard().toPixelsX(60));
    m_vsubValue = new QLabel(QStringLiteral("0"), this);
    m_vsubValue->setMinimumWidth(m_vsubValue->fontMetrics().horizontalAdvance(QStringLiteral("-0000")));
    return makeRow({m_vsubAdjust, m_vsub, m_vsubValue});
}

void CBrevoCLGeneralPage::declareBindings()
{
    auto& s = settingsAs<Settings>();
    bind().readout(m_vendor, *s.vendor, QStringLiteral("Vendor="));
    bind().readout(m_model, *s.model, QStringLiteral("Model="));
    bind().readout(m_id, *s.id, QStringLiteral("ID="));
    bind().readout(m_version, *s.version, QStringLiteral("Version="));
    bind().readout(m_manufacturer, *s.manufacturer, QString());
    bind().readout(m_temperature, *s.temperature, printedAs("%d degC"));
    bind().edit(m_userId, *s.userId).text();
    bind().action(m_clearUserId, [this] { clearUserId(); });

    bind().edit(m_width, *s.width);
    bind().edit(m_height, *s.height);
    bind().edit(m_offsetX, *s.offsetX);
    bind().edit(m_offsetY, *s.offsetY);
    bind().edit(m_frameRate, *s.frameRate).scaled(1000000.0, "%f");
    bind().readout(m_actualFrameRate, *s.actualFrameRate, kPerSecond);
    // The rate can be typed only while the camera does not choose it.
    bind().check(m_frameRateAuto, *s.frameRateAuto)
        .before([this](int automatic) { m_frameRate->setEnabled(automatic == 0); })
        .thenRead({s.actualFrameRate});
    whenChanged(*s.frameRateAuto, [this, &s] { m_frameRate->setEnabled(s.frameRateAuto->number().value_or(0) == 0); });

    bind().button(m_usersetLoad, *s.usersetLoad).selectedIndexOf(m_usersetSelector);
    bind().button(m_usersetSave, *s.usersetSave).selectedIndexOf(m_usersetSelector);
    bind().combo(m_usersetDefault, *s.usersetDefault);
    // Only the camera's speed changes; the port keeps its rate.
    bind().combo(m_baudRate, *s.baudRate).itemText();
    // The camera lists its LED modes in value order.
    bind().combo(m_ledMode, *s.ledMode).choicesFromCamera();
    bind().button(m_reset, *s.reset);
    bind().button(m_factoryDefault, *s.factoryDefault).disabledWhileSending();
    bind().radios(m_testChart, *s.testChart);

    bind().combo(m_pixelDepth, *s.pixelDepth).values(kPixelDepths);
    bind().check(m_hBinning, *s.hBinning).values(1, 2);
    bind().check(m_vBinning, *s.vBinning).values(1, 2);

    // A new tap count reads back once the camera has taken it, so the radios
    // show what the camera accepted.
    bind().radios(m_sensorTaps, *s.sensorTap).then([this, &s](int) {
        connection().pauseMs(kTapSettleMs);
        sendPath().readBack(*s.sensorTap);
    });
    bind().radios(m_cameraLinkTaps, *s.cameraLinkTap).then([this, &s](int) {
        connection().pauseMs(kTapSettleMs);
        sendPath().readBack(*s.cameraLinkTap);
    });

    bind().check(m_whiteDefectCheck, *s.defectCorrection);
    bind().action(m_changeExposureGain, [this] { changeExposureGain(m_changeExposureGain->isChecked()); });

    bind().check(m_vsubAdjust, *s.vsubMode).thenRead({s.vsubMode});
    // The value goes out while the thumb is dragged, each position waiting
    // for its answer; keys, clicks in the channel and the release send nothing.
    bind().slider(m_vsub, *s.vsub)
        .on(SliderNotification::ThumbTrack)
        .send(SendMode::transact())
        .readout(m_vsubValue, asDecimal());
    bind().readout(m_vsubValue, *s.vsub);
}

void CBrevoCLGeneralPage::clearUserId()
{
    auto& s = settingsAs<Settings>();
    // The camera's user ID is empty once it took the line.
    if (sendPath().command(s.clearUserId->word, s.clearUserId->mode) == SetOutcome::Accepted)
        s.userId->setValue(QByteArray());
}

void CBrevoCLGeneralPage::changeExposureGain(bool bright)
{
    m_changeExposureGain->setChecked(bright ? brighten() : restoreExposureGain());
}

bool CBrevoCLGeneralPage::brighten()
{
    auto& s = settingsAs<Settings>();
    const CameraCommand& selector = *s.defectPatternSelector;
    if (sendPath().command(selector.line(0), selector.mode) != SetOutcome::Accepted)
        return false;
    connection().pauseMs(kPatternSettleMs);
    pageSettings().read(*s.checkExposure);
    pageSettings().read(*s.checkGain);
    const std::optional<int> exposure = s.checkExposure->number();
    const std::optional<int> gain = s.checkGain->number();
    if (!exposure || !gain) {
        // Without them the check could not be undone.
        sendPath().rejectInput(QStringLiteral("Change Exposure/Gain: the camera did not report its exposure and gain; "
                                              "nothing changed"));
        return false;
    }
    m_savedExposure = *exposure;
    m_savedGain = *gain;
    if (sendPath().set(*s.checkExposure, kDefectCheckExposure) != SetOutcome::Accepted)
        return false;
    if (sendPath().set(*s.checkGain, kDefectCheckGain) != SetOutcome::Accepted) {
        // All or nothing: the exposure goes back as it was.
        sendPath().set(*s.checkExposure, m_savedExposure);
        return false;
    }
    return true;
}

bool CBrevoCLGeneralPage::restoreExposureGain()
{
    auto& s = settingsAs<Settings>();
    const bool exposureBack = sendPath().set(*s.checkExposure, m_savedExposure) == SetOutcome::Accepted;
    const bool gainBack = sendPath().set(*s.checkGain, m_savedGain) == SetOutcome::Accepted;
    // Whatever the camera refused is still bright; another click tries again.
    return !(exposureBack && gainBack);
}
