#include "BrevoCLGeneralPage.h"

#include "Clock.h"
#include "CommandWords.h"
#include "Connection.h"
#include "Controls.h"
#include "DialogUnits.h"
#include "Display.h"
#include "Link.h"
#include "RadioGroup.h"

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
    declareLoad();
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
    bind().edit(m_userId, QStringLiteral("User-ID"), cmd::USER_ID).line(Line::text(cmd::USER_ID));
    bind().button(m_clearUserId, cmd::USER_ID_DELETE);
    bind().edit(m_width, QStringLiteral("Width"), cmd::WIDTH);
    bind().edit(m_height, QStringLiteral("Height"), cmd::HEIGHT);
    bind().edit(m_offsetX, QStringLiteral("OffsetX"), cmd::OFFSETX);
    bind().edit(m_offsetY, QStringLiteral("OffsetY"), cmd::OFFSETY);
    bind()
        .edit(m_frameRate, QStringLiteral("Frame Rate"), cmd::FRAMERATE)
        .line(Line::scaled(cmd::FRAMERATE, 1000000.0))
        .savedAs(Line::scaledToNearest(cmd::FRAMERATE, 1000000.0));
    bind().check(m_frameRateAuto, cmd::FRAMERATE_AUTO)
        .before([this](int automatic) { m_frameRate->setEnabled(automatic == 0); })
        .then([this](int) { showText(m_actualFrameRate, kPerSecond(QueryInt(connection(), cmd::FRAMERATE_ACTUAL))); });

    // Loading a user set restarts the camera's settings; no answer is awaited.
    bind().button(m_usersetLoad, cmd::USERSET_LOAD).selectedIndexOf(m_usersetSelector).send(SendMode::line());
    bind().button(m_usersetSave, cmd::USERSET_SAVE).selectedIndexOf(m_usersetSelector);
    bind().combo(m_usersetDefault, QStringLiteral("Userset Default"), cmd::USERSET_DEFAULT);
    // Only the camera's speed changes; the port keeps its rate. Files of
    // settings leave it out: applying one would cut the link to the camera.
    bind().combo(m_baudRate, QStringLiteral("Baudrate"), cmd::BAUDRATE).itemText().notASetting();
    bind().combo(m_ledMode, QStringLiteral("LED-MODE"), cmd::LED_MODE);
    bind().button(m_reset, cmd::RESET);
    bind().button(m_factoryDefault, cmd::FACTORY_DEFAULT).send(SendMode::transact(5.0)).disabledWhileSending();
    bind().radios(m_testChart, QStringLiteral("Test Chart"), cmd::TESTCHART);

    bind().combo(m_pixelDepth, QStringLiteral("PixelDepth="), cmd::PIXEL_DEPTH).values(kPixelDepths);
    // Binning rescales the image, so a file applies it before the image size.
    bind().check(m_hBinning, cmd::HBIN).values(1, 2).appliedFirst();
    bind().check(m_vBinning, cmd::VBIN).values(1, 2).appliedFirst();

    bind().radios(m_sensorTaps, QStringLiteral("Sensor-Tap "), cmd::SENSOR_TAP).then([this](int) {
        connection().pauseMs(kTapSettleMs);
        readSensorTap();
    });
    bind().radios(m_cameraLinkTaps, QStringLiteral("CameraLink-Tap "), cmd::CAMERALINK_TAP).then([this](int) {
        connection().pauseMs(kTapSettleMs);
        readCameraLinkTap();
    });

    bind().check(m_whiteDefectCheck, cmd::DEFECT_CORRECTION);
    bind().action(m_changeExposureGain, [this] { changeExposureGain(m_changeExposureGain->isChecked()); });

    bind().check(m_vsubAdjust, cmd::VSUB_EXTERNAL_MODE).then([this](int) {
        showCheck(m_vsubAdjust, QueryInt(connection(), cmd::VSUB_EXTERNAL_MODE));
    });
    m_vsubBinding = &bind()
                         .slider(m_vsub, QStringLiteral("VSUB Adjust"), cmd::VSUB_EXTERNAL)
                         .on(SliderNotification::ThumbTrack)
                         .send(SendMode::transact())
                         .readout(m_vsubValue, asDecimal());
}

void CBrevoCLGeneralPage::declareLoad()
{
    load()
        .text(cmd::VENDOR, m_vendor, QStringLiteral("Vendor="))
        .text(cmd::MODEL, m_model, QStringLiteral("Model="))
        .text(cmd::ID, m_id, QStringLiteral("ID="))
        .text(cmd::VERSION, m_version, QStringLiteral("Version="))
        .text(cmd::MANUFACTURER, m_manufacturer)
        .text(cmd::USER_ID, m_userId)
        .number(cmd::WIDTH, m_width)
        .number(cmd::HEIGHT, m_height)
        .number(cmd::OFFSETX, m_offsetX)
        .number(cmd::OFFSETY, m_offsetY)
        .number(cmd::FRAMERATE, m_frameRate, kPerSecond)
        .number(cmd::FRAMERATE_ACTUAL, m_actualFrameRate, kPerSecond)
        .number(cmd::FRAMERATE_AUTO,
                [this](int automatic) {
                    showCheck(m_frameRateAuto, automatic);
                    m_frameRate->setEnabled(automatic == 0);
                })
        .number(cmd::TEMPERATURE, m_temperature, printedAs("%d degC"))
        .index(cmd::USERSET_DEFAULT, m_usersetDefault)
        .optional(cmd::HBIN, m_hBinning, [this](int bin) { showCheck(m_hBinning, bin - 1); })
        .optional(cmd::VBIN, m_vBinning, [this](int bin) { showCheck(m_vBinning, bin - 1); })
        .number(cmd::BAUDRATE, m_baudRate)
        .radios(cmd::TESTCHART, m_testChart)
        .step([this] { readSensorTap(); })
        .step([this] { readCameraLinkTap(); })
        // The camera lists its LED modes in value order.
        .choices(cmd::LED_MODE, m_ledMode)
        .index(cmd::LED_MODE, m_ledMode)
        .prefix(cmd::PIXEL_DEPTH, m_pixelDepth, "%d")
        .check(cmd::VSUB_EXTERNAL_MODE, m_vsubAdjust)
        .number(cmd::VSUB_EXTERNAL, *m_vsubBinding);
}

void CBrevoCLGeneralPage::readSensorTap()
{
    m_sensorTap = QueryInt(connection(), cmd::SENSOR_TAP);
    m_sensorTaps->show(m_sensorTap);
}

void CBrevoCLGeneralPage::readCameraLinkTap()
{
    m_cameraLinkTap = QueryInt(connection(), cmd::CAMERALINK_TAP);
    m_cameraLinkTaps->show(m_cameraLinkTap);
}

void CBrevoCLGeneralPage::changeExposureGain(bool bright)
{
    if (bright) {
        Transact(connection(), setLine(cmd::DEFECT_PATTERN_SELECTOR, 0), 1.0);
        connection().pauseMs(kPatternSettleMs);
        m_savedExposure = QueryInt(connection(), cmd::EXP);
        m_savedGain = QueryInt(connection(), cmd::GAIN);
        Transact(connection(), setLine(cmd::EXP, kDefectCheckExposure), 1.0);
        Transact(connection(), setLine(cmd::GAIN, kDefectCheckGain), 1.0);
    } else {
        Transact(connection(), setLine(cmd::EXP, m_savedExposure), 1.0);
        Transact(connection(), setLine(cmd::GAIN, m_savedGain), 1.0);
    }
}
