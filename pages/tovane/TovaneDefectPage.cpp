#include "TovaneDefectPage.h"

#include "Binding.h"
#include "Controls.h"
#include "OperationProgress.h"
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
    section.progress = new OperationProgress(this, title);
    for (QLineEdit* edit : {section.exposure, section.gain, section.threshold})
        connect(edit, &QLineEdit::textEdited, edit, [edit] { markInvalidInput(edit, false); });

    auto* box = new QGridLayout;
    box->addWidget(section.settings, 0, 0, 3, 1);
    box->addWidget(section.exposure, 0, 1);
    box->addWidget(section.gain, 1, 1);
    box->addWidget(section.threshold, 2, 1);
    box->addWidget(section.start, 3, 0);
    box->addWidget(section.detectedNumber, 4, 0);
    box->addWidget(section.result, 4, 1);
    box->addWidget(section.progress, 5, 0, 1, 2);
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
    auto& s = settingsAs<Settings>();
    declareSectionBindings(m_white);
    declareSectionBindings(m_black);
    // "Check" switches the correction and loads the pattern just detected.
    bind().check(m_check, *s.correction).then([this](int) {
        const CameraCommand& load = *settingsAs<Settings>().loadPattern;
        sendPath().command(setLine(load.word.constData(), kCheckedPattern), load.mode);
    });
    bind().check(m_correction, *s.correction);
    bind().button(m_loadFactory, *s.loadPattern).argument([] { return kFactoryData; });
    bind().button(m_loadUser, *s.loadPattern).argument([] { return kUserData; });
    bind().button(m_writeUserData, *s.savePattern).disabledWhileSending();
}

void CTovaneDefectPage::sendSettings(const Section& section)
{
    auto& s = settingsAs<Settings>();
    const std::pair<QLineEdit*, Setting*> values[] = {
        {section.exposure, s.exposure}, {section.gain, s.gainFine}, {section.threshold, s.threshold}};
    // All three are sent, or none when one of them is not a number.
    QList<int> numbers;
    for (const auto& [edit, setting] : values) {
        const QString why = whyNotWholeNumber(edit->text());
        if (!why.isEmpty()) {
            markInvalidInput(edit, true);
            edit->setFocus();
            sendPath().rejectInput(QStringLiteral("%1: %2; nothing sent").arg(edit->accessibleName(), why));
            return;
        }
        numbers << *readWholeNumber(edit->text());
    }
    for (int i = 0; i < 3; ++i) {
        const auto& [edit, setting] = values[i];
        markInvalidInput(edit, false);
        if (sendPath().set(*setting, numbers.at(i)) == SetOutcome::Accepted)
            continue;
        // What the camera holds instead, as far as it says.
        edit->setText(setting->number() ? QString::number(*setting->number()) : QString());
        edit->setPlaceholderText(setting->isKnown() ? QString() : kNotRead);
    }
}

void CTovaneDefectPage::runDetection(Section& section)
{
    RunningButton running(section.start);
    LongOperation operation(connection(), this);
    // A camera that refuses the start has nothing to finish.
    const CameraCommand& detection = *settingsAs<Settings>().detection;
    if (sendPath().command(setLine(detection.word.constData(), section.kind), detection.mode) == SetOutcome::Refused)
        return;
    // The caption counts the polls: Start Detection 0, Start Detection 1 ...
    const LongOperation::Outcome outcome = operation.pollUntil(
        detection.word, {.pauseMs = kPollPauseMs,
                         .maxPolls = kMaxPolls,
                         .beforePause = [&running](int polls) {
                             running.showProgress(QStringLiteral("%1 %2").arg(running.caption()).arg(polls));
                         },
                         .progress = section.progress});
    if (outcome == LongOperation::Outcome::Stopped)
        sendPath().command(setLine(detection.word.constData(), 0), detection.mode); // the camera's own "stop"
}

void CTovaneDefectPage::showDetectedNumber(Section& section)
{
    // A count only from an answer that checks out; anything else failed.
    Setting& result = *settingsAs<Settings>().detectionResult;
    pageSettings().read(result);
    const std::optional<int> count = result.number();
    section.result->setText(count && *count >= 0 ? QStringLiteral("%1 %2").arg(section.resultPrefix).arg(*count)
                                                 : QStringLiteral("Detection failed"));
}
