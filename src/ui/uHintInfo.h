#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <QLabel>

namespace qarvon {

class TSkinImage;

// The program-wide hint bar: a picture with a centred text that appears at
// the bottom of a control for three seconds. Its picture and label move into
// whichever control they are shown in.
class THintInfo : public QObject
{
    Q_OBJECT

public:
    // An empty path takes "tips_bg.png" of the skin images folder.
    explicit THintInfo(const QString &picturePath = QString(), QObject *parent = nullptr);
    ~THintInfo() override;

    // Shows the text at the bottom of target (or where it was last shown when
    // target is null). A bar already showing keeps its three-second schedule.
    void Show(const QString &text, QWidget *target);

    bool IsShown() const;
    QString Text() const;
    TSkinImage *PictureControl() const { return m_picture; }
    QLabel *LabelControl() const { return m_label; }
    QTimer *Timer() { return &m_timer; }

    static constexpr int kShowMs = 3000;

Q_SIGNALS:
    void hidden();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void MakeControls();
    void Hide();

    QString m_picturePath;
    QPointer<TSkinImage> m_picture;
    QPointer<QLabel> m_label;
    QTimer m_timer;
};

// The one hint bar of the program, made on first use with the default picture.
THintInfo &HintInfo();

} // namespace qarvon
