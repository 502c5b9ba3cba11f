#include "TovaneDefectPage.h"

#include "CommandWords.h"
#include "Controls.h"
#include "Display.h"
#include "Link.h"
#include "LongOperation.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace {

// The camera's defect memories as DEFECT-PATTERN-LOAD addresses them.
constexpr int kFactoryData = 0;
constexpr int kUserData = 1;
constexpr int kCheckedPattern = 2;

const QString kResultCaption = QStringLiteral("Defect Detection Result");

} // namespace

CTovaneDefectPage::CTovaneDefectPage(PageContext context, QWidget* parent) : Page(context, parent)
{
    m_white.kind = 1;
    m_white.resultPrefix = QStringLiteral("WhitePixel");
    m_black.kind = 2;
    m_black.resultPrefix = QStringLiteral("BlackPixel");

    auto* column = new QVBoxLayout;
    column->addWidget(buildDetection());
    column->addWidget(buildCorrection());
    column->addStretch();
    layOutColumns(this, {column});
    declareBindings();
}

QWidget* CTovaneDefectPage::buildSection(Section& section, const QString& title)
{
    // Two sections share their captions, so each control's name begins with
    // its section's title.
    const auto named = [&title](QWidget* control, const QString& caption) {
        control->setAccessibleName(title + ' ' + caption);
        return control;
    };
    section.settings = new QPushButton(QStringLiteral("Exposure \nGain\nThreshold"), this);
    named(section.settings, QStringLiteral("Exposure, Gain, Threshold"));
    section.exposure = makeEdit(this);
    named(section.exposure, QStringLiteral("Exposure"));
    section.gain = makeEdit(this);
    named(section.gain, QStringLiteral("Gain"));
    section.threshold = makeEdit(this);
    named(section.threshold, QStringLiteral("Threshold"));
    section.start = new QPushButton(QStringLiteral("Start Detection"), this);
    named(section.start, QStringLiteral("Start Detection"));
    section.detectedNumber = new QPushButton(QStringLiteral("DetectedNumber"), this);
    named(section.detectedNumber, QStringLiteral("DetectedNumber"));
    section.result = new QLabel(kResultCaption, this);

    auto* box = new QGridLayout;
    box->addWidget(section.settings, 0, 0, 3, 1);
    box->addWidget(section.exposure, 0, 1);
    box->addWidget(section.gain, 1, 1);
    box->addWidget(section.threshold, 2, 1);
    box->addWidget(section.start, 3, 0);
    box->addWidget(section.detectedNumber, 4, 0);
    box->addWidget(section.result, 4, 1);
    return makeGroup(this, title, box);
}

QWidget* CTovaneDefectPage::buildDetection()
{
    auto* sections = new QGridLayout;
    sections->addWidget(buildSection(m_white, QStringLiteral("White Pixel")), 0, 0);
    sections->addWidget(buildSection(m_black, QStringLiteral("Black Pixel")), 0, 1);
    m_check = new QCheckBox(QStringLiteral("Check"), this);
    m_writeUserData = new QPushButton(QStringLiteral("WriteUserData"), this);
    sections->addWidget(m_check, 1, 0);
    sections->addWidget(m_writeUserData, 1, 1);
    return makeGroup(this, QStringLiteral("Defect Detection"), sections);
}

QWidget* CTovaneDefectPage::buildCorrection()
{
    m_correction = new QCheckBox(QStringLiteral("Correction"), this);
    m_loadFactory = new QPushButton(QStringLiteral("Load Factory Data"), this);
    m_loadUser = new QPushButton(QStringLiteral("Load User Data"), this);
    return makeGroup(this, QStringLiteral("Defect Correction"),
                     makeRow({m_correction, m_loadFactory, m_loadUser, nullptr}));
}

void CTovaneDefectPage::declareSectionBindings(Section& section)
{
    bind().action(section.settings, [this, &section] { sendSettings(section); });
    bind().action(section.start, [this, &section] { runDetection(section); });
    bind().action(section.detectedNumber, [this, &section] { showDetectedNumber(section); });
}

void CTovaneDefectPage::declareBindings()
{
    declareSectionBindings(m_white);
    declareSectionBindings(m_black);
    // "Check" switches the correction and loads the pattern just detected.
    bind().check(m_check, cmd::DEFECT_CORRECTION).then([this](int) {
        Transact(connection(), setLine(cmd::DEFECT_PATTERN_LOAD, kCheckedPattern), 1.0);
    });
    bind().check(m_correction, cmd::DEFECT_CORRECTION);
    bind().button(m_loadFactory, cmd::DEFECT_PATTERN_LOAD).argument([] { return kFactoryData; });
    bind().button(m_loadUser, cmd::DEFECT_PATTERN_LOAD).argument([] { return kUserData; });
    bind().button(m_writeUserData, cmd::DEFECT_PATTERN_SAVE).disabledWhileSending();
}

void CTovaneDefectPage::sendSettings(const Section& section)
{
    // All three are sent, or none when one of them is not a number.
    const std::optional<int> exposure = readWholeNumber(section.exposure->text());
    const std::optional<int> gain = readWholeNumber(section.gain->text());
    const std::optional<int> threshold = readWholeNumber(section.threshold->text());
    if (!exposure || !gain || !threshold)
        return;
    Transact(connection(), setLine(cmd::EXP, *exposure), 1.0);
    Transact(connection(), setLine(cmd::GAIN_FINE, *gain), 1.0);
    Transact(connection(), setLine(cmd::DEFECT_THRESHOLD, *threshold), 1.0);
}

void CTovaneDefectPage::runDetection(Section& section)
{
    RunningButton running(section.start);
    if (section.result->text() == LongOperation::notFinishedText())
        section.result->setText(kResultCaption);
    LongOperation operation(connection(), this);
    Transact(connection(), setLine(cmd::DEFECT_DETECTION, section.kind), 1.0);
    // The caption counts the polls: Start Detection 0, Start Detection 1 ...
    const LongOperation::Outcome outcome = operation.pollUntil(
        cmd::DEFECT_DETECTION, {.pauseMs = kPollPauseMs, .maxPolls = kMaxPolls, .beforePause = [&running](int polls) {
                                    running.showProgress(QStringLiteral("%1 %2").arg(running.caption()).arg(polls));
                                }});
    if (outcome == LongOperation::Outcome::GaveUp)
        section.result->setText(LongOperation::notFinishedText());
}

void CTovaneDefectPage::showDetectedNumber(Section& section)
{
    // A count only from an answer that checks out; anything else failed.
    int count = -1;
    const bool answered = QueryInts(connection(), cmd::DEFECT_DETECTION_RESULT, "%d", {&count});
    section.result->setText(answered && count >= 0 ? QStringLiteral("%1 %2").arg(section.resultPrefix).arg(count)
                                                    : QStringLiteral("Detection failed"));
}
