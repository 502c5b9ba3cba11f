#include "TestCamera.h"

TestCamera::TestCamera(ScriptedPort& port) : m_port(port)
{
    port.responder = [this](const QByteArray& line) {
        if (onLine)
            onLine(line);
        return answer(line);
    };
}

QByteArrayList TestCamera::lines() const
{
    return m_port.receivedLines();
}

void TestCamera::forgetLines()
{
    m_port.received.clear();
}

QByteArray TestCamera::answer(const QByteArray& line)
{
    const QByteArray echo = line + '\r';
    const qsizetype blank = line.indexOf(' ');
    const QByteArray word = blank < 0 ? line : line.left(blank);
    if (raw.contains(line))
        return raw.value(line);
    if (silent.contains(word))
        return {};
    if (refused.contains(word))
        return echo + "NG\r";
    if (values.contains(line))
        return echo + values.value(line) + "\rOK\r";
    if (line.startsWith("HELP ")) {
        const QByteArray name = line.mid(5);
        if (choices.contains(name))
            return echo + choices.value(name).join('\r') + "\rOK\r";
        if (ranges.contains(name))
            return echo + ranges.value(name) + "\rOK\r";
        return echo + "NG\r";
    }
    const qsizetype lastBlank = line.lastIndexOf(' ');
    if (lastBlank > 0) {
        // A setting: the camera keeps the value (of words it reports).
        QByteArray setting = line.left(lastBlank);
        while (setting.endsWith(' ') && !values.contains(setting))
            setting.chop(1);
        if (values.contains(setting))
            values[setting] = line.mid(lastBlank + 1);
    }
    return echo + "OK\r";
}
