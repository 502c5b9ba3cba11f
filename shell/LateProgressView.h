#pragma once

#include "Clock.h"

#include <functional>
#include <memory>

// The progress view of an operation that is usually quick: none at all when
// it ends within half a second on the given clock (the connection's, so tests
// run on virtual time); made on the first look after that, and kept.
template <class View>
class LateProgressView {
public:
    static constexpr qint64 kShowAfterMs = 500;
    using Factory = std::function<std::unique_ptr<View>()>;

    LateProgressView(Clock& clock, Factory createView)
        : m_clock(clock), m_startMs(clock.nowMs()), m_createView(std::move(createView))
    {
    }

    // The view, or null while it is too early (or there is nothing to make it with).
    View* view()
    {
        if (!m_viewCreated && m_clock.nowMs() - m_startMs >= kShowAfterMs) {
            m_viewCreated = true;
            if (m_createView)
                m_view = m_createView();
        }
        return m_view.get();
    }

private:
    Clock& m_clock;
    qint64 m_startMs;
    Factory m_createView;
    bool m_viewCreated = false;
    std::unique_ptr<View> m_view;
};
