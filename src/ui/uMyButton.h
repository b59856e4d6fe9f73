#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

namespace qarvon {

class TSkinImage;

// Turns a plain picture into a button with normal, pointed-at and pressed
// looks taken from pictures compiled into the program. A companion control
// (the label over the button) acts on the button as if it were the picture.
class TMyButton : public QObject
{
    Q_OBJECT

public:
    TMyButton(TSkinImage *picture, QWidget *companion, const QString &normal, const QString &over,
              const QString &down);

    TSkinImage *Picture() const { return m_picture; }
    QWidget *Companion() const { return m_companion; }
    QString NormalName() const { return m_normal; }
    QString OverName() const { return m_over; }
    QString DownName() const { return m_down; }

    // The resource name whose picture is shown now.
    QString ShownName() const { return m_shown; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Show(const QString &name);

    QPointer<TSkinImage> m_picture;
    QPointer<QWidget> m_companion;
    QString m_normal;
    QString m_over;
    QString m_down;
    QString m_shown;
    bool m_companionPressed = false;
};

} // namespace qarvon
