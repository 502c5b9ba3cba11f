#pragma once

// The Tovane region pages (multi-ROI, area gain, area exposure) against a
// simulated camera: their controls by the names the user and screen readers
// know them by.

#include "PageTesting.h"
#include "SimPageTest.h"

#include <QCheckBox>
#include <QLabel>

// The reads of every row: "<word> 0", "<word> 1" and so on.
inline QByteArrayList eachRow(const QByteArray& word, int rows)
{
    QByteArrayList lines;
    for (int row = 0; row < rows; ++row)
        lines << word + ' ' + QByteArray::number(row);
    return lines;
}

template <class PageClass>
class RegionPageTest : public SimPageTest {
protected:
    explicit RegionPageTest(const char* model = "PTM-TW640") { useModel(QString::fromLatin1(model)); }

    // Builds the page (which loads it) and forgets what the load sent.
    void openPage()
    {
        page = open<PageClass>();
        camera->clearRecord();
    }

    // The last refusal or rejected input, as the status line words it.
    void watchStatus()
    {
        QObject::connect(&sendPath, &SendPath::refused, [this](const QByteArray& line, const QString& reason) {
            status = QString::fromLatin1(line) + QStringLiteral(" / ") + reason;
        });
        QObject::connect(&sendPath, &SendPath::inputRejected, [this](const QString& why) { status = why; });
    }
    QString status;

    QLineEdit* edit(const QString& name) const { return findNamed<QLineEdit>(page.get(), name); }
    QCheckBox* box(const QString& name) const { return qobject_cast<QCheckBox*>(findButton(page.get(), name)); }
    // "Area 3 Left" and so on.
    QLineEdit* field(const char* row, int index, const char* column) const
    {
        return edit(QStringLiteral("%1 %2 %3").arg(QLatin1String(row)).arg(index).arg(QLatin1String(column)));
    }

    std::unique_ptr<Page> page;
};
