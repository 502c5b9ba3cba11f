#pragma once

// Helpers for page tests: a page on a test camera on virtual time, and the
// user's gestures (typing and Enter, clicks, choosing list items, dragging
// sliders) delivered as real key and mouse events or the same signals Qt
// sends for them.

#include "Catalogue.h"
#include "Clock.h"
#include "Connection.h"
#include "LongOperation.h"
#include "Page.h"
#include "SendPath.h"
#include "ScriptedPort.h"
#include "TestCamera.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

class PageTest : public ::testing::Test {
protected:
    PageTest()
    {
        auto scripted = std::make_unique<ScriptedPort>(clock);
        port = scripted.get();
        connection.attach(std::move(scripted));
        camera = std::make_unique<TestCamera>(*port);
    }

    // Builds the page the way its panel does, on settings of its own.
    template <class PageClass>
    std::unique_ptr<Page> open(int sensorTaps = 0)
    {
        pageSettings.push_back(std::make_unique<typename PageClass::Settings>(connection, QStringLiteral("test"),
                                                                             CatalogueContext{sensorTaps}));
        return std::unique_ptr<Page>(
            pageEntry<PageClass>(QStringLiteral("test")).create({sendPath, *pageSettings.back(), sensorTaps}, nullptr));
    }

    QByteArrayList sent() const { return camera->lines(); }
    // What the camera received since the last call.
    QByteArrayList sentSinceLastLook()
    {
        QByteArrayList lines = camera->lines();
        camera->forgetLines();
        return lines;
    }

    VirtualClock clock;
    Connection connection{clock};
    SendPath sendPath{connection};
    std::vector<std::unique_ptr<PageSettings>> pageSettings;
    ScriptedPort* port = nullptr;
    std::unique_ptr<TestCamera> camera;
};

// Controls by what the user sees: their accessible name (the caption of
// their label) or their text.
template <class W>
W* findNamed(QWidget* page, const QString& name)
{
    for (W* widget : page->findChildren<W*>()) {
        if (widget->accessibleName() == name)
            return widget;
    }
    ADD_FAILURE() << "no control named " << name.toStdString();
    return nullptr;
}

QAbstractButton* findButton(QWidget* page, const QString& text);
// Of the buttons with these texts, the ones that are checked, in the same order.
QStringList checkedButtons(QWidget* page, const QStringList& texts);
// The label whose text begins with prefix.
QLabel* findLabel(QWidget* page, const QString& prefix);

// The texts of a list's items, in order.
QStringList itemsOf(const QComboBox* combo);

// Types text into the edit (replacing what it held) and presses Enter in it.
void typeAndEnter(QLineEdit* edit, const QString& text);
void pressKey(QWidget* widget, Qt::Key key);
// Chooses an item as the user does: the list reports it as activated.
void choose(QComboBox* combo, int index);
void choose(QComboBox* combo, const QString& text);
// Drags the slider's thumb through each position, then releases it.
void drag(QSlider* slider, std::initializer_list<int> positions);

// Lets a test act as the user while a long operation (or a software-trigger
// pulse) waits with window events running: counts the runs and calls onRun
// on each.
class EventsDuringPauses {
public:
    EventsDuringPauses()
    {
        m_previous = setPendingEventsRunner([this] {
            ++runs;
            if (onRun)
                onRun();
        });
    }
    ~EventsDuringPauses() { setPendingEventsRunner(m_previous); }

    int runs = 0;
    std::function<void()> onRun;

private:
    PendingEventsRunner m_previous;
};
