#pragma once

#include "LongOperation.h"
#include "Page.h"
#include "brevo/BrevoShadingSettings.h"

#include <optional>

class OperationProgress;
class PageTimer;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class RadioGroup;

// The "Shading" tab of the Brevo panel: the camera's flat-field (shading)
// detection, peak or average, storing the detected pattern in a numbered slot,
// choosing the pattern in use, switching the correction, and a demonstration
// that alternates between correction off and the first three stored patterns
// on a timer.
//
// A detection polls the camera every two seconds with the window repainting
// meanwhile and the polls shown against the limit beside a "Stop" button;
// it gives up after kMaxPolls polls, saying so on that line.
class CBrevoCLShadingPage : public Page {
    Q_OBJECT
public:
    using Settings = BrevoShadingSettings;

    explicit CBrevoCLShadingPage(PageContext context, QWidget* parent = nullptr);

    static constexpr int kMaxPolls = 120;
    static constexpr int kPollPauseMs = 2000;
    static constexpr int kDefaultIntervalMs = 3000;

protected:
    void OnInitDialog() override;

private:
    void buildLayout();
    void declareBindings();
    // The "Last detected" entry after the numbered patterns, and the selections.
    void finishPatternLists();
    void selectPattern();

    // Shows the message and returns true when the camera's correction is on.
    bool refusedForCorrection();
    // The detection procedure; nothing when it did not start (correction on,
    // or the camera refused).
    std::optional<LongOperation::Outcome> detect();
    // Starts the camera's detection in a mode (1 peak, 2 average) and polls
    // it to its end or the limit; nothing when the camera refused to start.
    std::optional<LongOperation::Outcome> runDetection(int mode);
    // Greys out average detection and says the camera lacks it.
    void lacksAverageDetection();
    void detectAndSave();

    void toggleDemonstration();
    void startDemonstration();
    void stopDemonstration();
    void demonstrationTick();
    // What the camera's correction is now, as the demonstration shows it.
    void showDemonstrationState();

    QPushButton* m_detection;
    RadioGroup* m_modes;
    QPushButton* m_save;
    QComboBox* m_slots;
    QPushButton* m_detectAndSave;
    QCheckBox* m_correction;
    QPushButton* m_select;
    QComboBox* m_patterns;
    QPushButton* m_demo;
    QLineEdit* m_intervals;
    QLabel* m_status;
    OperationProgress* m_progress;
    PageTimer* m_demoTimer;

    // The next step of the demonstration cycle, 0 to 5.
    int m_demoStep = 0;
};
