#pragma once

// A page's load routine as an ordered list of reads, declared once:
//
//   load().text(cmd::VENDOR, m_vendor, "Vendor=")
//         .number(cmd::WIDTH, m_width, printedAs("Width = %d"))
//         .number(cmd::OFFSETX, m_offsetX)
//         .check(cmd::REVERSEX, m_reverseX)
//         .optional(cmd::HBIN, m_hbin, [this](int v) { showCheck(m_hbin, v - 1); })
//         .optionalNumber(cmd::RGAIN_FINE, *m_redBinding)   // "N/A" and greyed when the camera lacks it
//         .step([this] { ...anything special, in its place in the order... });
//
// run() performs the reads in exactly the declared order, each one exchange
// (or more, for a custom step), and sets the controls. It never sends a set
// command. Failed reads show what the query operations return for failure
// (0, -1, empty text) unless a step says otherwise.
//
// Each step that fills a control is remembered for it: when the camera
// refuses a value sent from that control, restore() runs the step again so
// the control shows what the camera kept. A custom step names the control it
// fills with .fills(control).

#include "Display.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <vector>

class Connection;
class EditBinding;
class QObject;
class QAbstractButton;
class QAbstractSlider;
class QComboBox;
class QLineEdit;
class QWidget;
class RadioGroup;
class SliderBinding;

class LoadPlan {
public:
    explicit LoadPlan(Connection& connection);

    // QueryText: the target shows prefix followed by the answer.
    LoadPlan& text(const QByteArray& command, QWidget* target, const QString& prefix = {});
    // QueryInt: the target shows the value in the format.
    LoadPlan& number(const QByteArray& command, QWidget* target, Format format = asDecimal());
    // QueryInt into an edit binding (edit, paired slider, read-out) or a
    // slider binding (slider, paired edit, read-out).
    LoadPlan& number(const QByteArray& command, EditBinding& binding);
    LoadPlan& number(const QByteArray& command, SliderBinding& binding);
    // QueryInt handed to the page.
    LoadPlan& number(const QByteArray& command, std::function<void(int value)> apply);
    // QueryInt as a check state (1 checked, anything else unchecked).
    LoadPlan& check(const QByteArray& command, QAbstractButton* box);
    // QueryInt as the selected index; out of range leaves no selection.
    LoadPlan& index(const QByteArray& command, QComboBox* combo);
    // QueryInt formatted with a printf format (such as " %d(" or "%d:")
    // selects the first item beginning with that text; none when no item does.
    LoadPlan& prefix(const QByteArray& command, QComboBox* combo, const char* format);
    // QueryInt checks the radio of that value and clears the others.
    LoadPlan& radios(const QByteArray& command, RadioGroup* group);
    // TryQueryInt: on success the control is enabled and apply runs with the
    // value; on failure the control is disabled.
    LoadPlan& optional(const QByteArray& command, QWidget* control, std::function<void(int value)> apply);
    // TryQueryInt with a handler for each outcome.
    LoadPlan& optional(const QByteArray& command, std::function<void(int value)> onSuccess,
                       std::function<void()> onFailure);

    // Values a camera may lack (a mono camera has no colour gains), read with
    // TryQueryInt: a refusal costs its one answer, never a time-out. On
    // success the controls are enabled and show the value; on failure they
    // are disabled and show that there is no value: the edit reads
    // kNotAvailable (the slider keeps its place), the box is unchecked, the
    // list keeps its selection.
    LoadPlan& optionalNumber(const QByteArray& command, EditBinding& binding);
    LoadPlan& optionalNumber(const QByteArray& command, SliderBinding& binding);
    LoadPlan& optionalCheck(const QByteArray& command, QAbstractButton* box);
    LoadPlan& optionalIndex(const QByteArray& command, QComboBox* combo);
    static const QString kNotAvailable; // "N/A"

    // QueryChoices of name: the combo's list becomes the camera's choice lines.
    LoadPlan& choices(const QByteArray& name, QComboBox* combo);
    // QueryRange of "HELP <name>": the slider's range becomes min..max (0..0
    // when the query fails); then apply, if given, with min and max.
    LoadPlan& range(const QByteArray& name, QAbstractSlider* slider,
                    std::function<void(int min, int max)> apply = {});
    // QueryRange of "HELP <name>" when the camera gives a range; when it
    // refuses or gives none, the slider keeps the range it has.
    LoadPlan& rangeIfGiven(const QByteArray& name, QAbstractSlider* slider);
    // QueryRange of "HELP <name>" for a list of numbered slots: each list is
    // emptied and filled with the format ("Pattern %d", "%d") of 0 to max (0
    // when the query fails; at most kMaxNumberedItems items, whatever the
    // camera says); then apply, if given, with that max.
    static constexpr int kMaxNumberedItems = 256;
    LoadPlan& numbered(const QByteArray& name, QList<QComboBox*> lists, const char* format,
                       std::function<void(int max)> apply = {});
    // Anything else, in its place in the order.
    LoadPlan& step(std::function<void()> custom);
    // The last step declared fills this control too.
    LoadPlan& fills(QObject* control);

    void run() const;
    bool isEmpty() const { return m_steps.empty(); }

    // Runs the last step that fills the control; false when none does.
    bool restore(QObject* control) const;

private:
    LoadPlan& stepFilling(QObject* control, std::function<void()> read);
    // optionalNumber for an edit and a slider, either of which may be absent.
    LoadPlan& optionalValue(const QByteArray& command, QLineEdit* edit, QAbstractSlider* slider,
                            std::function<void(int value)> show);

    Connection& m_connection;
    std::vector<std::function<void()>> m_steps;
    std::vector<std::pair<QObject*, size_t>> m_filled; // control, step index
};
