#pragma once

#include "Page.h"
#include "tovane/TovaneFrameBufferSettings.h"

class QCheckBox;
class QLabel;
class RadioGroup;

// The "FrameBuffer" tab of the Tovane panel: what the camera does with whole
// frames in its frame memory: averaging over 1 to 16 frames, wide dynamic
// range, and the frame operation tap. It reads nothing until the user presses
// "Refresh", and shows the camera's own reason when it refuses averaging or
// wide dynamic range.
class CTovaneFrameBufferPage : public Page {
    Q_OBJECT
public:
    using Settings = TovaneFrameBufferSettings;

    explicit CTovaneFrameBufferPage(PageContext context, QWidget* parent = nullptr);

private:
    void showAveraging();

    RadioGroup* m_averaging;
    QLabel* m_averagingError;
    QCheckBox* m_wideDynamicRange;
    QLabel* m_wideDynamicRangeError;
    RadioGroup* m_frameOperationTap;
};
