#pragma once

// Placing the application's windows by their frames: the title bar and the
// borders a window manager adds are part of where a window stands. The
// functions here compute frame rectangles; FrameWatcher tells when a window
// manager has framed a window, so that a window placed before its frame was
// known can be placed again by the same rule.

#include <QHash>
#include <QList>
#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

// Where "&Control" puts the Tovane panel: beside the main window, 10 pixels
// to the right of it and level with its top, unless the panel would then
// reach past the screen's right edge; then flush with that edge. Rectangles
// are frame rectangles; "right" is the first pixel column past the window.
QPoint placeBesideMainWindow(const QRect& mainFrame, int panelWidth, int screenRight);

// The band at the top of a frame that its title bar takes.
QRect titleBarOf(const QRect& frame, const QMargins& margins);

// The wanted frame pulled into the area (fittedIntoArea); where it would then
// cover one of the rectangles to keep in sight (the main window's menu bar,
// other windows' title bars), moved down just below them, and shortened where
// the area is too short for it there.
QRect placedClearOf(const QRect& wanted, const QRect& area, const QList<QRect>& keepInSight);

// A frame of this size in a corner of the area.
enum class AreaCorner { BottomLeft, BottomRight };
QRect frameInCorner(QSize frameSize, const QRect& area, AreaCorner corner);

// The frame margins of a top-level window: none until a window manager has
// framed it.
QMargins frameMarginsOf(const QWidget* window);

// Tells when a window manager has framed one of the watched windows: its
// frame margins, none until then, have become known. A window cannot be
// dragged before it has a frame, so its placement rule may safely run again.
class FrameWatcher : public QObject {
    Q_OBJECT
public:
    explicit FrameWatcher(std::function<void(QWidget* window)> onFramed, QObject* parent = nullptr);

    void watch(QWidget* window);

    // The margins of a window framed so far; none before the first. The
    // same window manager frames every window alike, so a window not yet
    // framed is expected to get these.
    QMargins knownMargins() const { return m_knownMargins; }
    // The window's frame margins and frame as they are, or as they will be
    // once it is framed.
    QMargins expectedMargins(const QWidget* window) const;
    QRect expectedFrame(const QWidget* window) const;
    // Puts the window's frame there, with the margins it has or is expected to get.
    void setFrame(QWidget* window, const QRect& frame) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(QWidget*)> m_onFramed;
    QHash<QObject*, bool> m_framed;
    QMargins m_knownMargins;
};
