#pragma once

// The bindings that send no setting of their own: controls that only show a
// setting (read-outs, lists of numbered slots) and buttons that send a
// command. Pages declare them through Bindings (Bindings.h).

#include "Binding.h"
#include "Display.h"

#include <QList>

struct CameraCommand;
class QAbstractButton;
class QComboBox;
class QWidget;

// A label (or a read-only box) that shows a setting and never sends: a
// value the camera only reports, or one derived from a setting (decibels
// from gain steps).
class ReadoutBinding : public Binding {
public:
    // Numbers through the format; text behind the prefix.
    ReadoutBinding(SendPath& path, QWidget* target, Setting& setting, Format format);
    ReadoutBinding(SendPath& path, QWidget* target, Setting& setting, QString prefix);

    QObject* control() const override;

protected:
    void showSetting() override;
    QString sentLine() const override { return {}; }

private:
    QWidget* m_target;
    Format m_format;
    QString m_prefix;
};

// Lists of numbered slots ("Pattern 0" ... "Pattern n"), filled from the
// camera's HELP range of a setting: 0 to its max (none when the camera gives
// no range; at most kMaxItems, whatever the camera says). They send nothing
// themselves; buttons read their selection.
class NumberedListsBinding : public Binding {
public:
    static constexpr int kMaxItems = 256;

    NumberedListsBinding(SendPath& path, QList<QComboBox*> lists, Setting& rangeOf, const char* format);

    QObject* control() const override;

protected:
    void showSetting() override {}

private:
    void fill();

    QList<QComboBox*> m_lists;
    const char* m_format;
};

// A push button that sends one command: the word alone, or "<word> <n>" with
// an argument read when it is clicked. The camera's refusal is reported like
// a setting's.
class ButtonBinding : public Binding {
public:
    ButtonBinding(SendPath& path, QAbstractButton* button, const CameraCommand& command);

    // The argument, read when the button is clicked; no value sends nothing.
    ButtonBinding& argument(std::function<std::optional<int>()> argument);
    // The argument is the list's selected index; nothing is sent while the
    // list shows no selection.
    ButtonBinding& selectedIndexOf(QComboBox* list);
    // The button stays disabled until the camera has answered, so a slow
    // command cannot be started twice.
    ButtonBinding& disabledWhileSending();
    // Runs after the command went out, accepted or not.
    ButtonBinding& then(std::function<void()> hook);

    QAbstractButton* button() const { return m_button; }
    QObject* control() const override;

protected:
    void showSetting() override {}
    QString sentLine() const override;

private:
    void clicked();

    QAbstractButton* m_button;
    const CameraCommand& m_command;
    std::function<std::optional<int>()> m_argument;
    std::function<void()> m_thenHook;
    bool m_disabledWhileSending = false;
};
