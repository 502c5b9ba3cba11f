#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class Connection;

// What a panel hands each of its pages: the main window's connection (always
// the port open now) and, for the Brevo General and Gain pages, the sensor
// tap count.
struct PageContext {
    Connection& connection;
    int sensorTaps = 0;
};

// A tab of a control panel. Pages talk to the camera only through the link
// operations on the context's connection.
class Page : public QWidget {
    Q_OBJECT
public:
    explicit Page(PageContext context, QWidget* parent = nullptr);

    // Reads every value the page shows, in the page's fixed order.
    virtual void LoadFromCamera() = 0;

protected:
    Connection& connection() const { return m_context.connection; }
    int sensorTaps() const { return m_context.sensorTaps; }

private:
    PageContext m_context;
};

// One tab of a panel: its title and how to build its page.
struct PageEntry {
    QString title;
    std::function<Page*(PageContext context, QWidget* parent)> create;
};
