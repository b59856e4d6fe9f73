#include "uHintInfo.h"

#include "uSkin.h"
#include "uSkinControl.h"
#include "uSkinLayout.h"

#include "tool.h"

#include <QEvent>
#include <QFileInfo>
#include <QLabel>

namespace qarvon {

namespace {

constexpr int kLabelHeight = 14;

} // namespace

THintInfo::THintInfo(const QString &picturePath, QObject *parent)
    : QObject(parent)
    , m_picturePath(picturePath)
{
    if (m_picturePath.isEmpty()) {
        const QString fallback = QString::fromStdString(GetImagesFolder()) + QStringLiteral("tips_bg.png");
        if (QFileInfo::exists(fallback))
            m_picturePath = fallback;
    }
    m_timer.setInterval(kShowMs);
    m_timer.setSingleShot(false);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_timer.stop();
        Hide();
    });
    MakeControls();
}

THintInfo::~THintInfo()
{
    // Controls that still have no parent are ours to free; the others belong
    // to the control they were last shown in.
    if (m_picture && !m_picture->parent())
        delete m_picture.data();
    if (m_label && !m_label->parent())
        delete m_label.data();
}

// The picture and label die with the control they were last shown in; the
// bar then makes new ones instead of touching freed ones.
void THintInfo::MakeControls()
{
    if (!m_picture) {
        auto *picture = new TSkinImage;
        picture->SetStretch(true);
        picture->SetTransparent(true);
        picture->SetPicture(LoadPicture(m_picturePath, 0));
        picture->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        picture->setMouseTracking(true);
        picture->installEventFilter(this);
        picture->hide();
        m_picture = picture;
    }
    if (!m_label) {
        auto *label = new QLabel;
        label->setAlignment(Qt::AlignCenter);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setAutoFillBackground(false);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, skin::Text);
        label->setPalette(palette);
        QFont font = label->font();
        font.setPixelSize(12);
        label->setFont(font);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        label->hide();
        m_label = label;
    }
}

void THintInfo::Show(const QString &text, QWidget *target)
{
    MakeControls();
    if (target) {
        const THintGeometry g = HintGeometry(target->size(), kLabelHeight);
        if (m_picture->parentWidget() != target)
            m_picture->setParent(target);
        if (m_label->parentWidget() != target)
            m_label->setParent(target);
        m_picture->setGeometry(g.Picture);
        m_label->setGeometry(g.Label);
    }
    m_label->setText(text);
    // Never shown inside a control, the bar would become a window of its own.
    if (!m_picture->parentWidget())
        return;
    m_picture->show();
    m_label->show();
    m_picture->raise();
    m_label->raise();
    if (!m_timer.isActive())
        m_timer.start();
}

// Pointing at the bar hides it; its period runs on, as for any other hiding.
void THintInfo::Hide()
{
    if (m_picture)
        m_picture->hide();
    if (m_label)
        m_label->hide();
    Q_EMIT hidden();
}

bool THintInfo::IsShown() const
{
    // Shown, even while the control it sits in is itself hidden.
    return m_picture && m_label && !m_picture->isHidden() && !m_label->isHidden();
}

QString THintInfo::Text() const
{
    return m_label ? m_label->text() : QString();
}

bool THintInfo::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove
        && (watched == m_picture.data() || watched == m_label.data()))
        Hide();
    return QObject::eventFilter(watched, event);
}

THintInfo &HintInfo()
{
    static THintInfo *hint = new THintInfo;
    return *hint;
}

} // namespace qarvon
