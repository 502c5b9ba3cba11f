#pragma once

// The kinds of binding, one per kind of control: edits, sliders, lists,
// check boxes, radio buttons, read-outs, and buttons that send a command.
// Pages declare them through Bindings (Bindings.h).
//
// Every control bound to a setting shows the setting's value whenever it
// changes (read at load, accepted from any control, read back after a
// refusal), so two controls of one setting never disagree. A setting the
// camera has given no value for shows as not read (an empty box that says
// so, a list with nothing selected, a box partly checked, no radio checked);
// one the camera lacks shows greyed out ("N/A" in a box).

#include "Binding.h"
#include "Display.h"
#include "SliderNotifier.h"

#include <QList>

struct CameraCommand;
class QAbstractButton;
class QAbstractSlider;
class QComboBox;
class QLineEdit;
class QWidget;
class RadioGroup;

// An edit box whose value goes out when the user presses Enter in it
// (QLineEdit::returnPressed, which only the key gives).
//
// A typed number goes out only when it is a whole number within the edit's
// limits (the 32-bit range unless declared). Anything else (empty text,
// letters, a fraction, a value out of range) sends nothing: the text stays
// as typed, the box is marked and the status line says why.
class EditBinding : public BindingWith<EditBinding> {
public:
    EditBinding(SendPath& path, QLineEdit* edit, Setting& setting, QString caption);

    // Only whole numbers within min..max are sent.
    EditBinding& accept(int min, int max);
    // The value is shown divided by factor in a printf format with one
    // double conversion ("%f" of micro-units), and a typed number, which may
    // have a fraction, is sent times factor, truncated.
    EditBinding& scaled(double factor, const char* format);
    // The edit holds text, sent as typed; control characters cannot be typed.
    EditBinding& text();
    // Replaces the whole Enter handling (a row of a table sends its own line).
    EditBinding& onEnter(std::function<void()> handler);

    QLineEdit* edit() const { return m_edit; }
    QObject* control() const override;
    // What the edit takes: text as typed, numbers with a fraction (scaled),
    // or whole numbers.
    bool takesText() const { return m_text; }
    bool takesFractions() const { return m_factor != 0.0; }

    // What Enter in the edit does.
    void enter();

protected:
    void showSetting() override;
    QString controlRange() const override;

private:
    // The argument to send for the text, or why there is none.
    std::optional<QByteArray> argumentFor(const QString& text, QString& why) const;
    void markInvalid(bool invalid);

    QLineEdit* m_edit;
    int m_min;
    int m_max;
    double m_factor = 0.0;
    const char* m_format = nullptr;
    bool m_text = false;
    bool m_disabledAsUnavailable = false;
    std::function<void()> m_onEnter;
};

// A slider whose position goes out on the notifications it reacts to,
// streamed without waiting unless declared otherwise.
class SliderBinding : public BindingWith<SliderBinding> {
public:
    SliderBinding(SendPath& path, QAbstractSlider* slider, Setting& setting, QString caption);

    // The notifications that send; every notification unless restricted.
    SliderBinding& on(SliderNotifications kinds);
    // The slider's range follows the camera's HELP range of the setting;
    // when the camera gives none, 0..0, or with keepWhenAbsent the range the
    // slider has.
    SliderBinding& rangeFromCamera(bool keepWhenAbsent = false);
    // A read-out that shows the position while the user moves the slider.
    SliderBinding& readout(QWidget* target, Format format);

    QAbstractSlider* slider() const { return m_slider; }
    SliderNotifier* notifier() const { return m_notifier; }
    QObject* control() const override;

protected:
    void showSetting() override;
    QString controlRange() const override;

private:
    void notified(SliderNotification kind, int position);

    QAbstractSlider* m_slider;
    SliderNotifier* m_notifier;
    QWidget* m_readout = nullptr;
    Format m_readoutFormat;
    SliderNotifications m_kinds = kEveryNotification;
    bool m_disabledAsUnavailable = false;
};

// A combo box whose selection goes out when the user chooses an item. The
// value of an item is its index unless declared otherwise.
class ComboBinding : public BindingWith<ComboBinding> {
public:
    ComboBinding(SendPath& path, QComboBox* combo, Setting& setting, QString caption);

    // The value of item i is values[i].
    ComboBinding& values(QList<int> values);
    // The item's text is the value ("%s %s"), as in a list of baud rates.
    ComboBinding& itemText();
    // The value is the number the item text begins with (" 7(Pin)",
    // "2:Sequential"); the item shown is the first one whose text begins
    // with the value in the format (" %d(", "%d:").
    ComboBinding& leadingNumber(const char* format);
    // The item's data is the value: a list of presets that fill another
    // control. A value read picks no preset by itself; once the user has
    // picked one, the list shows the preset of the camera's value, or none.
    ComboBinding& itemData();
    // The items are the camera's choice lines (HELP) of the setting.
    ComboBinding& choicesFromCamera();
    // The page's own handler runs with the chosen index instead of the
    // binding's send (a choice that starts a sequence of lines); the list
    // still shows the setting.
    ComboBinding& onActivated(std::function<void(int index)> handler);

    QComboBox* combo() const { return m_combo; }
    QObject* control() const override;

protected:
    void showSetting() override;
    QString controlRange() const override;

private:
    void activated(int index);
    // The value of the item at index showing text; nothing when it stands for none.
    std::optional<int> valueFor(int index, const QString& text) const;
    void select(int value);

    enum class Argument { Index, Values, Text, LeadingNumber, Data };
    QComboBox* m_combo;
    Argument m_argument = Argument::Index;
    QList<int> m_values;
    const char* m_prefixFormat = nullptr;
    bool m_disabledAsUnavailable = false;
    std::function<void(int index)> m_onActivated;
};

// A check box that sends its state when clicked: 1 checked, 0 unchecked,
// unless other values are declared.
class CheckBinding : public BindingWith<CheckBinding> {
public:
    CheckBinding(SendPath& path, QAbstractButton* box, Setting& setting);

    CheckBinding& values(int unchecked, int checked);

    QAbstractButton* box() const { return m_box; }
    QObject* control() const override;

protected:
    void showSetting() override;
    QString controlRange() const override;

private:
    void clicked(bool checked);

    QAbstractButton* m_box;
    int m_unchecked = 0;
    int m_checked = 1;
    bool m_disabledAsUnavailable = false;
};

// Radio buttons that send the value of the clicked button, clicked again or
// not. By default only a button that is checked after the click sends; with
// zeroWhenUnchecked() an unchecked one sends 0.
class RadioBinding : public BindingWith<RadioBinding> {
public:
    RadioBinding(SendPath& path, RadioGroup* group, Setting& setting, QString caption);

    RadioBinding& zeroWhenUnchecked();

    RadioGroup* group() const { return m_group; }
    QObject* control() const override;
    QList<QWidget*> widgets() const override;

protected:
    void showSetting() override;
    QString controlRange() const override;

private:
    void clicked(int value, bool checked);

    RadioGroup* m_group;
    bool m_zeroWhenUnchecked = false;
};
