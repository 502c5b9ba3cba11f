#include "PageSettings.h"

#include "Reading.h"

#include <utility>

PageSettings::PageSettings(Connection& connection, QString title, QObject* parent)
    : QObject(parent), m_connection(connection), m_title(std::move(title))
{
}

PageSettings::~PageSettings() = default;

Setting* PageSettings::find(const QByteArray& key) const
{
    const QByteArray wanted = key.simplified();
    for (Setting* setting : m_settings) {
        if (setting->key() == wanted)
            return setting;
    }
    return nullptr;
}

void PageSettings::load()
{
    loadInFixedOrder();
    if (m_deferLateReads)
        m_lateReadsPending = true;
    else
        loadAfterFixedOrder();
}

void PageSettings::readDeferredLateReads()
{
    m_deferLateReads = false;
    if (m_lateReadsPending) {
        loadAfterFixedOrder();
        // Left out: read on the next call.
        m_lateReadsPending = !m_lastLoadCompleted;
    }
}

bool PageSettings::mayGoOn()
{
    if (m_lastLoadCompleted && m_betweenReads && !m_betweenReads())
        m_lastLoadCompleted = false;
    return m_lastLoadCompleted;
}

void PageSettings::loadInFixedOrder()
{
    m_loading = true;
    m_lastLoadCompleted = true;
    m_readInLoad.clear();
    for (const auto& step : m_steps) {
        if (!mayGoOn())
            break;
        step();
    }
    m_loading = false;
    m_lastLoadOrder = m_readInLoad;
}

void PageSettings::loadAfterFixedOrder()
{
    for (Setting* setting : m_readAfterLoad) {
        if (!mayGoOn())
            break;
        read(*setting);
        if (!m_lastLoadOrder.contains(setting))
            m_lastLoadOrder.append(setting);
    }
}

QList<Setting*> PageSettings::settingsInReadOrder() const
{
    QList<Setting*> ordered = m_lastLoadOrder;
    for (Setting* setting : m_settings) {
        if (!ordered.contains(setting))
            ordered.append(setting);
    }
    return ordered;
}

void PageSettings::read(Setting& setting)
{
    readSetting(m_connection, setting);
    if (m_loading && !m_readInLoad.contains(&setting))
        m_readInLoad.append(&setting);
}

void PageSettings::readRange(Setting& setting)
{
    readSettingRange(m_connection, setting);
}

void PageSettings::readChoices(Setting& setting)
{
    readSettingChoices(m_connection, setting);
}

Setting& PageSettings::add(const QByteArray& word, const QString& caption, Setting::Form form)
{
    auto* setting = new Setting(word, caption, form, this);
    m_settings.append(setting);
    return *setting;
}

Setting& PageSettings::declare(const QByteArray& word, const QString& caption, Setting::Form form)
{
    return add(word, caption, form);
}

Setting& PageSettings::number(const QByteArray& word, const QString& caption)
{
    Setting& setting = add(word, caption, Setting::Form::Number);
    readAt(setting);
    return setting;
}

Setting& PageSettings::optionalNumber(const QByteArray& word, const QString& caption)
{
    Setting& setting = add(word, caption, Setting::Form::OptionalNumber);
    readAt(setting);
    return setting;
}

Setting& PageSettings::text(const QByteArray& word, const QString& caption)
{
    Setting& setting = add(word, caption, Setting::Form::Text);
    readAt(setting);
    return setting;
}

Setting& PageSettings::numbers(const QByteArray& word, const QString& caption, const char* format, int count)
{
    Setting& setting = add(word, caption, Setting::Form::Numbers);
    setting.numbersLike(format, count);
    readAt(setting);
    return setting;
}

void PageSettings::readAt(Setting& setting)
{
    step([this, &setting] { read(setting); });
}

void PageSettings::readRangeAt(Setting& setting)
{
    step([this, &setting] { readRange(setting); });
}

void PageSettings::readChoicesAt(Setting& setting)
{
    step([this, &setting] { readChoices(setting); });
}

void PageSettings::step(std::function<void()> custom)
{
    m_steps.push_back(std::move(custom));
}

const CameraCommand& PageSettings::command(const QByteArray& word, const QString& caption, SendMode mode)
{
    m_commands.push_back(std::make_unique<CameraCommand>(CameraCommand{word, caption, mode}));
    return *m_commands.back();
}

void PageSettings::readAfterLoad(Setting& setting)
{
    m_readAfterLoad.push_back(&setting);
}
