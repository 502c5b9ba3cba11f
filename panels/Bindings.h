#pragma once

// The controls of a page bound to camera commands, declared once per page:
//
//   bind().edit(m_offsetX, "OffsetX", cmd::OFFSETX);                  // Enter sends "OFFSETX <n>"
//   bind().edit(m_step, "Step", cmd::GAIN_FINE).slider(m_gain).then(...);
//   bind().slider(m_gain, "Gain", cmd::GAIN_FINE).edit(m_step)
//         .readout(m_db, scaledBy(0.1, "%3.2lf"));                     // SendLine on every notification
//   bind().slider(m_vsub, "VSUB", cmd::VSUB_EXTERNAL)
//         .on(SliderNotification::ThumbTrack).send(SendMode::transact());
//   bind().combo(m_depth, "PixelDepth", cmd::PIXEL_DEPTH).values({8, 12, 16});
//   bind().check(m_hbin, cmd::HBIN).values(1, 2);
//   bind().radios(m_testChart, "Test Chart", cmd::TESTCHART);            // RadioGroup of value buttons
//   bind().combo(m_source4, "GPO-SOURCE (4)", cmd::GPO_SRC).indexed("4"); // "GPO-SRC 4 <index>"
//   bind().check(m_wide, cmd::WIDED_ENABLE).onRefused([this](int) { showLastError(); });
//   bind().button(m_reset, cmd::RESET);
//   bind().button(m_factory, cmd::FACTORY_DEFAULT).send(SendMode::transact(5.0)).disabledWhileSending();
//   bind().action(m_fire, [this] { fireSoftTrigger(); });                // the page's own handler
//   bind().onSlider(m_hue, "Hue", [this](SliderNotification kind, int position) { ... });
//
// Hooks: before(value) runs just before the send, onRefused(value) when the
// camera refused or did not answer, then(value) after the send and after the
// paired controls followed.
//
// Commands go out only on user actions (Enter in an edit, clicked,
// activated, slider actions), so loading values into the controls never
// sends anything. Lines are "%s %d" of the command word and the value unless
// a binding composes its own. Edits, combos, check boxes, radios and buttons
// send with Transact (1.0 s) unless declared otherwise; sliders write with
// StreamLine and do not wait, because a drag streams one line per notification.
//
// A user action that arrives while another exchange runs (a long operation
// lets the window take input meanwhile) waits until that exchange is over.
//
// When the camera refuses a line, the control shows the camera's value again:
// the paired controls do not follow the refused value, and the load step that
// fills the control (LoadPlan) runs again, or, where the page has none, the
// command word is queried. The panel's status line then tells which line was
// refused and the camera's reason (GET-LAST-ERROR). A streamed line's refusal
// is handled the same way once its answer has been collected. A binding with
// an onRefused hook of its own handles the refusal itself instead.
//
// Every declaration names the control's caption (its label), which becomes
// the control's accessible name.
//
// Settings files: every binding but a button's stands for a camera setting,
// and settingLine() composes the line the page would send for the value the
// control shows now. A page's file of settings is made from these lines (see
// Page::settingLines). Line composers only compose: a check that asks the
// camera or tells the user something before a send belongs in onlyIf(). A
// control that is no setting of its own (a shortcut that fills another
// control, a view of a value another control holds, the serial speed) is
// declared notASetting(). A setting sent by the page's own handlers, or whose
// line is made of several controls (a region row, a curve point), is declared
// with setting():
//
//   bind().combo(m_preset, "Exposure preset", cmd::EXP).itemData().notASetting();
//   bind().check(m_hbin, cmd::HBIN).values(1, 2).appliedFirst();    // binning rescales the image
//   bind().check(m_matrix, cmd::CR_TF).onlyIf([this](int on) { return matrixAllowed(on); });
//   bind().setting(m_awb, cmd::AWB, [this] { return awbLine(); });
//   bind().edit(m_rate, "Frame Rate", cmd::FRAMERATE).line(Line::scaled(cmd::FRAMERATE, 1e6))
//         .savedAs(Line::scaledToNearest(cmd::FRAMERATE, 1e6));        // shown in fps, kept exactly

#include "ControlBindings.h"
#include "SliderNotifier.h"

#include <QList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Connection;
class QAbstractButton;
class QAbstractSlider;
class QComboBox;
class QLineEdit;
class QObject;
class RadioGroup;

// A page's bindings. Owns them; the controls belong to the page.
class Bindings {
public:
    explicit Bindings(Connection& connection);
    ~Bindings();
    Bindings(const Bindings&) = delete;
    Bindings& operator=(const Bindings&) = delete;

    EditBinding& edit(QLineEdit* edit, const QString& caption, const QByteArray& word);
    SliderBinding& slider(QAbstractSlider* slider, const QString& caption, const QByteArray& word);
    ComboBinding& combo(QComboBox* combo, const QString& caption, const QByteArray& word);
    CheckBinding& check(QAbstractButton* box, const QByteArray& word);
    RadioBinding& radios(RadioGroup* group, const QString& caption, const QByteArray& word);
    ButtonBinding& button(QAbstractButton* button, const QByteArray& word);
    // A button with a handler of the page's own.
    void action(QAbstractButton* button, std::function<void()> handler);
    // A setting the page sends itself, or whose line several controls make:
    // kept in files of settings under word (and index), sent by none.
    SettingBinding& setting(QObject* control, const QByteArray& word,
                            std::function<std::optional<QByteArray>()> compose);
    // A slider whose notifications the page handles itself (for example
    // sliders that fill other controls and send only when released).
    SliderNotifier* onSlider(QAbstractSlider* slider, const QString& caption,
                             std::function<void(SliderNotification kind, int position)> handler);

    // How a refused control is given the camera's value back: the page runs
    // the load step that fills it, returning false when it has none.
    void setRestorer(std::function<bool(QObject* control)> restorer);

    // Every binding, in the order they were declared.
    QList<const Binding*> all() const;

private:
    template <class B, class... Args>
    B& add(Args&&... args);

    Connection& m_connection;
    std::vector<std::unique_ptr<Binding>> m_bindings;
    std::function<bool(QObject* control)> m_restorer;
};
