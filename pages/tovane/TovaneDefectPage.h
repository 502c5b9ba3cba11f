#pragma once

#include "Page.h"
#include "tovane/TovaneDefectSettings.h"

class OperationProgress;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The "Defect" tab of the Tovane panel: the camera's own defect-pixel
// detection for bright (white) and dark (black) pixels with the exposure,
// gain and threshold it runs at, the number of defects found, defect
// correction, and the camera's factory and user defect data. Opening the
// page reads only the correction's state; each section's edits start empty
// and keep the values of that section's runs.
//
// A detection polls the camera once a second, counting on its button while
// the window repaints; the section's progress line shows the polls against
// the limit with a "Stop" button and says how it ended (it gives up after
// kMaxPolls polls).
class CTovaneDefectPage : public Page {
    Q_OBJECT
public:
    using Settings = TovaneDefectSettings;

    explicit CTovaneDefectPage(PageContext context, QWidget* parent = nullptr);

    static constexpr int kMaxPolls = 60;
    static constexpr int kPollPauseMs = 1000;

private:
    // One detection section: "White Pixel" (kind 1) or "Black Pixel" (kind 2).
    struct Section {
        int kind = 0;
        QString resultPrefix; // "WhitePixel", "BlackPixel"
        QPushButton* settings = nullptr; // sends the three edits
        QLineEdit* exposure = nullptr;
        QLineEdit* gain = nullptr;
        QLineEdit* threshold = nullptr;
        QPushButton* start = nullptr;
        QPushButton* detectedNumber = nullptr;
        QLabel* result = nullptr;
        OperationProgress* progress = nullptr;
    };

    QWidget* buildSection(Section& section, const QString& title);
    QWidget* buildDetection();
    QWidget* buildCorrection();
    void declareSectionBindings(Section& section);
    void declareBindings();

    // Sends the section's three values; a refused one is read back into
    // the section's edit.
    void sendSettings(const Section& section);
    void runDetection(Section& section);
    void showDetectedNumber(Section& section);

    Section m_white;
    Section m_black;
    QCheckBox* m_check;
    QPushButton* m_writeUserData;
    QCheckBox* m_correction;
    QPushButton* m_loadFactory;
    QPushButton* m_loadUser;
};
