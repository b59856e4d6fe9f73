#include "uMagnetic.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qarvon {

namespace {

TMagnetic *g_instance = nullptr;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

QRect ScreenWorkArea(const QWidget *window)
{
    QScreen *screen = window ? window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

TMagnetic::TMagnetic(QObject *parent)
    : QObject(parent)
    , m_enabled(PlatformPlacesWindows())
    , m_workAreaSource(ScreenWorkArea)
{
    g_instance = this;
}

TMagnetic::~TMagnetic()
{
    if (g_instance == this)
        g_instance = nullptr;
}

TMagnetic *TMagnetic::Instance()
{
    return g_instance;
}

bool TMagnetic::PlatformPlacesWindows()
{
    return !QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

void TMagnetic::SetWorkAreaSource(std::function<QRect(const QWidget *)> source)
{
    m_workAreaSource = source ? std::move(source) : ScreenWorkArea;
}

std::size_t TMagnetic::IndexOf(const QWidget *window) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].window == window)
            return i;
    }
    return kNone;
}

bool TMagnetic::IsRegistered(const QWidget *window) const
{
    return IndexOf(window) != kNone;
}

bool TMagnetic::IsGlued(const QWidget *window) const
{
    const std::size_t i = IndexOf(window);
    return i != kNone && m_entries[i].glued;
}

bool TMagnetic::Register(QWidget *window, QWidget *owner)
{
    if (!m_enabled || !window || !window->isWindow() || IsRegistered(window))
        return false;
    if (owner && !owner->isWindow())
        return false;
    Entry entry;
    entry.window = window;
    entry.owner = owner == window ? nullptr : owner;
    m_entries.push_back(entry);
    // A window that goes away without unregistering must not leave a stale entry.
    connect(window, &QObject::destroyed, this, &TMagnetic::Forget, Qt::UniqueConnection);
    if (entry.owner)
        connect(entry.owner, &QObject::destroyed, this, &TMagnetic::Forget, Qt::UniqueConnection);
    RecomputeGlue();
    return true;
}

bool TMagnetic::Unregister(QWidget *window)
{
    const std::size_t i = IndexOf(window);
    if (i == kNone)
        return false;
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(i));
    for (Entry &e : m_entries) {
        if (e.owner == window)
            e.owner = nullptr;
    }
    RecomputeGlue();
    return true;
}

void TMagnetic::Forget(QObject *object)
{
    // The widget is half destroyed here: only its address is compared.
    std::erase_if(m_entries, [object](const Entry &e) { return e.window == object; });
    for (Entry &e : m_entries) {
        if (e.owner == object)
            e.owner = nullptr;
    }
}

void TMagnetic::FillRects()
{
    for (Entry &e : m_entries)
        e.rect = dock::TDockRect::From(e.window->frameGeometry());
}

std::vector<dock::TDockEntry> TMagnetic::Snapshot() const
{
    std::vector<dock::TDockEntry> entries;
    entries.reserve(m_entries.size());
    for (const Entry &e : m_entries)
        entries.push_back({e.window, e.owner, e.rect, e.window->isVisible(), e.glued});
    return entries;
}

void TMagnetic::RecomputeGlue()
{
    FillRects();
    std::vector<dock::TDockEntry> entries = Snapshot();
    dock::RecomputeGlue(entries);
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_entries[i].glued = entries[i].glued;
}

void TMagnetic::Hook(QWidget *window, quint32 msg, qintptr wParam, TDockParams &params,
                     THookResult &result)
{
    result = {};
    if (!m_enabled)
        return;
    const std::size_t self = IndexOf(window);
    switch (msg) {
    case WM_ENTERSIZEMOVE: {
        m_workArea = dock::TDockRect::From(m_workAreaSource(window));
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            Entry &e = m_entries[i];
            e.rect = e.window->isMaximized() ? m_workArea
                                             : dock::TDockRect::From(e.window->frameGeometry());
            if (i == self) {
                m_anchor.startCursor = params.Cursor;
                m_lastCursor = params.Cursor;
                m_anchor.offset = QPoint(e.rect.left, e.rect.top) - params.Cursor;
            }
        }
        break;
    }
    case WM_MOVING:
        if (self != kNone && params.Rect) {
            m_cursor = params.Cursor;
            *params.Rect = dock::Moving(*params.Rect, m_cursor, m_anchor, m_workArea, Snapshot(),
                                        self, m_snapDistance);
            m_lastCursor = m_cursor;
            result = {true, 1};
        }
        break;
    case WM_SIZING:
        if (self != kNone && params.Rect) {
            *params.Rect = dock::Sizing(*params.Rect, static_cast<int>(wParam), m_workArea,
                                        Snapshot(), self, m_snapDistance);
            result = {true, 1};
        }
        break;
    case WM_EXITSIZEMOVE:
    case WM_COMMAND:
        RecomputeGlue();
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE || (wParam & 0xFFF0) == SC_RESTORE)
            RecomputeGlue();
        break;
    case WM_WINDOWPOSCHANGED:
        if (params.PosFlags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))
            RecomputeGlue();
        break;
    default:
        break;
    }
}

bool MagneticHook(QWidget *window, quint32 msg, qintptr wParam, TDockParams &params,
                  THookResult &result)
{
    TMagnetic *magnetic = TMagnetic::Instance();
    if (!magnetic)
        return false;
    magnetic->Hook(window, msg, wParam, params, result);
    return true;
}

} // namespace qarvon
