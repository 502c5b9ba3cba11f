#pragma once

#include "Connection.h"
#include "Link.h"
#include "Page.h"

#include <QLineEdit>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QVBoxLayout>

// A page for panel tests: an edit box that counts the Enter presses it got,
// and a way to talk to the camera through the connection it was given.
class RecordingPage : public Page {
public:
    RecordingPage(PageContext context, QWidget* parent) : Page(context, parent), edit(new QLineEdit(this))
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(edit);
        connect(edit, &QLineEdit::returnPressed, this, [this] { ++enterPresses; });
    }

    void LoadFromCamera() override {}

    Connection& givenConnection() const { return connection(); }
    int givenSensorTaps() const { return sensorTaps(); }
    bool transactThroughGivenConnection(const QByteArray& line) { return Transact(connection(), line, 1.0); }

    QLineEdit* edit;
    int enterPresses = 0;
};

// Page entries with these titles that build RecordingPages; every page built
// is appended to `built`. A size, when given, is fixed on the page.
inline QList<PageEntry> recordingPages(const QStringList& titles, QList<QPointer<RecordingPage>>* built = nullptr,
                                       QMap<int, QSize> fixedSizes = {})
{
    QList<PageEntry> entries;
    for (int i = 0; i < titles.size(); ++i) {
        entries.append({titles.at(i), [built, i, fixedSizes](PageContext context, QWidget* parent) -> Page* {
                            auto* page = new RecordingPage(context, parent);
                            if (fixedSizes.contains(i))
                                page->setFixedSize(fixedSizes.value(i));
                            if (built)
                                built->append(page);
                            return page;
                        }});
    }
    return entries;
}
