// SPDX-License-Identifier: MIT
#include "CQtMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "AppIdentity.h"
#include "CClientWidget.h"
#include "CMenuStyle.h"
#include "CResources.h"
#include "CTitleBar.h"
#include "QtMenusAndDialogs.h"
#include "resource.h"

CQtMainFrame::CQtMainFrame(CAppInput& input) : m_input(input)
{
    setObjectName("CQtMainFrame");
    setWindowTitle(QString::fromUtf8(ORVO_APP_TITLE));
    // No icon of its own: the application's, decoded once at start-up,
    // serves the window and the tray.
    // A caption with the system menu, minimise and close; no sizing border
    // and no maximise box. Where the caption is our own, the platform draws
    // none (Qt drops the frameless hint from any set that names buttons).
    const bool bOwnTitleBar = DrawsOwnTitleBar();
    setWindowFlags(bOwnTitleBar ? Qt::Window | Qt::FramelessWindowHint
                                : Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                      Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                      Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);

    m_pClient = new CClientWidget(*this, m_input);
    setCentralWidget(m_pClient);
    m_pMenuBar = new QMenuBar(this);
    if (bOwnTitleBar)
        CreateTitleBar();
    else
        setMenuBar(m_pMenuBar);
    CreateMenu();
    // The window is exactly (title bar,) menu bar and client area, and stays so.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_pBlinkTimer = new QTimer(this);
    m_pBlinkTimer->setObjectName(QStringLiteral("BLINK_TIMER_ID"));
    connect(m_pBlinkTimer, &QTimer::timeout, this, &CQtMainFrame::OnTimer);
}

CQtMainFrame::~CQtMainFrame() = default;

namespace {

// A compositor that maximises the window again and again gets a new one at
// most this often.
constexpr qint64 kRemakeIntervalMs = 1000;

}  // namespace

bool CQtMainFrame::IsWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool CQtMainFrame::DrawsOwnTitleBar()
{
    // Qt's Wayland plugin draws the decorations itself wherever the
    // compositor leaves them to its clients (Weston, GNOME), and its
    // decorations have a maximise button whatever the window's flags say.
    // Whether the compositor would draw them instead is not something Qt
    // tells a client, so on Wayland the game draws its own caption, which
    // has none, unless the environment settles the decorations otherwise:
    // QT_WAYLAND_DISABLE_WINDOWDECORATION (the compositor, or nobody, draws
    // them) or QT_WAYLAND_DECORATION (the player chose Qt's plugin).
    // Window managers on X11 and Windows draw the caption as the flags ask.
    return IsWayland() && qEnvironmentVariableIsEmpty("QT_WAYLAND_DISABLE_WINDOWDECORATION") &&
           qEnvironmentVariableIsEmpty("QT_WAYLAND_DECORATION");
}

void CQtMainFrame::CreateTitleBar()
{
    // The caption over the menu bar, both in the place of the menu bar.
    auto* pTop = new QWidget(this);
    auto* pLayout = new QVBoxLayout(pTop);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    auto* pTitleBar = new CTitleBar(*this);
    pLayout->addWidget(pTitleBar);
    pLayout->addWidget(m_pMenuBar);
    setMenuWidget(pTop);
    // What the window system's own buttons would do: a close as the menu's
    // exit, a minimise as Esc's where there is no notification area.
    connect(pTitleBar, &CTitleBar::CloseClicked, this, &QWidget::close);
    connect(pTitleBar, &CTitleBar::MinimiseClicked, this, &QWidget::showMinimized);
}

QIcon CQtMainFrame::MainIcon()
{
    QIcon icon;
    for (int size : {16, 32, 128}) {
        const auto resource = FindEmbeddedResource(CResourceType::Icon, IDR_MAINFRAME, size);
        QPixmap pixmap;
        if (resource && pixmap.loadFromData(resource->pData, static_cast<uint>(resource->nSize)))
            icon.addPixmap(pixmap);
    }
    return icon;
}

CClientWindow& CQtMainFrame::ClientWindow()
{
    return *m_pClient;
}

int CQtMainFrame::Scale() const
{
    return m_pClient->Scale();
}

QWidget* CQtMainFrame::ClientWidget()
{
    return m_pClient;
}

QAction* CQtMainFrame::AddCommand(QMenu* pMenu, const QtUi::MenuEntry& item)
{
    QAction* pAction = pMenu->addAction(QString::fromUtf8(item.pText));
    pAction->setObjectName(item.pName);
    // Qt shows the key of the action's shortcut itself, right of a tab.
    if (item.nKey != 0)
        pAction->setShortcut(QKeySequence(item.nKey));
    // Also on the window itself, so that the keys work with the menus shut
    // and wherever the platform puts the menu bar.
    addAction(pAction);
    const unsigned nId = item.nId;
    if (nId == ID_APP_EXIT)
        connect(pAction, &QAction::triggered, this, &QWidget::close);
    else
        connect(pAction, &QAction::triggered, this, [this, nId] { m_input.OnCommand(nId); });
    return pAction;
}

void CQtMainFrame::CreateMenu()
{
    // Always in the window: the client area is measured below a one-line bar.
    m_pMenuBar->setNativeMenuBar(false);

    QMenu* pMenu = nullptr;
    for (const QtUi::MenuEntry& entry : QtUi::kMainMenu) {
        switch (entry.kind) {
        case QtUi::MenuEntryKind::Popup:
            pMenu = m_pMenuBar->addMenu(QString::fromUtf8(entry.pText));
            break;
        case QtUi::MenuEntryKind::EndPopup:
            pMenu = nullptr;
            break;
        case QtUi::MenuEntryKind::Separator:
            pMenu->addSeparator();
            break;
        case QtUi::MenuEntryKind::Item:
            if (entry.nId == ID_GAME_SOUND) {
                auto* pMenuStyle = new CMenuStyle;
                pMenuStyle->setParent(pMenu);
                pMenu->setStyle(pMenuStyle);
                m_pSoundAction = AddCommand(pMenu, entry);
                m_pSoundAction->setCheckable(true);
            } else {
                AddCommand(pMenu, entry);
            }
            break;
        }
    }
    // The keys the menu does not show (F1) work although no item shows them.
    for (const QtUi::Accelerator& key : QtUi::kMainKeys) {
        if (QtUi::MenuShowsKey(key))
            continue;
        auto* pShortcut = new QShortcut(QKeySequence(key.nKey), this);
        const unsigned nId = key.nId;
        connect(pShortcut, &QShortcut::activated, this, [this, nId] { m_input.OnCommand(nId); });
    }

    // Esc as a window shortcut reaches the frame wherever the focus is,
    // but not while a menu or a dialog has the keyboard.
    auto* pEsc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(pEsc, &QShortcut::activated, this, &CQtMainFrame::HideToTray);
}

void CQtMainFrame::CenterWindow()
{
    adjustSize();
    MoveToCentre();
    m_bCentreWhenShown = true;
}

void CQtMainFrame::MoveToCentre()
{
    const QScreen* pScreen = screen();
    if (!pScreen)
        return;
    // Where the border is not known yet this centres the bare window.
    const QSize size = frameGeometry().size();
    const QRect area = pScreen->availableGeometry();
    move(area.x() + (area.width() - size.width()) / 2,
         area.y() + (area.height() - size.height()) / 2);
}

void CQtMainFrame::OnReadingChanged(const CBoardReader& reader)
{
    m_pClient->OnReadingChanged(reader);
}

void CQtMainFrame::SetSoundChecked(bool bOn)
{
    m_pSoundAction->setChecked(bOn);
}

void CQtMainFrame::showEvent(QShowEvent* pEvent)
{
    QMainWindow::showEvent(pEvent);
    // Exposes reach the native window, which exists now; watching it again
    // after a return from the tray does not watch it twice.
    windowHandle()->installEventFilter(this);
    if (!m_bWatchingStates) {
        m_bWatchingStates = true;
        // Minimised by Esc or by the title bar's button alike.
        connect(windowHandle(), &QWindow::windowStateChanged, this, [this](Qt::WindowState state) {
            if (state == Qt::WindowMinimized)
                m_bMaybeMinimised = true;
        });
    }
}

void CQtMainFrame::changeEvent(QEvent* pEvent)
{
    // Whoever brought the window back, it is not minimised while it is active.
    if (pEvent->type() == QEvent::ActivationChange && isActiveWindow())
        m_bMaybeMinimised = false;
    QMainWindow::changeEvent(pEvent);
}

bool CQtMainFrame::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    auto* pWindow = static_cast<QWindow*>(pWatched);
    if (pEvent->type() == QEvent::WindowStateChange)
        OnStatesReported(pWindow);
    if (pEvent->type() != QEvent::Expose || !pWindow->isExposed())
        return QMainWindow::eventFilter(pWatched, pEvent);
    // Whatever a dialog or another window uncovers is painted by the game
    // afresh rather than copied from the last picture: that picture may be
    // a blink's hidden phase, and the game's paint shows the ball.
    m_pClient->update();
    if (m_bCentreWhenShown) {
        m_bCentreWhenShown = false;
        // Once the first picture is up: learning the border's size takes
        // several round trips to the X server, which that picture need not
        // wait for.
        QTimer::singleShot(0, this, &CQtMainFrame::MoveToCentre);
    }
    return QMainWindow::eventFilter(pWatched, pEvent);
}

void CQtMainFrame::OnStatesReported(QWindow* pWindow)
{
    // Only the platform reports states as events: this is the window
    // system's doing, not the game's.
    const Qt::WindowStates states = pWindow->windowStates();
    if (!(states & Qt::WindowMaximized))
        return;
    // The window has one size, and a window manager that maximises it
    // anyway (a key of its own, a button on the title bar) is asked at once
    // to take that back.
    pWindow->setWindowStates(states & ~Qt::WindowMaximized);
    if (!IsWayland() || m_bHeldForRemake)
        return;
    // On Wayland a maximised window must show a picture of exactly the size
    // the compositor chose, or the connection ends with the game in it; and
    // a compositor may not answer the request to take it back until it has
    // seen such a picture. So nothing more is shown on this window: it is
    // made anew, at its own size, as soon as the event is over.
    m_bHeldForRemake = true;
    setUpdatesEnabled(false);
    const qint64 nSince = m_lastRemake.isValid() ? m_lastRemake.elapsed() : kRemakeIntervalMs;
    QTimer::singleShot(std::max<qint64>(0, kRemakeIntervalMs - nSince), this, &CQtMainFrame::Remake);
}

void CQtMainFrame::Remake()
{
    m_lastRemake.start();
    const bool bVisible = isVisible();
    hide();
    m_bHeldForRemake = false;
    setUpdatesEnabled(true);
    // A new window is given the focus by the compositor itself.
    if (bVisible)
        show();
}

void CQtMainFrame::StartBlinkTimer(unsigned nIntervalMs)
{
    m_pBlinkTimer->start(static_cast<int>(nIntervalMs));
}

void CQtMainFrame::StopBlinkTimer()
{
    m_pBlinkTimer->stop();
}

void CQtMainFrame::OnTimer()
{
    // A tick already queued when the timer stopped is not the blink's.
    if (m_pBlinkTimer->isActive())
        m_input.OnBlinkTimer();
}

void CQtMainFrame::keyPressEvent(QKeyEvent* pEvent)
{
    static const struct {
        int nQtKey;
        CKey key;
    } kKeys[] = {
        {Qt::Key_Left, CKey::Left},       {Qt::Key_Right, CKey::Right},
        {Qt::Key_Up, CKey::Up},           {Qt::Key_Down, CKey::Down},
        {Qt::Key_Space, CKey::Space},     {Qt::Key_Return, CKey::Enter},
        {Qt::Key_Enter, CKey::Enter},     {Qt::Key_Backspace, CKey::Backspace},
        {Qt::Key_Delete, CKey::Delete},
    };
    for (const auto& k : kKeys) {
        if (pEvent->key() == k.nQtKey) {
            m_input.OnKey(k.key);
            return;
        }
    }
    QMainWindow::keyPressEvent(pEvent);
}

void CQtMainFrame::HideToTray()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        // Nowhere to hide: the task-bar entry is what brings the game back.
        // (On Wayland, where a Qt tray icon is a StatusNotifierItem, the
        // notification area exists only where such a host runs.)
        showMinimized();
        return;
    }
    if (!m_pTrayIcon) {
        m_pTrayIcon = new QSystemTrayIcon(QApplication::windowIcon(), this);
        m_pTrayIcon->setToolTip(QString::fromUtf8(ORVO_APP_TITLE));
        connect(m_pTrayIcon, &QSystemTrayIcon::activated, this, &CQtMainFrame::OnTrayActivated);
    }
    m_pTrayIcon->show();
    hide();
}

void CQtMainFrame::OnTrayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger)
        Wake();
}

void CQtMainFrame::RemoveTrayIcon()
{
    if (!m_pTrayIcon)
        return;
    m_pTrayIcon->hide();
    // It may be delivering the very click that brought us here.
    m_pTrayIcon->deleteLater();
    m_pTrayIcon = nullptr;
}

void CQtMainFrame::Wake(const QByteArray& activationToken)
{
    RemoveTrayIcon();
    if (IsWayland()) {
        // Qt's Wayland plugin takes the token for the next activation from
        // the environment; none at all is better than one already spent.
        if (activationToken.isEmpty())
            qunsetenv("XDG_ACTIVATION_TOKEN");
        else
            qputenv("XDG_ACTIVATION_TOKEN", activationToken);
    }
    if (IsWayland() && m_bMaybeMinimised && isVisible()) {
        // A Wayland client cannot take its window back from the compositor,
        // and is not told whether it is minimised; only an activation with a
        // token from the second start brings it back, where the compositor
        // honours one. A window made anew is shown by every compositor.
        hide();
    }
    m_bMaybeMinimised = false;
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}
