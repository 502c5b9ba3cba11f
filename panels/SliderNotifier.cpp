#include "SliderNotifier.h"

#include <QAbstractSlider>
#include <QKeyEvent>
#include <QMouseEvent>

SliderNotifier::SliderNotifier(QAbstractSlider* slider) : QObject(slider), m_slider(slider)
{
    connect(slider, &QAbstractSlider::actionTriggered, this, &SliderNotifier::onAction);
    connect(slider, &QAbstractSlider::sliderReleased, this, &SliderNotifier::onReleased);
    slider->installEventFilter(this);
}

void SliderNotifier::emitNotification(SliderNotification kind)
{
    emit notified(kind, m_slider->sliderPosition());
}

void SliderNotifier::onAction(int action)
{
    m_actedSincePress = true;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        emitNotification(SliderNotification::LineRight);
        break;
    case QAbstractSlider::SliderSingleStepSub:
        emitNotification(SliderNotification::LineLeft);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        emitNotification(SliderNotification::PageRight);
        break;
    case QAbstractSlider::SliderPageStepSub:
        emitNotification(SliderNotification::PageLeft);
        break;
    case QAbstractSlider::SliderToMinimum:
        emitNotification(SliderNotification::Left);
        break;
    case QAbstractSlider::SliderToMaximum:
        emitNotification(SliderNotification::Right);
        break;
    case QAbstractSlider::SliderMove:
        if (m_slider->isSliderDown())
            emitNotification(SliderNotification::ThumbTrack);
        else // the mouse wheel moves by lines
            emitNotification(m_slider->sliderPosition() < m_slider->value() ? SliderNotification::LineLeft
                                                                             : SliderNotification::LineRight);
        break;
    default:
        break;
    }
}

void SliderNotifier::onReleased()
{
    emitNotification(SliderNotification::EndScroll);
}

bool SliderNotifier::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_slider)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_actedSincePress = false;
        break;
    case QEvent::MouseButtonRelease:
        // A dragged thumb ends through sliderReleased; a click in the channel
        // ends here.
        if (!m_slider->isSliderDown() && m_actedSincePress)
            emitNotification(SliderNotification::EndScroll);
        break;
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat())
            break;
        switch (key->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            emitNotification(SliderNotification::EndScroll);
            break;
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
    return false;
}
