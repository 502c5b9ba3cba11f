#pragma once

// What every binding of a control to a camera command shares: the line
// composers for typed text, and the Binding base that sends a line, runs the
// page's hooks around it and gives a refused control the camera's value back.
// The kinds of binding are in ControlBindings.h; pages declare them through
// Bindings (Bindings.h).

#include "SendMode.h"

#include <QByteArray>
#include <QString>

#include <climits>
#include <functional>
#include <optional>

class Connection;
class QObject;

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
    // The line a control of a value sends: the page's own composition when it
    // gave one, else "<word> <value>".
    std::optional<QByteArray> lineFor(const LineForValue& compose, int value) const
    {
        return compose ? compose(value) : std::optional(lineWith(value));
    }

    // Runs before, sends, runs onRefused if the camera refused, lets the
    // controls follow, runs then. False when the camera refused.
    bool deliver(const QByteArray& line, int value, const std::function<void()>& follow = {});

    // Runs a user action now, or after the exchange that is running.
    void whenIdle(std::function<void()> action);

    // The control the binding belongs to; what a refusal restores.
    virtual QObject* control() const = 0;
    // Shows a value read back from the camera when no load step fills the control.
    virtual void showReadBack(int value) = 0;
    // The value the control stands for now, as a send of it would pass it to
    // the hooks; nothing when it shows none.
    virtual std::optional<int> shownValue() const { return std::nullopt; }

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
    // Runs after the line went out (for example reading a value back). When
    // the camera refused it, it runs once the control shows the camera's
    // value again, with that value, so that whatever follows the control
    // follows what the camera holds.
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
