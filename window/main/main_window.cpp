#include "window/main/main_window.h"

#include "window/main/fix_row_delegate.h"
#include "window/look/fonts.h"
#include "window/look/navorix_style.h"
#include "window/look/pictures.h"
#include "window/look/qt_placement.h"
#include "window/look/qt_text.h"
#include "window/look/window_frame.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStringListModel>
#include <QTimer>
#include <QToolTip>

namespace navorix {

namespace {

const QColor Lime(0, 255, 0);
const QColor Aqua(0, 255, 255);
const QColor Yellow(255, 255, 0);
const QColor Red(255, 0, 0);
const QColor Black(0, 0, 0);

// Fonts given as the height of their line in pixels.
constexpr int LogFontHeight = 16;
constexpr int ListFontHeight = 18;
constexpr int PanelFontHeight = 16;

// The operation panel: eleven buttons 114 x 24, 28 pixels apart, the first
// four in the group box.
constexpr int OpButtonWidth = 114;
constexpr int OpButtonHeight = 24;
constexpr int OpButtonPitch = 28;
constexpr int OpGroupLeft = 4;
constexpr int OpGroupTop = 2;
constexpr int OpGroupWidth = 122;
constexpr int OpGroupFirstButton = 16;
constexpr int OpGroupButtonCount = DistanceGroupSize;
constexpr int OpGroupBottomGap = 5;
constexpr int OpBelowGroupGap = 4;

void Paint(QWidget* W, const QColor& Ground, const QColor& Ink) {
  QPalette pal = W->palette();
  pal.setColor(QPalette::Window, Ground);
  pal.setColor(QPalette::Base, Ground);
  pal.setColor(QPalette::WindowText, Ink);
  pal.setColor(QPalette::Text, Ink);
  W->setPalette(pal);
  W->setAutoFillBackground(true);
}

QFrame* Panel(QWidget* Parent, const char* Name, QRect Place, bool Sunken) {
  auto* frame = new QFrame(Parent);
  frame->setObjectName(QLatin1String(Name));
  frame->setGeometry(Place);
  if (Sunken) {
    frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
  } else {
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(1);
  }
  return frame;
}

QLabel* Label(QWidget* Parent, const char* Name, QRect Place) {
  auto* label = new QLabel(Parent);
  label->setObjectName(QLatin1String(Name));
  label->setGeometry(Place);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QPushButton* Button(QWidget* Parent, const char* Name, QRect Place, const char* Caption,
                    const char* Hint) {
  auto* button = new QPushButton(ToQString(Caption), Parent);
  button->setObjectName(QLatin1String(Name));
  button->setGeometry(Place);
  button->setToolTip(ToQString(Hint));
  button->setAutoDefault(false);
  return button;
}

QPushButton* GlyphButton(QWidget* Parent, const char* Name, QRect Place, bool Up, const char* Hint) {
  QPushButton* button = Button(Parent, Name, Place, "", Hint);
  button->setIcon(QIcon(TriangleGlyph(Up, Place.width() - 8, Place.height() - 8)));
  button->setIconSize(QSize(Place.width() - 8, Place.height() - 8));
  return button;
}

bool IsFixAtDKey(const QKeyEvent& Key) {
  const Qt::KeyboardModifiers mods = Key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
  return Key.key() == Qt::Key_D && mods == Qt::AltModifier;
}

}  // namespace

TMainWindow::TMainWindow(QWidget* Parent) : QMainWindow(Parent) {
  setObjectName(QStringLiteral("TMain"));
  setWindowTitle(QStringLiteral("Navorix"));
  setWindowIcon(AppIcon());
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(PropFont());
  SetTitleBar(*this, TTitleBar::CaptionMinimise);

  c_.Client = new QWidget(this);
  c_.Client->setObjectName(QStringLiteral("Client"));
  c_.Client->setFixedSize(MainClientWidth, MainClientHeight);
  setCentralWidget(c_.Client);

  BuildLogDisplay();
  BuildFixList();
  BuildStatusPanel();
  BuildOperationPanel();

  c_.xDummy = new QPushButton(c_.Client);
  c_.xDummy->setObjectName(QStringLiteral("xDummy"));
  c_.xDummy->setIcon(QIcon(CheckMarkBitmap()));
  c_.xDummy->hide();
  if (auto* style = qobject_cast<TNavorixStyle*>(QApplication::style())) {
    style->SetCheckMark(CheckMarkBitmap());
  }

  c_.xTimer = new QTimer(this);
  c_.xTimer->setObjectName(QStringLiteral("xTimer"));
  c_.xTimer->setSingleShot(true);

  BuildMainMenu(*menuBar(), menu_);
  SetMenuFontSize(DefaultMenuFontSize);

  QPalette hint = QToolTip::palette();
  hint.setColor(QPalette::ToolTipBase, Yellow);
  hint.setColor(QPalette::ToolTipText, Black);
  QToolTip::setPalette(hint);

  // The fix buttons are the window's tab stops; list and operation buttons
  // are not.
  setTabOrder(c_.xAdd, c_.xEdit);
  setTabOrder(c_.xEdit, c_.xDelete);
  setTabOrder(c_.xDelete, c_.xUndel);
  setTabOrder(c_.xUndel, c_.xUp);
  setTabOrder(c_.xUp, c_.xDown);
  FixWindowSize();
}

void TMainWindow::BuildLogDisplay() {
  c_.xDisPanel = Panel(c_.Client, "xDisPanel", {4, 5, 589, 60}, true);
  Paint(c_.xDisPanel, Black, Aqua);
  c_.xDisPanel->setToolTip(QStringLiteral("Operation log display"));
  static constexpr const char* Names[3] = {"xOut1", "xOut2", "xOut3"};
  static constexpr int Tops[3] = {4, 21, 38};
  const QFont font = FixedFontOfHeight(LogFontHeight, true);
  for (std::size_t i = 0; i < 3; ++i) {
    QLabel* out = Label(c_.xDisPanel, Names[i], {4, Tops[i], 580, 17});
    out->setFont(font);
    Paint(out, Black, i < 2 ? Aqua : Yellow);
    out->setAlignment(Qt::AlignVCenter | (i < 2 ? Qt::AlignLeft : Qt::AlignRight));
    c_.xOut[i] = out;
  }
  c_.xLineUp = GlyphButton(c_.Client, "xLineUp", {596, 5, 32, 19}, true, "Show previous log line");
  c_.xLinePan = Label(c_.Client, "xLinePan", {596, 24, 32, 22});
  Paint(c_.xLinePan, Black, Lime);
  c_.xLinePan->setFont(FixedFontOfHeight(PanelFontHeight - 2, true));
  c_.xLinePan->setAlignment(Qt::AlignCenter);
  c_.xLinePan->setToolTip(QStringLiteral("Log line displayed"));
  c_.xLineDown = GlyphButton(c_.Client, "xLineDown", {596, 46, 32, 19}, false, "Show next log line");
  // Like tool buttons: clicked, never focused.
  c_.xLineUp->setFocusPolicy(Qt::NoFocus);
  c_.xLineDown->setFocusPolicy(Qt::NoFocus);
}

void TMainWindow::BuildFixList() {
  c_.xListPan = Panel(c_.Client, "xListPan", {4, 70, 488, 296}, true);
  Paint(c_.xListPan, Black, Lime);
  c_.xList = new QListView(c_.xListPan);
  c_.xList->setObjectName(QStringLiteral("xList"));
  c_.xList->setGeometry(4, 3, 480, 290);
  c_.xList->setFrameShape(QFrame::NoFrame);
  c_.xList->setFont(FixedFontOfHeight(ListFontHeight, true));
  Paint(c_.xList, Black, Lime);
  c_.xList->setUniformItemSizes(true);
  c_.xList->setItemDelegate(new TFixRowDelegate(c_.xList));
  c_.xList->setSelectionMode(QAbstractItemView::SingleSelection);
  c_.xList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  c_.xList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  c_.xList->setFocusPolicy(Qt::ClickFocus);
  c_.xList->setToolTip(QStringLiteral("Fix database"));
  c_.xList->setTabKeyNavigation(false);
  // Until a fix list model is set: the blank row that stands for the place
  // after the last fix.
  c_.xList->setModel(new QStringListModel(QStringList{QString()}, c_.xList));
  c_.xList->setCurrentIndex(c_.xList->model()->index(0, 0));

  c_.xSearch = Label(c_.xListPan, "xSearch", {149, 113, 185, 29});
  c_.xSearch->setFrameStyle(QFrame::Panel | QFrame::Raised);
  c_.xSearch->setFont(FixedFontOfHeight(ListFontHeight, true));
  Paint(c_.xSearch, Yellow, Red);
  c_.xSearch->setAlignment(Qt::AlignCenter);
  c_.xSearch->raise();
  c_.xSearch->hide();
}

void TMainWindow::BuildStatusPanel() {
  c_.xStatPan = Panel(c_.Client, "xStatPan", {4, 370, 488, 33}, false);
  c_.xNoFix = Label(c_.xStatPan, "xNoFix", {3, 4, 103, 25});
  Paint(c_.xNoFix, Black, Lime);
  c_.xNoFix->setFont(FixedFontOfHeight(PanelFontHeight, true));
  c_.xNoFix->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
  c_.xNoFix->setIndent(6);
  c_.xNoFix->setText(QStringLiteral("N = 0"));
  c_.xNoFix->setToolTip(QStringLiteral("No. of fixes in the database"));

  c_.xAdd = Button(c_.xStatPan, "xAdd", {111, 4, 75, 25}, "Add",
                   "[Ins] Insert new fix into DB\n(above the current one)");
  c_.xAdd->setProperty("tag", 1);
  c_.xEdit = Button(c_.xStatPan, "xEdit", {188, 4, 75, 25}, "Edit", "[Enter] Edit current fix ");
  c_.xDelete = Button(c_.xStatPan, "xDelete", {267, 4, 75, 25}, "Delete", "[Del] Delete current fix");
  c_.xUndel = Button(c_.xStatPan, "xUndel", {346, 4, 75, 25}, "Undelete",
                     "[Shft-Ins] Undelete last deleted fix");
  c_.xUndel->setEnabled(false);
  c_.xUp = GlyphButton(c_.xStatPan, "xUp", {425, 4, 28, 25}, true, "[Shift-Up] Move fix up");
  c_.xDown = GlyphButton(c_.xStatPan, "xDown", {456, 4, 28, 25}, false, "[Shft-Down] Move fix down");
}

namespace {

// The control names of the operation buttons, by tag.
constexpr const char* OpButtonNames[OperationCount] = {
    "xFFDist", "xAFDist", "xAADist", "xMidp", "xAzim", "xFixAtDA",
    "xProj",   "xInters", "xNext",   "xProx", "xFixAtD"};

}  // namespace

void TMainWindow::BuildOperationPanel() {
  c_.xOpPanel = Panel(c_.Client, "xOpPanel", {498, 70, 130, 333}, false);
  const int group_height = OpGroupFirstButton + (OpGroupButtonCount - 1) * OpButtonPitch +
                           OpButtonHeight + OpGroupBottomGap;
  c_.xDistGroup = new QGroupBox(ToQString(DistanceGroupCaption), c_.xOpPanel);
  c_.xDistGroup->setObjectName(QStringLiteral("xDistGroup"));
  c_.xDistGroup->setGeometry(OpGroupLeft, OpGroupTop, OpGroupWidth, group_height);

  const int left_in_panel = (c_.xOpPanel->width() - OpButtonWidth) / 2;
  const int below_group = OpGroupTop + group_height + OpBelowGroupGap;
  for (std::size_t i = 0; i < PanelOrder.size(); ++i) {
    const auto tag = static_cast<std::uint8_t>(PanelOrder[i]);
    const TOperationInfo* info = FindOperation(tag);
    const bool in_group = i < OpGroupButtonCount;
    QWidget* parent = in_group ? static_cast<QWidget*>(c_.xDistGroup) : c_.xOpPanel;
    const int slot = static_cast<int>(in_group ? i : i - OpGroupButtonCount);
    const QRect place(in_group ? left_in_panel - OpGroupLeft : left_in_panel,
                      (in_group ? OpGroupFirstButton : below_group) + slot * OpButtonPitch,
                      OpButtonWidth, OpButtonHeight);
    // The catalogue's texts are views; Button takes terminated strings.
    const std::string caption(info->Caption);
    const std::string hint(info->Hint);
    QPushButton* button = Button(parent, OpButtonNames[tag - 1U], place, caption.c_str(), hint.c_str());
    button->setProperty("tag", tag);
    // Reached by the mouse and by the Alt accelerators only.
    button->setFocusPolicy(Qt::ClickFocus);
    c_.OpButtons[tag - 1U] = button;
  }
  // "&Next Fix" starts disabled; a first Fix-Fix distance enables it.
  OperationButton(TOpTag::NextFix)->setEnabled(false);
}

QPushButton* TMainWindow::OperationButton(std::uint8_t Tag) const {
  if (Tag < 1 || Tag > OperationCount) return nullptr;
  return c_.OpButtons[Tag - 1U];
}

void TMainWindow::SetMenuFontSize(int PointSize) {
  if (!IsFontSize(PointSize)) return;
  const QFont font = MenuFont(PointSize);
  menuBar()->setFont(font);
  for (QMenu* menu : menu_.AllMenus()) menu->setFont(font);
  FixWindowSize();
}

void TMainWindow::SetPropFontSize(int PointSize) {
  if (!IsFontSize(PointSize)) return;
  // Only the proportional controls follow; the fixed-pitch ones and the
  // menus keep the fonts that were set on them directly.
  setFont(PropFont(PointSize));
}

bool TMainWindow::SetHintsShown(bool Shown) {
  if (Shown == hints_shown_) return hints_shown_;
  hints_shown_ = Shown;
  if (Shown) {
    qApp->removeEventFilter(this);
  } else {
    QToolTip::hideText();
    qApp->installEventFilter(this);
  }
  return hints_shown_;
}

void TMainWindow::ActivateMenuBar() {
  // The menu bar enters its keyboard mode when Alt is pressed and released
  // alone; F10 does the same on the platforms this window copies.
  QKeyEvent press(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
  QCoreApplication::sendEvent(this, &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
  QWidget* target = focusWidget() != nullptr ? focusWidget() : this;
  QCoreApplication::sendEvent(target, &release);
}

bool TMainWindow::event(QEvent* Event) {
  if (Event->type() == QEvent::ShortcutOverride) {
    // Alt+D belongs to "Fix at &D", not to the "&Data" menu: claim the key
    // before the shortcut map sees two owners.
    if (IsFixAtDKey(*static_cast<QKeyEvent*>(Event))) {
      Event->accept();
      return true;
    }
  } else if (Event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(Event);
    if (IsFixAtDKey(*key)) {
      QPushButton* button = OperationButton(TOpTag::FixAtDistance);
      if (button->isEnabled()) button->animateClick();
      return true;
    }
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier) {
      ActivateMenuBar();
      return true;
    }
  }
  return QMainWindow::event(Event);
}

bool TMainWindow::eventFilter(QObject* Watched, QEvent* Event) {
  if (!hints_shown_ && Event->type() == QEvent::ToolTip) {
    const auto* widget = qobject_cast<QWidget*>(Watched);
    if (widget != nullptr && widget->window() == this) return true;
  }
  return QMainWindow::eventFilter(Watched, Event);
}

void TMainWindow::FixWindowSize() {
  // The window follows its parts: the fixed client area and the menu bar,
  // whose height changes with the menu font.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  layout()->activate();
}

void TMainWindow::setVisible(bool Visible) {
  // Centred on the screen by its frame, before the window manager sees it
  // for the first time.
  if (Visible && !shown_before_) CentreOnScreen(*this);
  QMainWindow::setVisible(Visible);
}

void TMainWindow::showEvent(QShowEvent* Event) {
  QMainWindow::showEvent(Event);
  if (shown_before_) return;
  shown_before_ = true;
  c_.xList->setFocus();
}

}  // namespace navorix
