#include "window/look/window_frame.h"

#include <QGuiApplication>
#include <QMargins>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#if defined(NAVORIX_HAVE_XCB) && QT_CONFIG(xcb)
#define NAVORIX_X11 1
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

namespace navorix {

namespace {

FrameExtents fromMargins(const QMargins& M) { return {M.left(), M.right(), M.top(), M.bottom()}; }

// What Qt knows of the frame: right for a shown window, nothing before.
FrameExtents qtFrame(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  return handle == nullptr ? FrameExtents{} : fromMargins(handle->frameMargins());
}

#ifdef NAVORIX_X11

// How long a window manager that says it answers may take to tell a
// window's frame before the window is shown.
constexpr auto FrameAnswerLimit = std::chrono::milliseconds(250);
constexpr auto FrameAnswerPoll = std::chrono::milliseconds(1);

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> owned(T* raw) {
  return Reply<T>(raw, &std::free);
}

xcb_connection_t* connection() {
  const auto* x11 =
      qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 == nullptr ? nullptr : x11->connection();
}

xcb_atom_t atom(xcb_connection_t* C, const std::string& name) {
  const auto reply = owned(xcb_intern_atom_reply(
      C, xcb_intern_atom(C, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The 32-bit values of a property, empty when it is not there.
std::vector<std::uint32_t> cardinals(xcb_connection_t* C, xcb_window_t window, xcb_atom_t property,
                                     xcb_atom_t type) {
  const auto reply =
      owned(xcb_get_property_reply(C, xcb_get_property(C, 0, window, property, type, 0, 1024), nullptr));
  if (!reply || reply->format != 32 || reply->type != type) return {};
  const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

std::optional<FrameExtents> extentsProperty(xcb_connection_t* C, xcb_window_t window, xcb_atom_t atom) {
  const std::vector<std::uint32_t> v = cardinals(C, window, atom, XCB_ATOM_CARDINAL);
  if (v.size() != 4) return std::nullopt;
  return FrameExtents{static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]),
                      static_cast<int>(v[3])};
}

xcb_window_t rootOf(xcb_connection_t* C, xcb_window_t window) {
  const auto reply = owned(xcb_get_geometry_reply(C, xcb_get_geometry(C, window), nullptr));
  return reply ? reply->root : xcb_window_t{XCB_WINDOW_NONE};
}

// Whether a window manager runs on the screen of root: it owns the
// selection WM_Sn of that screen.
bool windowManagerRuns(xcb_connection_t* C, xcb_window_t root) {
  int screen = 0;
  for (auto it = xcb_setup_roots_iterator(xcb_get_setup(C)); it.rem > 0; xcb_screen_next(&it), ++screen) {
    if (it.data->root == root) break;
  }
  const xcb_atom_t selection = atom(C, "WM_S" + std::to_string(screen));
  const auto reply = owned(xcb_get_selection_owner_reply(C, xcb_get_selection_owner(C, selection), nullptr));
  return reply && reply->owner != XCB_WINDOW_NONE;
}

// Whether the window manager tells a window's frame before it is shown.
bool answersFrameRequests(xcb_connection_t* C, xcb_window_t root, xcb_atom_t request) {
  const xcb_atom_t check = atom(C, "_NET_SUPPORTING_WM_CHECK");
  const std::vector<std::uint32_t> wm = cardinals(C, root, check, XCB_ATOM_WINDOW);
  if (wm.size() != 1) return false;
  // A stale check window left by a window manager that ended does not
  // point at itself.
  const std::vector<std::uint32_t> self = cardinals(C, wm[0], check, XCB_ATOM_WINDOW);
  if (self.size() != 1 || self[0] != wm[0]) return false;
  const std::vector<std::uint32_t> supported = cardinals(C, root, atom(C, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
  for (const std::uint32_t atom : supported) {
    if (atom == request) return true;
  }
  return false;
}

// The frame the window manager will give the hidden window, when it says.
std::optional<FrameExtents> askFrame(xcb_connection_t* C, xcb_window_t window, xcb_atom_t extentsAtom) {
  const xcb_window_t root = rootOf(C, window);
  if (root == XCB_WINDOW_NONE) return std::nullopt;
  if (!windowManagerRuns(C, root)) return FrameExtents{};
  const xcb_atom_t request = atom(C, "_NET_REQUEST_FRAME_EXTENTS");
  if (!answersFrameRequests(C, root, request)) return std::nullopt;
  // The answer is the property appearing anew on the window.
  xcb_delete_property(C, window, extentsAtom);
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = window;
  message.type = request;
  xcb_send_event(C, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(C);
  const auto limit = std::chrono::steady_clock::now() + FrameAnswerLimit;
  do {
    if (const auto extents = extentsProperty(C, window, extentsAtom)) return extents;
    std::this_thread::sleep_for(FrameAnswerPoll);
  } while (std::chrono::steady_clock::now() < limit);
  return std::nullopt;
}

// The Motif hints: which functions the window manager offers for the
// window and which decorations it draws.
enum : std::uint32_t {
  MwmHintsFunctions = 1u << 0,
  MwmHintsDecorations = 1u << 1,
  MwmFuncMove = 1u << 2,
  MwmFuncMinimize = 1u << 3,
  MwmFuncClose = 1u << 5,
  MwmDecorBorder = 1u << 1,
  MwmDecorTitle = 1u << 3,
  MwmDecorMenu = 1u << 4,
  MwmDecorMinimize = 1u << 5,
};

void setMotifHints(xcb_connection_t* C, xcb_window_t window, TitleBar titleBar) {
  std::uint32_t functions = MwmFuncMove;
  std::uint32_t decorations = 0;
  switch (titleBar) {
    case TitleBar::AsQtAsks:
      return;
    case TitleBar::Caption:
      functions |= MwmFuncClose;
      decorations = MwmDecorBorder | MwmDecorTitle;
      break;
    case TitleBar::CaptionMinimise:
      functions |= MwmFuncMinimize | MwmFuncClose;
      decorations = MwmDecorBorder | MwmDecorTitle | MwmDecorMenu | MwmDecorMinimize;
      break;
    case TitleBar::None:
      break;
  }
  const std::uint32_t hints[5] = {MwmHintsFunctions | MwmHintsDecorations, functions, decorations, 0, 0};
  const xcb_atom_t motif = atom(C, "_MOTIF_WM_HINTS");
  xcb_change_property(C, XCB_PROP_MODE_REPLACE, window, motif, motif, 32, 5, hints);
  xcb_flush(C);
}

#endif  // NAVORIX_X11

}  // namespace

WindowFrame::WindowFrame(QWidget& window, TitleBar titleBar)
    : QObject(&window), window_(window), titleBar_(titleBar) {
  setObjectName(QStringLiteral("WindowFrame"));
#ifdef NAVORIX_X11
  if (xcb_connection_t* c = connection()) {
    extentsAtom_ = atom(c, "_NET_FRAME_EXTENTS");
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
#endif
}

WindowFrame::~WindowFrame() {
  if (extentsAtom_ != 0 && QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->removeNativeEventFilter(this);
  }
}

void WindowFrame::setTitleBar(TitleBar titleBar) { titleBar_ = titleBar; }

void WindowFrame::applyTitleBar() {
#ifdef NAVORIX_X11
  if (xcb_connection_t* c = connection()) {
    setMotifHints(c, static_cast<xcb_window_t>(window_.winId()), titleBar_);
  }
#endif
}

FrameExtents WindowFrame::extents(bool shown) {
#ifdef NAVORIX_X11
  if (xcb_connection_t* c = connection(); c != nullptr && extentsAtom_ != 0) {
    const auto window = static_cast<xcb_window_t>(window_.winId());
    std::optional<FrameExtents> extents;
    if (shown) {
      extents = extentsProperty(c, window, extentsAtom_);
      if (!extents && !windowManagerRuns(c, rootOf(c, window))) extents = FrameExtents{};
    } else {
      extents = askFrame(c, window, extentsAtom_);
    }
    if (extents) {
      known_ = *extents;
      return *extents;
    }
    // A window manager that does not tell: its frame as Qt saw it last.
    if (shown) known_ = qtFrame(window_);
    return known_;
  }
#endif
  if (shown || window_.windowHandle() != nullptr) known_ = qtFrame(window_);
  return known_;
}

Rect WindowFrame::outerRect() {
  const FrameExtents e = window_.isVisible() ? extents(true) : known_;
  const QRect client = window_.geometry();
  return {client.x() - e.left, client.y() - e.top, client.width() + e.left + e.right,
          client.height() + e.top + e.bottom};
}

void WindowFrame::place(PlacementRule rule) {
  rule_ = std::move(rule);
  const bool shown = window_.isVisible();
  if (!shown) {
    // The native window is made now, while no position asks Qt to count a
    // frame it does not know: the client area then goes exactly where it
    // is put, and the frame around it.
    window_.winId();
    applyTitleBar();
  }
  placeWith(extents(shown));
  placed_ = true;
}

void WindowFrame::placeWith(const FrameExtents& extents) {
  const QRect client = window_.geometry();
  const Rect outer{client.x() - extents.left, client.y() - extents.top,
                   client.width() + extents.left + extents.right,
                   client.height() + extents.top + extents.bottom};
  const Rect target = rule_(outer);
  window_.setGeometry(target.left + extents.left, target.top + extents.top, client.width(), client.height());
  placedWith_ = extents;
}

bool WindowFrame::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* /*Result*/) {
#ifdef NAVORIX_X11
  if (!placed_ || extentsAtom_ == 0 || eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
  const auto* change = reinterpret_cast<const xcb_property_notify_event_t*>(event);
  if (change->atom != extentsAtom_ || change->state != XCB_PROPERTY_NEW_VALUE) return false;
  if (change->window != static_cast<xcb_window_t>(window_.internalWinId())) return false;
  // The frame that came is another than the one the window was placed
  // with: placed again, once the event is handled.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (!window_.isVisible()) return;
        const FrameExtents now = extents(true);
        if (!(now == placedWith_)) placeWith(now);
      },
      Qt::QueuedConnection);
#else
  (void)EventType;
  (void)Message;
#endif
  return false;
}

WindowFrame& frameOf(QWidget& window) {
  if (auto* frame = window.findChild<WindowFrame*>(QString(), Qt::FindDirectChildrenOnly)) return *frame;
  return *new WindowFrame(window, TitleBar::AsQtAsks);
}

void setTitleBar(QWidget& window, TitleBar titleBar) { frameOf(window).setTitleBar(titleBar); }

}  // namespace navorix
