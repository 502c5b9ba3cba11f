#include "Binding.h"

#include "Link.h"
#include "SendPath.h"
#include "Setting.h"

Binding::Binding(SendPath& path, Setting* setting, QString caption)
    : m_path(path), m_setting(setting), m_caption(std::move(caption))
{
}

Binding::~Binding() = default;

void Binding::followSetting()
{
    if (!m_setting)
        return;
    QObject::connect(m_setting, &Setting::changed, receiver(), [this] { showSetting(); });
    showSetting();
}

void Binding::rebind(Setting& setting)
{
    if (m_setting)
        QObject::disconnect(m_setting, &Setting::changed, receiver(), nullptr);
    m_setting = &setting;
    followSetting();
}

bool Binding::deliver(const QByteArray& argument, int value)
{
    if (!m_setting)
        return false;
    if (m_onlyIf && !m_onlyIf(value))
        return false;
    if (m_before)
        m_before(value);
    const SetOutcome outcome = m_path.set(*m_setting, argument, m_mode);
    for (Setting* setting : std::as_const(m_thenRead))
        m_path.readBack(*setting);
    if (m_then && m_setting) {
        if (const std::optional<int> held = m_setting->number())
            m_then(*held);
    }
    return outcome == SetOutcome::Accepted;
}

void Binding::whenIdle(std::function<void()> action)
{
    m_path.whenIdle(std::move(action), control());
}
