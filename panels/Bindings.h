#pragma once

// The controls of a page bound to the page's settings (PageSettings.h),
// declared once per page:
//
//   bind().edit(m_offsetX, s.offsetX);                        // Enter sends "OFFSETX <n>"
//   bind().slider(m_gain, s.gainFine).rangeFromCamera();       // streams on every notification
//   bind().edit(m_step, s.gainFine, "Step");                   // the same setting, typed
//   bind().readout(m_db, s.gainFine, scaledBy(0.1, "%3.2lf"));   // derived read-out
//   bind().combo(m_depth, s.pixelDepth).values({8, 12, 16});
//   bind().combo(m_source, s.triggerSource).choicesFromCamera().leadingNumber(" %d(");
//   bind().check(m_hbin, s.hbin).values(1, 2);
//   bind().radios(m_testChart, s.testChart);
//   bind().readout(m_vendor, s.vendor, QStringLiteral("Vendor="));
//   bind().button(m_reset, s.reset);                            // a command, no setting
//   bind().action(m_fire, [this] { fireSoftTrigger(); });       // the page's own handler
//
// Captions: a control is named for screen readers by its caption, which is
// the setting's caption unless the declaration gives another.
//
// Commands go out only on user actions (Enter in an edit, clicked,
// activated, slider actions), so a setting read from the camera never sends
// anything back. Edits, lists, check boxes, radios and buttons wait for the
// camera's answer (the setting's send mode); sliders stream their lines,
// one per notification.
//
// A user action that arrives while another exchange runs waits until that
// exchange is over (SendPath::whenIdle).

#include "ControlBindings.h"
#include "ShowAndCommandBindings.h"
#include "SliderNotifier.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QAbstractButton;
class QAbstractSlider;
class QComboBox;
class QLineEdit;
class RadioGroup;
class SendPath;
class Setting;
struct CameraCommand;

// A page's bindings. Owns them; the controls belong to the page, the settings
// to the page's settings.
class Bindings {
public:
    explicit Bindings(SendPath& path);
    ~Bindings();
    Bindings(const Bindings&) = delete;
    Bindings& operator=(const Bindings&) = delete;

    EditBinding& edit(QLineEdit* edit, Setting& setting, const QString& caption = {});
    SliderBinding& slider(QAbstractSlider* slider, Setting& setting, const QString& caption = {});
    ComboBinding& combo(QComboBox* combo, Setting& setting, const QString& caption = {});
    CheckBinding& check(QAbstractButton* box, Setting& setting);
    RadioBinding& radios(RadioGroup* group, Setting& setting, const QString& caption = {});
    ReadoutBinding& readout(QWidget* target, Setting& setting, Format format = asDecimal());
    ReadoutBinding& readout(QWidget* target, Setting& setting, const QString& prefix);
    ButtonBinding& button(QAbstractButton* button, const CameraCommand& command);
    // Lists of numbered slots filled from the HELP range of a setting.
    NumberedListsBinding& numbered(QList<QComboBox*> lists, Setting& rangeOf, const char* format);
    // A button with a handler of the page's own.
    void action(QAbstractButton* button, std::function<void()> handler);
    // A slider whose notifications the page handles itself (for example
    // sliders that fill other controls and send only when released).
    SliderNotifier* onSlider(QAbstractSlider* slider, const QString& caption,
                             std::function<void(SliderNotification kind, int position)> handler);

    // Every binding, in the order they were declared.
    QList<const Binding*> all() const;

    // A binding of a kind defined outside this collection (the rows of a
    // grid of edits), built on the page's send path and owned here like the
    // others: add<RowBinding>(edits, setting).
    template <class B, class... Args>
    B& add(Args&&... args)
    {
        auto binding = std::make_unique<B>(m_path, std::forward<Args>(args)...);
        B& reference = *binding;
        m_bindings.push_back(std::move(binding));
        return reference;
    }

private:
    SendPath& m_path;
    std::vector<std::unique_ptr<Binding>> m_bindings;
};
