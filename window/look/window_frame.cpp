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

TFrameExtents FromMargins(const QMargins& M) { return {M.left(), M.right(), M.top(), M.bottom()}; }

// What Qt knows of the frame: right for a shown window, nothing before.
TFrameExtents QtFrame(const QWidget& Window) {
  const QWindow* handle = Window.windowHandle();
  return handle == nullptr ? TFrameExtents{} : FromMargins(handle->frameMargins());
}

#ifdef NAVORIX_X11

// How long a window manager that says it answers may take to tell a
// window's frame before the window is shown.
constexpr auto FrameAnswerLimit = std::chrono::milliseconds(250);
constexpr auto FrameAnswerPoll = std::chrono::milliseconds(1);

template <typename T>
using TReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
TReply<T> Reply(T* Raw) {
  return TReply<T>(Raw, &std::free);
}

xcb_connection_t* Connection() {
  const auto* x11 = qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 == nullptr ? nullptr : x11->connection();
}

xcb_atom_t Atom(xcb_connection_t* C, const std::string& Name) {
  const auto reply = Reply(xcb_intern_atom_reply(
      C, xcb_intern_atom(C, 0, static_cast<std::uint16_t>(Name.size()), Name.c_str()), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The 32-bit values of a property, empty when it is not there.
std::vector<std::uint32_t> Cardinals(xcb_connection_t* C, xcb_window_t Window, xcb_atom_t Property,
                                     xcb_atom_t Type) {
  const auto reply =
      Reply(xcb_get_property_reply(C, xcb_get_property(C, 0, Window, Property, Type, 0, 1024), nullptr));
  if (!reply || reply->format != 32 || reply->type != Type) return {};
  const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

std::optional<TFrameExtents> ExtentsProperty(xcb_connection_t* C, xcb_window_t Window, xcb_atom_t Atom) {
  const std::vector<std::uint32_t> v = Cardinals(C, Window, Atom, XCB_ATOM_CARDINAL);
  if (v.size() != 4) return std::nullopt;
  return TFrameExtents{static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]),
                       static_cast<int>(v[3])};
}

xcb_window_t RootOf(xcb_connection_t* C, xcb_window_t Window) {
  const auto reply = Reply(xcb_get_geometry_reply(C, xcb_get_geometry(C, Window), nullptr));
  return reply ? reply->root : xcb_window_t{XCB_WINDOW_NONE};
}

// Whether a window manager runs on the screen of Root: it owns the
// selection WM_Sn of that screen.
bool WindowManagerRuns(xcb_connection_t* C, xcb_window_t Root) {
  int screen = 0;
  for (auto it = xcb_setup_roots_iterator(xcb_get_setup(C)); it.rem > 0; xcb_screen_next(&it), ++screen) {
    if (it.data->root == Root) break;
  }
  const xcb_atom_t selection = Atom(C, "WM_S" + std::to_string(screen));
  const auto reply =
      Reply(xcb_get_selection_owner_reply(C, xcb_get_selection_owner(C, selection), nullptr));
  return reply && reply->owner != XCB_WINDOW_NONE;
}

// Whether the window manager tells a window's frame before it is shown.
bool AnswersFrameRequests(xcb_connection_t* C, xcb_window_t Root, xcb_atom_t Request) {
  const xcb_atom_t check = Atom(C, "_NET_SUPPORTING_WM_CHECK");
  const std::vector<std::uint32_t> wm = Cardinals(C, Root, check, XCB_ATOM_WINDOW);
  if (wm.size() != 1) return false;
  // A stale check window left by a window manager that ended does not
  // point at itself.
  const std::vector<std::uint32_t> self = Cardinals(C, wm[0], check, XCB_ATOM_WINDOW);
  if (self.size() != 1 || self[0] != wm[0]) return false;
  const std::vector<std::uint32_t> supported = Cardinals(C, Root, Atom(C, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
  for (const std::uint32_t atom : supported) {
    if (atom == Request) return true;
  }
  return false;
}

// The frame the window manager will give the hidden Window, when it says.
std::optional<TFrameExtents> AskFrame(xcb_connection_t* C, xcb_window_t Window, xcb_atom_t Extents) {
  const xcb_window_t root = RootOf(C, Window);
  if (root == XCB_WINDOW_NONE) return std::nullopt;
  if (!WindowManagerRuns(C, root)) return TFrameExtents{};
  const xcb_atom_t request = Atom(C, "_NET_REQUEST_FRAME_EXTENTS");
  if (!AnswersFrameRequests(C, root, request)) return std::nullopt;
  // The answer is the property appearing anew on the window.
  xcb_delete_property(C, Window, Extents);
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = Window;
  message.type = request;
  xcb_send_event(C, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(C);
  const auto limit = std::chrono::steady_clock::now() + FrameAnswerLimit;
  do {
    if (const auto extents = ExtentsProperty(C, Window, Extents)) return extents;
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

void SetMotifHints(xcb_connection_t* C, xcb_window_t Window, TTitleBar TitleBar) {
  std::uint32_t functions = MwmFuncMove;
  std::uint32_t decorations = 0;
  switch (TitleBar) {
    case TTitleBar::AsQtAsks:
      return;
    case TTitleBar::Caption:
      functions |= MwmFuncClose;
      decorations = MwmDecorBorder | MwmDecorTitle;
      break;
    case TTitleBar::CaptionMinimise:
      functions |= MwmFuncMinimize | MwmFuncClose;
      decorations = MwmDecorBorder | MwmDecorTitle | MwmDecorMenu | MwmDecorMinimize;
      break;
    case TTitleBar::None:
      break;
  }
  const std::uint32_t hints[5] = {MwmHintsFunctions | MwmHintsDecorations, functions, decorations, 0, 0};
  const xcb_atom_t motif = Atom(C, "_MOTIF_WM_HINTS");
  xcb_change_property(C, XCB_PROP_MODE_REPLACE, Window, motif, motif, 32, 5, hints);
  xcb_flush(C);
}

#endif  // NAVORIX_X11

}  // namespace

TWindowFrame::TWindowFrame(QWidget& Window, TTitleBar TitleBar)
    : QObject(&Window), window_(Window), titleBar_(TitleBar) {
  setObjectName(QStringLiteral("WindowFrame"));
#ifdef NAVORIX_X11
  if (xcb_connection_t* c = Connection()) {
    extentsAtom_ = Atom(c, "_NET_FRAME_EXTENTS");
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
#endif
}

TWindowFrame::~TWindowFrame() {
  if (extentsAtom_ != 0 && QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->removeNativeEventFilter(this);
  }
}

void TWindowFrame::SetTitleBar(TTitleBar TitleBar) { titleBar_ = TitleBar; }

void TWindowFrame::ApplyTitleBar() {
#ifdef NAVORIX_X11
  if (xcb_connection_t* c = Connection()) {
    SetMotifHints(c, static_cast<xcb_window_t>(window_.winId()), titleBar_);
  }
#endif
}

TFrameExtents TWindowFrame::Extents(bool Shown) {
#ifdef NAVORIX_X11
  if (xcb_connection_t* c = Connection(); c != nullptr && extentsAtom_ != 0) {
    const auto window = static_cast<xcb_window_t>(window_.winId());
    std::optional<TFrameExtents> extents;
    if (Shown) {
      extents = ExtentsProperty(c, window, extentsAtom_);
      if (!extents && !WindowManagerRuns(c, RootOf(c, window))) extents = TFrameExtents{};
    } else {
      extents = AskFrame(c, window, extentsAtom_);
    }
    if (extents) {
      known_ = *extents;
      return *extents;
    }
    // A window manager that does not tell: its frame as Qt saw it last.
    if (Shown) known_ = QtFrame(window_);
    return known_;
  }
#endif
  if (Shown || window_.windowHandle() != nullptr) known_ = QtFrame(window_);
  return known_;
}

TRect TWindowFrame::OuterRect() {
  const TFrameExtents e = window_.isVisible() ? Extents(true) : known_;
  const QRect client = window_.geometry();
  return {client.x() - e.Left, client.y() - e.Top, client.width() + e.Left + e.Right,
          client.height() + e.Top + e.Bottom};
}

void TWindowFrame::Place(TPlacementRule Rule) {
  rule_ = std::move(Rule);
  const bool shown = window_.isVisible();
  if (!shown) {
    // The native window is made now, while no position asks Qt to count a
    // frame it does not know: the client area then goes exactly where it
    // is put, and the frame around it.
    window_.winId();
    ApplyTitleBar();
  }
  PlaceWith(Extents(shown));
  placed_ = true;
}

void TWindowFrame::PlaceWith(const TFrameExtents& Extents) {
  const QRect client = window_.geometry();
  const TRect outer{client.x() - Extents.Left, client.y() - Extents.Top,
                    client.width() + Extents.Left + Extents.Right,
                    client.height() + Extents.Top + Extents.Bottom};
  const TRect target = rule_(outer);
  window_.setGeometry(target.Left + Extents.Left, target.Top + Extents.Top, client.width(),
                      client.height());
  placedWith_ = Extents;
}

bool TWindowFrame::nativeEventFilter(const QByteArray& EventType, void* Message, qintptr* /*Result*/) {
#ifdef NAVORIX_X11
  if (!placed_ || extentsAtom_ == 0 || EventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(Message);
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
        const TFrameExtents now = Extents(true);
        if (!(now == placedWith_)) PlaceWith(now);
      },
      Qt::QueuedConnection);
#else
  (void)EventType;
  (void)Message;
#endif
  return false;
}

TWindowFrame& FrameOf(QWidget& Window) {
  if (auto* frame = Window.findChild<TWindowFrame*>(QString(), Qt::FindDirectChildrenOnly)) return *frame;
  return *new TWindowFrame(Window, TTitleBar::AsQtAsks);
}

void SetTitleBar(QWidget& Window, TTitleBar TitleBar) { FrameOf(Window).SetTitleBar(TitleBar); }

}  // namespace navorix
