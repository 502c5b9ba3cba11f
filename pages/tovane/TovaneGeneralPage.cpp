#include "TovaneGeneralPage.h"

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
const QList<int> kUserSets = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

QStringList userSetItems()
{
    QStringList items{QStringLiteral("Default")};
    for (int set : kUserSets.mid(1))
        items << QString::number(set);
    return items;
}

const Format kPerSecond = dividedBy(TovaneGeneralSettings::kMicroFramesPerFrame, "%f");

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
    auto& s = settingsAs<Settings>();
    bind().readout(m_vendor, *s.vendor, QStringLiteral("Vendor="));
    bind().readout(m_model, *s.model, QStringLiteral("Model="));
    bind().readout(m_serialNumber, *s.serialNumber, QStringLiteral("ID="));
    bind().readout(m_version, *s.version, QStringLiteral("Version="));
    bind().readout(m_manufacturer, *s.manufacturer, QString());
    bind().readout(m_userDefinedName, *s.userDefinedName, QString());
    bind().readout(m_width, *s.width, QStringLiteral("Width = "));
    bind().readout(m_height, *s.height, QStringLiteral("Height = "));
    bind().readout(m_temperature, *s.temperature, printedAs("%d degC"));
    bind().readout(m_powerStatus, *s.powerStatus, QString());
    bind().readout(m_actualFrameRate, *s.actualFrameRate, kPerSecond);

    bind().edit(m_offsetX, *s.offsetX);
    bind().edit(m_offsetY, *s.offsetY);
    bind().edit(m_frameRate, *s.frameRate).scaled(Settings::kMicroFramesPerFrame, "%f");
    bind().check(m_frameRateAuto, *s.frameRateAuto);
    // The rate is the camera's to choose while it is automatic.
    whenChanged(*s.frameRateAuto, [this, &s] { m_frameRate->setEnabled(s.frameRateAuto->number().value_or(0) == 0); });
    bind().check(m_hBinning, *s.hBinning).values(1, 2);
    bind().check(m_vBinning, *s.vBinning).values(1, 2);
    bind().check(m_reverseX, *s.reverseX);
    bind().check(m_reverseY, *s.reverseY);
    bind().combo(m_pixelDepth, *s.pixelDepth).values(kPixelDepths);
    bind().radios(m_testChart, *s.testChart).zeroWhenUnchecked();
    bind().combo(m_cameraLinkTaps, *s.cameraLinkTaps).itemText();
    bind().combo(m_normalBaudRate, *s.baudRate).values(kNormalRates);

    bind().button(m_usersetLoad, *s.usersetLoad).selectedIndexOf(m_usersetSelector);
    bind().button(m_usersetSave, *s.usersetSave).selectedIndexOf(m_usersetSelector);
    bind().button(m_reboot, *s.reboot);

    showOnly(m_usersetDefault, *s.usersetDefault, kUserSets);
    showOnly(m_temporaryBaudRate, *s.temporaryBaudRate, kExtendedRates);
    showOnly(m_expandedBaudRate, *s.expandedBaudRate, kExtendedRates);
    whenChanged(*s.baseClock, [this] { showBaseClock(); });
    connect(m_baseClock, &RadioGroup::clicked, this, &CTovaneGeneralPage::showBaseClock);
}

void CTovaneGeneralPage::showOnly(QComboBox* list, Setting& setting, const QList<int>& values)
{
    const auto show = [list, &setting, values] {
        const std::optional<int> value = setting.number();
        list->setCurrentIndex(value ? int(values.indexOf(*value)) : -1);
    };
    whenChanged(setting, show);
    connect(list, &QComboBox::activated, this, show);
}

void CTovaneGeneralPage::showBaseClock()
{
    // 0, 1, 2 are 85, 65, 45 MHz; any other value shows the 85 MHz default.
    const std::optional<int> clock = settingsAs<Settings>().baseClock->number();
    if (!clock)
        m_baseClock->clear();
    else
        m_baseClock->show(m_baseClock->buttonFor(*clock) ? *clock : 0);
}
