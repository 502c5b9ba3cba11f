#pragma once

#include <QMap>
#include <QString>
#include <QWidget>

// The camera's round 12-pin I/O connector as seen from the cable side, drawn
// in code: every pin with its number, the pins in use marked as inputs or
// outputs, and a legend that names each pin's current role ("4 OUT Strobe").
// Pages set the roles as the camera reports them; the same text is the
// picture's accessible description, so a screen reader tells the pin roles
// too.
class ConnectorPicture : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPinCount = 12;

    enum class PinUse { None, Input, Output };

    explicit ConnectorPicture(QWidget* parent = nullptr);

    // What a pin does now; signal names an output's source ("Strobe",
    // "Exposure, inverted") and is not shown for inputs.
    void setPin(int pin, PinUse use, const QString& signal = {});
    PinUse use(int pin) const;

    // "Pin 4: output Strobe; Pin 7: input; ...", the pins in use in
    // ascending order.
    QString description() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Role {
        PinUse use = PinUse::None;
        QString signal;
    };
    // "OUT Strobe", "IN": the legend's words for a role.
    static QString legendText(const Role& role);

    QMap<int, Role> m_roles;
};
