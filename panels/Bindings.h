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

#include "Display.h"
#include "SendMode.h"
#include "SliderNotifier.h"

#include <QByteArray>
#include <QList>
#include <QString>

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
class QWidget;
class RadioGroup;

// The line to send for a control's value, or nothing when that value must
// not be sent.
using LineForValue = std::function<std::optional<QByteArray>(int value)>;
using LineForText = std::function<std::optional<QByteArray>(const QString& text)>;
using ValueHook = std::function<void(int value)>;

// Line composers for typed text.
namespace Line {
// "<word> <text>": the text as typed ("%s %s"), possibly empty.
LineForText text(const QByteArray& word);
// "<word> <n>" with n = the typed number times factor, truncated; nothing
// when the text is not a number or n does not fit in 32 bits.
LineForText scaled(const QByteArray& word, double factor);
// "<word> <n>" with n = the number times factor rounded to the nearest whole
// number: a value shown divided by factor ("%f" of micro-units) gives back
// exactly the camera's value, where truncating may lose one.
LineForText scaledToNearest(const QByteArray& word, double factor);
// "<word> <n>" when the text is a whole number within min..max
// (readWholeNumber); nothing for any other text, empty or overflowing.
LineForText wholeNumber(const QByteArray& word, int min = INT_MIN, int max = INT_MAX);
} // namespace Line

// What every binding shares: the command word, the caption, how it sends,
// and hooks that run before and after the send with the value sent.
class Binding {
public:
    virtual ~Binding();

    const QString& caption() const { return m_caption; }
    const QByteArray& word() const { return m_word; }
    // Pages whose controls change meaning (common or per-tap gains) rename
    // the command.
    void setWord(const QByteArray& word) { m_word = word; }

    // Whether the control stands for a camera setting (buttons are actions).
    bool isSetting() const { return m_isSetting; }
    // The setting's word and index as a read of it names them, blanks
    // simplified: "GAIN-FINE", "STROBE-TIME 4".
    QByteArray settingKey() const;
    // The line the page would send for the value the control shows now (as
    // "SP-FL  1": a word's own trailing blank is kept), without carriage
    // returns; nothing when the binding is no setting or the control shows no
    // value (empty text, "N/A", no item chosen, no button checked).
    std::optional<QByteArray> settingLine() const;
    // How long the page waits for the camera to answer its line: its own
    // time-out, or 1.0 s where the page does not wait.
    double answerTimeoutSeconds() const;
    // Settings applied before the page's other ones, whatever the load order.
    bool isAppliedFirst() const { return m_appliedFirst; }

protected:
    Binding(Connection& connection, QString caption, QByteArray word, SendMode mode);

    // settingLine() for the control's kind of value; nothing when it shows none.
    virtual std::optional<QByteArray> composeSetting() const = 0;

    // "<word> <argument>", or "<word> <index> <argument>" for indexed bindings.
    QByteArray lineWith(const QByteArray& argument) const;
    QByteArray lineWith(int value) const { return lineWith(QByteArray::number(value)); }

    // Runs before, sends, runs onRefused if the camera refused, lets the
    // controls follow, runs then. False when the camera refused.
    bool deliver(const QByteArray& line, int value, const std::function<void()>& follow = {});

    // Runs a user action now, or after the exchange that is running.
    void whenIdle(std::function<void()> action);

    // The control the binding belongs to; what a refusal restores.
    virtual QObject* control() const = 0;
    // Shows a value read back from the camera when no load step fills the control.
    virtual void showReadBack(int value) = 0;

    Connection& m_connection;
    QString m_caption;
    QByteArray m_word;
    QByteArray m_index;
    SendMode m_mode;
    std::function<bool(int value)> m_onlyIf;
    ValueHook m_before;
    ValueHook m_onRefused;
    ValueHook m_then;
    bool m_isSetting = true;
    bool m_appliedFirst = false;

private:
    friend class Bindings;
    void refused(const QByteArray& line, const QString& reason);
    void streamedLineRefused(const QByteArray& line);
    void restore();

    // Runs the load step that fills a control; false when there is none.
    std::function<bool(QObject* control)> m_restorer;
    bool m_streamedRefusalPending = false;
    QByteArray m_lastRefusedLine;
};

// The fluent part every kind of binding shares.
template <class Derived>
class BindingWith : public Binding {
public:
    Derived& send(SendMode mode)
    {
        m_mode = mode;
        return self();
    }
    // Runs just before the line goes out (for example enabling a related control).
    Derived& before(ValueHook hook)
    {
        m_before = std::move(hook);
        return self();
    }
    // Runs after the line went out (for example reading a value back).
    Derived& then(ValueHook hook)
    {
        m_then = std::move(hook);
        return self();
    }
    // Runs, before then, when the camera refused the line or did not answer
    // in time (for example showing the camera's last error).
    Derived& onRefused(ValueHook hook)
    {
        m_onRefused = std::move(hook);
        return self();
    }
    // The value follows an index of the command, as in "GPO-SRC 4 <n>".
    Derived& indexed(const QByteArray& index)
    {
        m_index = index;
        return self();
    }
    // Runs first when the user acts; false sends nothing (for checks that
    // ask the camera or tell the user why not).
    Derived& onlyIf(std::function<bool(int value)> allowed)
    {
        m_onlyIf = std::move(allowed);
        return self();
    }
    // The control is no camera setting of its own: a file of settings leaves it out.
    Derived& notASetting()
    {
        m_isSetting = false;
        return self();
    }
    // Applying settings sends this one before the page's others: setting it
    // changes them (binning rescales the image), so they must follow.
    Derived& appliedFirst()
    {
        m_appliedFirst = true;
        return self();
    }

protected:
    using Binding::Binding;
    Derived& self() { return static_cast<Derived&>(*this); }
};

// An edit box whose value goes out when the user presses Enter in it
// (QLineEdit::returnPressed, which only the key gives); the paired slider
// follows and the read-out shows the derived value.
class EditBinding : public BindingWith<EditBinding> {
public:
    EditBinding(Connection& connection, QLineEdit* edit, QString caption, QByteArray word);

    EditBinding& slider(QAbstractSlider* slider);
    EditBinding& readout(QWidget* target, Format format);
    // Only a whole number within min..max is sent; anything else (empty
    // text, letters, a fraction, a value outside or beyond 32 bits) sends
    // nothing and leaves the edit as typed.
    EditBinding& accept(int min, int max);
    // accept() over the whole 32-bit range: any text that is not a whole
    // number ("", "N/A", "12.5", too large) sends nothing and stays as typed.
    EditBinding& wholeNumbersOnly();
    EditBinding& line(LineForText compose);
    // How a file of settings composes the edit's line, where that differs
    // from the line Enter sends (a value shown in other units than the
    // camera's, read back exactly).
    EditBinding& savedAs(LineForText compose);
    // Replaces the whole Enter handling (for edits that send a composite
    // command, such as a row of an area table).
    EditBinding& onEnter(std::function<void()> handler);

    QLineEdit* edit() const { return m_edit; }
    QAbstractSlider* pairedSlider() const { return m_slider; }

    // What Enter in the edit does.
    void enter();
    void enterText(const QString& text);
    // Shows a value read from the camera: edit text, slider, read-out.
    void show(int value);

protected:
    QObject* control() const override;
    void showReadBack(int value) override { show(value); }
    std::optional<QByteArray> composeSetting() const override;

private:
    QLineEdit* m_edit;
    QAbstractSlider* m_slider = nullptr;
    QWidget* m_readout = nullptr;
    Format m_format;
    std::optional<std::pair<int, int>> m_accepted;
    LineForText m_compose;
    LineForText m_composeSetting;
    std::function<void()> m_onEnter;
};

// A slider whose position goes out on the notifications it reacts to; the
// paired edit and the read-out follow every step.
class SliderBinding : public BindingWith<SliderBinding> {
public:
    SliderBinding(Connection& connection, QAbstractSlider* slider, QString caption, QByteArray word);

    SliderBinding& edit(QLineEdit* edit);
    SliderBinding& readout(QWidget* target, Format format);
    // The notifications that send; every notification unless restricted.
    SliderBinding& on(SliderNotifications kinds);
    SliderBinding& line(LineForValue compose);

    QAbstractSlider* slider() const { return m_slider; }
    QLineEdit* pairedEdit() const { return m_edit; }
    SliderNotifier* notifier() const { return m_notifier; }

    // Shows a value read from the camera: slider (clamped to its range), edit, read-out.
    void show(int value);

protected:
    QObject* control() const override;
    void showReadBack(int value) override { show(value); }
    std::optional<QByteArray> composeSetting() const override;

private:
    void notified(SliderNotification kind, int position);
    void follow(int value);

    QAbstractSlider* m_slider;
    SliderNotifier* m_notifier;
    QLineEdit* m_edit = nullptr;
    QWidget* m_readout = nullptr;
    Format m_format;
    SliderNotifications m_kinds = kEveryNotification;
    LineForValue m_compose;
};

// A combo box whose selection goes out when the user chooses an item. The
// value sent is the item's index unless declared otherwise.
class ComboBinding : public BindingWith<ComboBinding> {
public:
    ComboBinding(Connection& connection, QComboBox* combo, QString caption, QByteArray word);

    // The value of item i is values[i].
    ComboBinding& values(QList<int> values);
    // "<word> <item text>" ("%s %s"), the text as it stands.
    ComboBinding& itemText();
    // The number at the start of the item text ("%d:%s", as in "7:Pin#7" or
    // " 7(Pin)"); an item that does not begin with a number sends nothing.
    ComboBinding& leadingNumber();
    // The item's data as an integer.
    ComboBinding& itemData();
    ComboBinding& line(LineForValue composeFromIndex);

    QComboBox* combo() const { return m_combo; }

protected:
    QObject* control() const override;
    void showReadBack(int value) override;
    std::optional<QByteArray> composeSetting() const override;

private:
    void activated(int index);

    enum class Argument { Index, Values, Text, LeadingNumber, Data };
    QComboBox* m_combo;
    Argument m_argument = Argument::Index;
    QList<int> m_values;
    LineForValue m_compose;
};

// A check box that sends its state when clicked: 1 checked, 0 unchecked,
// unless other values are declared.
class CheckBinding : public BindingWith<CheckBinding> {
public:
    CheckBinding(Connection& connection, QAbstractButton* box, QByteArray word);

    CheckBinding& values(int unchecked, int checked);
    CheckBinding& line(LineForValue compose);

    QAbstractButton* box() const { return m_box; }

protected:
    QObject* control() const override;
    void showReadBack(int value) override;
    std::optional<QByteArray> composeSetting() const override;

private:
    void clicked(bool checked);

    QAbstractButton* m_box;
    int m_unchecked = 0;
    int m_checked = 1;
    LineForValue m_compose;
};

// Radio buttons that send the value of the clicked button, clicked again or
// not. By default only a button that is checked after the click sends; with
// zeroWhenUnchecked() an unchecked one sends 0.
class RadioBinding : public BindingWith<RadioBinding> {
public:
    RadioBinding(Connection& connection, RadioGroup* group, QString caption, QByteArray word);

    RadioBinding& zeroWhenUnchecked();
    RadioBinding& line(LineForValue compose);

    RadioGroup* group() const { return m_group; }

protected:
    QObject* control() const override;
    void showReadBack(int value) override;
    std::optional<QByteArray> composeSetting() const override;

private:
    void clicked(int value, bool checked);

    RadioGroup* m_group;
    bool m_zeroWhenUnchecked = false;
    LineForValue m_compose;
};

// A push button that sends one command: the word alone, or "<word> <n>" with
// an argument read when it is clicked.
class ButtonBinding : public BindingWith<ButtonBinding> {
public:
    ButtonBinding(Connection& connection, QAbstractButton* button, QByteArray word);

    // The argument, read when the button is clicked; no value sends nothing.
    ButtonBinding& argument(std::function<std::optional<int>()> argument);
    // The argument is the list's selected index; nothing is sent while the
    // list shows no selection.
    ButtonBinding& selectedIndexOf(QComboBox* list);
    // The button stays disabled until the camera has answered, so a slow
    // command cannot be started twice.
    ButtonBinding& disabledWhileSending();

    QAbstractButton* button() const { return m_button; }

protected:
    QObject* control() const override;
    void showReadBack(int) override {}
    std::optional<QByteArray> composeSetting() const override { return std::nullopt; }

private:
    void clicked();

    QAbstractButton* m_button;
    std::function<std::optional<int>()> m_argument;
    bool m_disabledWhileSending = false;
};

// A setting that no binding of its own sends: one the page sends through its
// own handlers, or one whose line is made of several controls (a region row,
// a curve point). It is declared so that a file of settings keeps it; it
// sends nothing. compose gives the line for what the controls show now.
class SettingBinding : public BindingWith<SettingBinding> {
public:
    SettingBinding(Connection& connection, QObject* control, QByteArray word,
                   std::function<std::optional<QByteArray>()> compose);

protected:
    QObject* control() const override { return m_control; }
    void showReadBack(int) override {}
    std::optional<QByteArray> composeSetting() const override { return m_compose(); }

private:
    QObject* m_control;
    std::function<std::optional<QByteArray>()> m_compose;
};

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
