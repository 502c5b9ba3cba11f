#pragma once

// The kinds of binding, one per kind of control: edits, sliders, lists,
// check boxes, radio buttons, push buttons, and settings the page sends
// itself. Pages declare them through Bindings (Bindings.h).

#include "Binding.h"
#include "Display.h"
#include "SliderNotifier.h"

#include <QList>

class QAbstractButton;
class QAbstractSlider;
class QComboBox;
class QLineEdit;
class QWidget;
class RadioGroup;

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
    std::optional<int> shownValue() const override;
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
    std::optional<int> shownValue() const override;
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
    std::optional<int> shownValue() const override;
    std::optional<QByteArray> composeSetting() const override;

private:
    void activated(int index);
    // The value a send passes to the hooks, and the line it sends, for the
    // item at index with text shown; nothing when the item stands for none.
    std::optional<int> valueFor(int index, const QString& text) const;
    std::optional<QByteArray> lineShowing(int index, const QString& text) const;

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
    std::optional<int> shownValue() const override;
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
    std::optional<int> shownValue() const override;
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
