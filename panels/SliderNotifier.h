#pragma once

#include <QFlags>
#include <QObject>

class QAbstractSlider;

// The scroll notifications a slider gives while the user works it, as pages
// distinguish them: arrow keys (and the mouse wheel) move a line, clicks in
// the channel and Page Up/Down a page, Home/End to either end, dragging the
// thumb tracks it, and every gesture ends with one end-of-scroll when the key
// or mouse button is released. The release of a dragged thumb is that
// end-of-scroll, so a slider that reacts to everything sends the final
// position of a drag exactly once more.
enum class SliderNotification : unsigned {
    LineLeft = 0x001,
    LineRight = 0x002,
    PageLeft = 0x004,
    PageRight = 0x008,
    ThumbTrack = 0x010,
    Left = 0x020,
    Right = 0x040,
    EndScroll = 0x080,
};
Q_DECLARE_FLAGS(SliderNotifications, SliderNotification)
Q_DECLARE_OPERATORS_FOR_FLAGS(SliderNotifications)

inline constexpr SliderNotifications kEveryNotification = SliderNotifications::fromInt(0xff);

// Turns Qt's slider actions into those notifications. Only user actions are
// reported: moving the slider from code (setValue) reports nothing.
//
// Each notification carries the position the slider shows at that moment.
// Qt announces an action before it commits the new value, so the position is
// read from sliderPosition(), which already holds the new place.
class SliderNotifier : public QObject {
    Q_OBJECT
public:
    explicit SliderNotifier(QAbstractSlider* slider);

    QAbstractSlider* slider() const { return m_slider; }

signals:
    void notified(SliderNotification kind, int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onAction(int action);
    void onReleased();
    void emitNotification(SliderNotification kind);

    QAbstractSlider* m_slider;
    bool m_actedSincePress = false;
};
