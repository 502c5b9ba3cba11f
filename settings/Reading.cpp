#include "Reading.h"

#include "Connection.h"
#include "Link.h"
#include "Setting.h"

void readSetting(Connection& connection, Setting& setting)
{
    switch (setting.form()) {
    case Setting::Form::Number: {
        int value = 0;
        if (QueryInts(connection, setting.query(), "%d", {&value}))
            setting.setNumber(value);
        else
            setting.setNotRead();
        break;
    }
    case Setting::Form::OptionalNumber: {
        int value = 0;
        if (TryQueryInt(connection, setting.query(), value))
            setting.setNumber(value);
        else
            setting.setUnavailable();
        break;
    }
    case Setting::Form::Numbers:
        if (const auto values =
                QueryNumbers(connection, setting.query(), setting.numbersFormat(), setting.numbersCount()))
            setting.setNumbers(*values);
        else
            setting.setNotRead();
        break;
    case Setting::Form::Text:
        if (const std::optional<QByteArray> text = QueryTextLine(connection, setting.query()))
            setting.setValue(*text);
        else
            setting.setNotRead();
        break;
    }
}

void readSettingRange(Connection& connection, Setting& setting)
{
    int min = 0;
    int max = 0;
    int step = 0;
    QueryRange(connection, "HELP " + setting.word(), min, max, step);
    // A failed query reads 0, 0, 0; no camera gives that as a range.
    const bool given = (min != 0 || max != 0 || step != 0) && min <= max;
    setting.setRange(given ? std::optional(Setting::Range{min, max, step}) : std::nullopt);
}

void readSettingChoices(Connection& connection, Setting& setting)
{
    QByteArrayList lines;
    QueryChoices(connection, setting.word(), lines);
    setting.setChoices(lines);
}

