#pragma once

#include "LongOperation.h"
#include "Page.h"
#include "tovane/TovaneShadingSettings.h"

#include <optional>

class OperationProgress;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// The "Shading" tab of the Tovane panel: the camera's shading detection in
// peak or average mode, storing and loading detected patterns in numbered
// slots, the correction and the pattern check.
//
// A detection polls the camera once a second, counting the seconds on its
// mode button while the window repaints and other controls can be used; the
// line below the buttons shows the polls against the limit with a "Stop"
// button, and says how the detection ended (it gives up after kMaxPolls).
class CTovaneShadingPage : public Page {
    Q_OBJECT
public:
    using Settings = TovaneShadingSettings;

    explicit CTovaneShadingPage(PageContext context, QWidget* parent = nullptr);

    static constexpr int kMaxPolls = 120;
    static constexpr int kPollPauseMs = 1000;

private:
    void buildLayout();
    void declareBindings();

    // Detection in a mode (1 peak, 2 average), counted on the mode's button;
    // nothing when the camera refused to start it.
    std::optional<LongOperation::Outcome> detect(int mode);
    // Detection, then Save when the camera finished; pressed stays disabled.
    void detectAndSave(int mode, QPushButton* pressed);

    QPushButton* m_peak;
    QPushButton* m_average;
    QCheckBox* m_patternCheck;
    QComboBox* m_slots;
    QPushButton* m_save;
    QPushButton* m_load;
    QCheckBox* m_correction;
    QPushButton* m_detectAndSavePeak;
    QPushButton* m_detectAndSaveAverage;
    OperationProgress* m_progress;
};
