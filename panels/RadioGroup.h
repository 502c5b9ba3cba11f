#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <utility>

class QButtonGroup;
class QRadioButton;
class QWidget;

// Radio buttons that stand for the values of one camera setting, such as
// "OFF"/"Gray"/"Color" for 0/1/2. At most one is checked; the group can also
// show none, which Qt's exclusive buttons do not allow by themselves.
class RadioGroup : public QObject {
    Q_OBJECT
public:
    // Creates one radio button per caption, children of parent.
    RadioGroup(QWidget* parent, const QList<std::pair<QString, int>>& choices);

    int count() const { return static_cast<int>(m_buttons.size()); }
    QRadioButton* button(int index) const { return m_buttons.at(index).first; }
    QRadioButton* buttonFor(int value) const;
    int valueOf(const QRadioButton* button) const;

    // Checks the button of value and clears the others; none is checked when
    // no button has that value.
    void show(int value);
    void clear();
    // The value of the checked button, or fallback when none is checked.
    int checkedValue(int fallback = -1) const;

    void setEnabled(bool enabled);

signals:
    // The user clicked a button (never emitted for show()).
    void clicked(QRadioButton* button);

private:
    QButtonGroup* m_group;
    QList<std::pair<QRadioButton*, int>> m_buttons;
};
