#include "TovaneGeneralPage.h"

#include "CommandWords.h"
#include "Controls.h"
#include "Display.h"
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
#include <QVBoxLayout>

namespace {

const QList<int> kPixelDepths = {8, 12, 16};
const QList<int> kNormalRates = {9600, 14400, 19200, 38400, 57600, 115200};
const QList<int> kExtendedRates = {9600, 14400, 19200, 38400, 57600, 115200, 230400, 460800, 921600};

QStringList texts(const QList<int>& values)
{
    QStringList list;
    for (int value : values)
        list << QString::number(value);
    return list;
}

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

CTovaneGeneralPage::CTovaneGeneralPage(PageContext context, QWidget* parent) : Page(context, parent)
{
    auto* refresh = makeRefreshButton();
    m_reboot = new QPushButton(QStringLiteral("Reboot"), this);
    auto* rereadCcf = new QLabel(QStringLiteral("Read CCF file again after reboot."), this);
    rereadCcf->hide();

    auto* temperatureBox = new QVBoxLayout;
    m_temperature = new QLabel(QStringLiteral("-"), this);
    temperatureBox->addWidget(m_temperature);
    auto* powerBox = new QVBoxLayout;
    m_powerStatus = new QLabel(QStringLiteral("PowerStatus"), this);
    powerBox->addWidget(m_powerStatus);
    m_testChart = new RadioGroup(this, {{QStringLiteral("OFF"), 0}, {QStringLiteral("Grayscale"), 1}, {QStringLiteral("ColorBar"), 2}});
    auto* testChartBox = new QVBoxLayout;
    for (int i = 0; i < m_testChart->count(); ++i)
        testChartBox->addWidget(m_testChart->button(i));

    auto* left = new QVBoxLayout;
    left->addWidget(buildCameraInfo());
    left->addWidget(makeGroup(this, QStringLiteral("TestChart"), testChartBox));
    left->addWidget(buildCameraLink());
    left->addStretch();
    left->addLayout(makeRow({m_reboot, rereadCcf, nullptr}));

    auto* middle = new QVBoxLayout;
    middle->addWidget(buildImageInfo());
    middle->addWidget(buildUserSets());
    middle->addWidget(buildBaudRates());
    middle->addStretch();

    auto* right = new QVBoxLayout;
    right->addLayout(makeRow({nullptr, refresh}));
    right->addWidget(buildFrameRate());
    right->addWidget(makeGroup(this, QStringLiteral("Temperature"), temperatureBox));
    right->addWidget(makeGroup(this, QStringLiteral("PowerStatus"), powerBox));
    right->addWidget(buildUnusedDefectControls());
    right->addStretch();

    layOutColumns(this, {left, middle, right});

    declareBindings();
    declareLoad();
}

QWidget* CTovaneGeneralPage::buildCameraInfo()
{
    m_vendor = new QLabel(QStringLiteral("Vendor"), this);
    m_model = new QLabel(QStringLiteral("Model"), this);
    m_version = new QLabel(QStringLiteral("Version"), this);
    m_manufacturer = new QLabel(QStringLiteral("ManufacturerInfo"), this);
    m_serialNumber = new QLabel(QStringLiteral("SerialNumber"), this);
    m_userDefinedName = makeEdit(this);
    auto* box = new QVBoxLayout;
    for (QLabel* label : {m_vendor, m_model, m_version, m_manufacturer, m_serialNumber}) {
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        box->addWidget(label);
    }
    box->addLayout(makeRow({makeLabel(this, QStringLiteral("UserDefinedName"), m_userDefinedName), m_userDefinedName}));
    box->addStretch();
    return makeGroup(this, QStringLiteral("CameraInfo"), box);
}

QWidget* CTovaneGeneralPage::buildImageInfo()
{
    m_width = new QLabel(QStringLiteral("Width=0000"), this);
    m_height = new QLabel(QStringLiteral("Height=0000"), this);
    m_offsetX = makeEdit(this);
    m_offsetY = makeEdit(this);
    m_pixelDepth = makeList(this, texts(kPixelDepths));
    m_hBinning = new QCheckBox(QStringLiteral("H Binning"), this);
    m_vBinning = new QCheckBox(QStringLiteral("V Binning"), this);
    m_reverseX = new QCheckBox(QStringLiteral("ImageReverseX"), this);
    m_reverseY = new QCheckBox(QStringLiteral("ImageReverseY"), this);

    auto* box = new QGridLayout;
    box->addWidget(m_width, 0, 0);
    box->addWidget(m_height, 0, 1);
    box->addWidget(makeLabel(this, QStringLiteral("OffsetX"), m_offsetX), 1, 0);
    box->addWidget(m_offsetX, 1, 1);
    box->addWidget(makeLabel(this, QStringLiteral("OffsetY"), m_offsetY), 2, 0);
    box->addWidget(m_offsetY, 2, 1);
    box->addWidget(makeLabel(this, QStringLiteral("PixelDepth"), m_pixelDepth), 3, 0);
    box->addWidget(m_pixelDepth, 3, 1);
    box->addWidget(m_hBinning, 4, 0);
    box->addWidget(m_vBinning, 4, 1);
    box->addWidget(new QLabel(QStringLiteral("(Reboot required)"), this), 5, 0, 1, 2);
    box->addWidget(m_reverseX, 6, 0);
    box->addWidget(m_reverseY, 6, 1);
    box->setRowStretch(7, 1);
    return makeGroup(this, QStringLiteral("ImageInfo"), box);
}

QWidget* CTovaneGeneralPage::buildFrameRate()
{
    m_frameRateAuto = new QCheckBox(QStringLiteral("FRATE-AUTO"), this);
    m_frameRate = makeEdit(this);
    m_actualFrameRate = makeReadOnlyEdit(this);
    auto* box = new QVBoxLayout;
    box->addWidget(m_frameRateAuto);
    box->addLayout(makeRow({makeLabel(this, QStringLiteral("Frame Rate"), m_frameRate), m_frameRate,
                            new QLabel(QStringLiteral("fps"), this)}));
    box->addLayout(makeRow({makeLabel(this, QStringLiteral("Actual Frame rate"), m_actualFrameRate),
                            m_actualFrameRate, new QLabel(QStringLiteral("fps"), this)}));
    return makeGroup(this, QStringLiteral("Framerate"), box);
}

QWidget* CTovaneGeneralPage::buildUserSets()
{
    m_usersetSelector = makeList(this, userSetItems());
    m_usersetLoad = new QPushButton(QStringLiteral("Load"), this);
    m_usersetSave = new QPushButton(QStringLiteral("Save"), this);
    m_usersetDefault = makeList(this, userSetItems());
    auto* box = new QGridLayout;
    box->addWidget(makeLabel(this, QStringLiteral("Userset selector"), m_usersetSelector), 0, 0);
    box->addWidget(m_usersetSelector, 0, 1);
    box->addWidget(m_usersetLoad, 0, 2);
    box->addWidget(m_usersetSave, 0, 3);
    box->addWidget(makeLabel(this, QStringLiteral("Userset Default"), m_usersetDefault), 1, 0);
    box->addWidget(m_usersetDefault, 1, 1);
    return makeGroup(this, QStringLiteral("Userset"), box);
}

QWidget* CTovaneGeneralPage::buildCameraLink()
{
    m_cameraLinkTaps = makeEditableList(this, {"1", "2", "3", "4", "8", "10"});
    m_baseClock = new RadioGroup(this, {{QStringLiteral("85MHz"), 0}, {QStringLiteral("65MHz"), 1}, {QStringLiteral("45MHz"), 2}});
    auto* box = new QGridLayout;
    box->addWidget(makeLabel(this, QStringLiteral("CameraLink Taps(1/2/3/4/8/10)"), m_cameraLinkTaps), 0, 0);
    box->addWidget(m_cameraLinkTaps, 0, 1);
    box->addWidget(new QLabel(QStringLiteral("Base Clock Frequency"), this), 1, 0, 1, 2);
    box->addLayout(makeRow({m_baseClock->button(0), m_baseClock->button(1), m_baseClock->button(2)}), 2, 0, 1, 2);
    box->addWidget(new QLabel(QStringLiteral("(Reboot required)"), this), 3, 0, 1, 2);
    return makeGroup(this, QStringLiteral("CameraLink"), box);
}

QWidget* CTovaneGeneralPage::buildBaudRates()
{
    m_normalBaudRate = makeList(this, texts(kNormalRates));
    m_temporaryBaudRate = makeList(this, texts(kExtendedRates));
    m_expandedBaudRate = makeList(this, texts(kExtendedRates));
    auto* temporaryLabel = makeLabel(this, QStringLiteral("Temporarily(immediate)"), m_temporaryBaudRate);
    auto* expandedLabel = makeLabel(this, QStringLiteral("Expanded(Need reboot)"), m_expandedBaudRate);
    // Only the rate the camera uses after its next start is offered; the
    // other two are read but stay hidden.
    for (QWidget* hidden : std::initializer_list<QWidget*>{temporaryLabel, m_temporaryBaudRate, expandedLabel, m_expandedBaudRate})
        hidden->hide();
    auto* box = new QVBoxLayout;
    box->addWidget(makeLabel(this, QStringLiteral("Normal(Need reboot)"), m_normalBaudRate));
    box->addWidget(m_normalBaudRate);
    box->addLayout(makeRow({temporaryLabel, m_temporaryBaudRate, expandedLabel, m_expandedBaudRate}));
    box->addStretch();
    return makeGroup(this, QStringLiteral("Baudrate"), box);
}

QWidget* CTovaneGeneralPage::buildUnusedDefectControls()
{
    // Defect checks belong to the Defect tab; the controls are kept hidden here.
    auto* holder = new QWidget(this);
    auto* box = new QGridLayout(holder);
    box->addWidget(new QCheckBox(QStringLiteral("Check WhitePixel"), holder), 0, 0);
    box->addWidget(new QCheckBox(QStringLiteral("Check BlackPixel"), holder), 0, 1);
    box->addWidget(new QLabel(QStringLiteral("Defect Threshold"), holder), 1, 0);
    box->addWidget(makeEdit(holder), 1, 1);
    box->addWidget(new QLabel(QStringLiteral("Defect Ratio"), holder), 2, 0);
    box->addWidget(makeEdit(holder), 2, 1);
    holder->hide();
    return holder;
}

void CTovaneGeneralPage::declareBindings()
{
    bind().edit(m_offsetX, QStringLiteral("OffsetX"), cmd::OFFSETX);
    bind().edit(m_offsetY, QStringLiteral("OffsetY"), cmd::OFFSETY);
    bind()
        .edit(m_frameRate, QStringLiteral("Frame Rate"), cmd::FRAMERATE)
        .line(Line::scaled(cmd::FRAMERATE, 1000000.0))
        .savedAs(Line::scaledToNearest(cmd::FRAMERATE, 1000000.0));
    bind().check(m_frameRateAuto, cmd::FRAMERATE_AUTO).then([this](int automatic) { m_frameRate->setEnabled(automatic == 0); });
    // Binning rescales the image, so a file applies it before the offsets.
    bind().check(m_hBinning, cmd::HBIN).values(1, 2).appliedFirst();
    bind().check(m_vBinning, cmd::VBIN).values(1, 2).appliedFirst();
    bind().check(m_reverseX, cmd::REVERSEX);
    bind().check(m_reverseY, cmd::REVERSEY);
    bind().combo(m_pixelDepth, QStringLiteral("PixelDepth"), cmd::PIXEL_DEPTH).values(kPixelDepths);
    bind().radios(m_testChart, QStringLiteral("TestChart"), cmd::TESTCHART).zeroWhenUnchecked();
    bind().combo(m_cameraLinkTaps, QStringLiteral("CameraLink Taps(1/2/3/4/8/10)"), cmd::CAMERALINK_TAP).itemText();
    bind().button(m_usersetLoad, cmd::USERSET_LOAD).selectedIndexOf(m_usersetSelector);
    bind().button(m_usersetSave, cmd::USERSET_SAVE).selectedIndexOf(m_usersetSelector);
    bind().button(m_reboot, cmd::RESET);
    // The serial speed belongs to the link, not to the image: files of
    // settings leave it out.
    bind().combo(m_normalBaudRate, QStringLiteral("Normal(Need reboot)"), cmd::BAUDRATE).values(kNormalRates).notASetting();
}

void CTovaneGeneralPage::declareLoad()
{
    load()
        .text(cmd::VENDOR, m_vendor, QStringLiteral("Vendor="))
        .text(cmd::MODEL, m_model, QStringLiteral("Model="))
        .text(cmd::ID, m_serialNumber, QStringLiteral("ID="))
        .text(cmd::VERSION, m_version, QStringLiteral("Version="))
        .text(cmd::MANUFACTURER, m_manufacturer)
        .text(cmd::USER_ID, m_userDefinedName)
        .number(cmd::WIDTH, m_width, printedAs("Width = %d"))
        .number(cmd::HEIGHT, m_height, printedAs("Height = %d"))
        .number(cmd::OFFSETX, m_offsetX)
        .number(cmd::OFFSETY, m_offsetY)
        .check(cmd::REVERSEX, m_reverseX)
        .check(cmd::REVERSEY, m_reverseY)
        // 0, 1, 2 are 85, 65, 45 MHz; anything else shows the 85 MHz default.
        .number(cmd::BASE_CLOCK, [this](int clock) { m_baseClock->show(clock >= 0 && clock <= 2 ? clock : 0); })
        .number(cmd::CAMERALINK_TAP, m_cameraLinkTaps)
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
        .radios(cmd::TESTCHART, m_testChart)
        .text(cmd::POWER_STATUS, m_powerStatus)
        .number(cmd::PIXEL_DEPTH, [this](int depth) { selectValue(m_pixelDepth, kPixelDepths, depth); })
        .number(cmd::BAUDRATE, [this](int rate) { selectValue(m_normalBaudRate, kNormalRates, rate); })
        .number(cmd::BAUDRATE_TMP, [this](int rate) { selectValue(m_temporaryBaudRate, kExtendedRates, rate); })
        .number(cmd::BAUDRATE_SAVE, [this](int rate) { selectValue(m_expandedBaudRate, kExtendedRates, rate); });
}
