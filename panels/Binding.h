#pragma once

// What every control bound to a camera setting shares. The setting (Setting.h)
// is the model: it holds the camera's value, and every control bound to it
// shows that value whenever it changes. A control sends through the send
// path (SendPath.h), which keeps the setting in step with the camera: a
// refused value is read back, so the control shows what the camera holds.
// The kinds of binding are in ControlBindings.h; pages declare them through
// Bindings (Bindings.h).

#include "SendMode.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QObject;
class QWidget;
class SendPath;
class Setting;

using ValueHook = std::function<void(int value)>;

// What a control shows of a setting the camera has given no value for.
inline const QString kNotRead = QStringLiteral("not read");
// ...and of one the camera does not have.
inline const QString kNotAvailable = QStringLiteral("N/A");

class Binding {
public:
    virtual ~Binding();

    const QString& caption() const { return m_caption; }
    // The setting the control shows and sends; null for a command's button.
    Setting* setting() const { return m_setting; }
    // The control shows and sends another setting from now on (a group of
    // controls that stands for the common gain or for one tap's).
    void rebind(Setting& setting);
    // The control the binding belongs to.
    virtual QObject* control() const = 0;
    // The widgets the user works: the control, or each of its buttons.
    virtual QList<QWidget*> widgets() const;

    // What the control's tool tip says: the line it sends ("GAIN-FINE <n>"),
    // the range of the value (the camera's HELP answer where the page read
    // one, otherwise the control's own limits) and the camera's value.
    // Composed from the setting alone: nothing is asked of the camera.
    QString toolTip() const;

protected:
    Binding(SendPath& path, Setting* setting, QString caption);

    // Shows the setting as it is now; called whenever it changes.
    virtual void showSetting() = 0;
    // Follows the setting from now on, and shows it now.
    void followSetting();
    // Shows the setting and tells what the control sends again.
    void refresh();
    // Keeps the tool tip of the widgets up to date from now on.
    void keepToolTip();
    void refreshToolTip();

    // The line the control sends, with a placeholder for the value; empty
    // for a control that only shows its setting.
    virtual QString sentLine() const;
    // The values the control itself can send ("0 to 255", "8, 10 or 12");
    // empty when it does not limit them.
    virtual QString controlRange() const { return {}; }

    // Runs onlyIf, before, sends the argument through the send path, then
    // runs then with the value the setting holds afterwards. False when the
    // line was not sent or not accepted.
    bool deliver(const QByteArray& argument, int value);
    bool deliver(int value) { return deliver(QByteArray::number(value), value); }

    // Runs a user action now, or after the exchange that is running.
    void whenIdle(std::function<void()> action);

    // The receiver of the setting's signals: it dies with the binding, so no
    // signal reaches a binding that is gone.
    QObject* receiver() { return &m_receiver; }

    SendPath& m_path;
    QPointer<Setting> m_setting;
    QString m_caption;
    std::optional<SendMode> m_mode;
    std::function<bool(int value)> m_onlyIf;
    ValueHook m_before;
    ValueHook m_then;
    QList<Setting*> m_thenRead;

private:
    QObject m_receiver;
    // Brings the tool tips up to date before they show (the control's own
    // limits may have changed); receives the setting's range changes.
    QObject* m_toolTips = nullptr;
};

// What a control or a list shows of the camera's value: the value as the
// camera gave it, "(empty)", "not read" or "N/A".
QString shownValue(const Setting& setting);

// "0 to 7" for a run of consecutive values, "1, 2 or 4" for others (at most
// a dozen, then "…"); empty for none.
QString valuesText(const QList<int>& values);
// "a, b or c".
QString listedWithOr(QStringList texts);

// The fluent part every kind of binding shares.
template <class Derived>
class BindingWith : public Binding {
public:
    // How this control's lines go out (a slider streams; others wait).
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
    // Runs after the line went out, with the value the setting holds then:
    // the value sent when the camera accepted it, the camera's own when it
    // refused, so whatever follows the control follows what the camera holds.
    Derived& then(ValueHook hook)
    {
        m_then = std::move(hook);
        return self();
    }
    // Settings this control's line changes on the camera besides its own
    // (a preset sets the time the edit shows): read again after each send.
    Derived& thenRead(QList<Setting*> settings)
    {
        m_thenRead = std::move(settings);
        return self();
    }
    // Runs first when the user acts; false sends nothing (for checks that
    // ask the camera or tell the user why not).
    Derived& onlyIf(std::function<bool(int value)> allowed)
    {
        m_onlyIf = std::move(allowed);
        return self();
    }

protected:
    using Binding::Binding;
    Derived& self() { return static_cast<Derived&>(*this); }
};
