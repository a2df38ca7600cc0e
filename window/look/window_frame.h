// What the window manager puts around a top-level window, and what the
// window asks of it.
//
// A window's frame (title bar and border) belongs to the window manager,
// which adds it only when the window is mapped; a dialog placed by its
// frame before that would be placed by a guess. Under X11 the frame is
// asked for before the window is shown (_NET_REQUEST_FRAME_EXTENTS), the
// client area is put where the frame's rule wants it, and when the frame
// that comes differs from the one asked for, the window is placed again.
// The window is told which title bar the program wants (Motif hints).
// Without X11 (the tests' offscreen platform) Qt's own frame margins serve.
#pragma once

#include "window/look/placement.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>
#include <functional>

class QWidget;

namespace navorix {

struct FrameExtents {
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
  friend bool operator==(const FrameExtents&, const FrameExtents&) = default;
};

// The title bar a window asks for.
enum class TitleBar {
  AsQtAsks,         // left to Qt (resizable windows)
  Caption,          // a caption and no buttons (the dialogs and the question box)
  CaptionMinimise,  // a caption, the system menu and a minimise box (the main window)
  None,             // no frame at all (the error box)
};

// Where a rule wants the window's outer rectangle, given the outer
// rectangle it has now (its size is what counts; the position is the
// window's present one).
using PlacementRule = std::function<Rect(const Rect& outer)>;

// The frame of one top-level window; a child of that window, found with
// FrameOf.
class WindowFrame : public QObject, public QAbstractNativeEventFilter {
  Q_OBJECT

 public:
  WindowFrame(QWidget& window, TitleBar titleBar);
  ~WindowFrame() override;

  // Places the window by its outer rectangle. A hidden window is given its
  // native window first and the frame it will get is asked for; rule is
  // kept, and applied again when the frame that comes is another one.
  void place(PlacementRule rule);

  // The outer rectangle of the window as it stands: the client area with
  // its frame around it (for a hidden window the frame it had or was told).
  Rect outerRect();

  TitleBar titleBar() const { return titleBar_; }
  // Takes effect when the window is next placed while hidden.
  void setTitleBar(TitleBar titleBar);

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  FrameExtents extents(bool shown);
  void applyTitleBar();
  void placeWith(const FrameExtents& extents);

  QWidget& window_;
  TitleBar titleBar_;
  PlacementRule rule_;
  FrameExtents placedWith_;
  FrameExtents known_;  // the frame last seen or told
  bool placed_ = false;
  std::uint32_t extentsAtom_ = 0;  // _NET_FRAME_EXTENTS, when under X11
};

// The frame object of window, made (with the title bar Qt asks for) when
// the window has none yet.
WindowFrame& frameOf(QWidget& window);

// Gives window the title bar titleBar; it is asked for whenever the hidden
// window is placed.
void setTitleBar(QWidget& window, TitleBar titleBar);

}  // namespace navorix
